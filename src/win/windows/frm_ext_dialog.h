// The pattern dialog ("File Extension"): asks for one file-name pattern of the form "*." followed
// by letters, to add to the main window's pattern list or to replace its selected entry. It is
// long-lived: its buttons only hide it, so the text box keeps its text between uses; its close box
// destroys it, and the next use starts from a fresh one.
#pragma once

#include <windows.h>

#include <string>

#include "app/patterns/pattern_list.h"
#include "win/common/handles.h"

namespace tarnwick::win {

class frmExtDialog {
 public:
  enum class Mode { Add, Edit };

  // `patterns` is the main window's pattern list, which the dialog checks against and changes.
  // The dialog window is made at once, hidden, owned by `owner`.
  frmExtDialog(HWND owner, app::PatternList& patterns);
  frmExtDialog(const frmExtDialog&) = delete;
  frmExtDialog& operator=(const frmExtDialog&) = delete;

  HWND hWnd() const { return mhWnd.get(); }
  // Shows the button of `mode` and makes it the default one; hides the other.
  void SetMode(Mode mode);
  // Puts `text` into the text box with the caret at its start, so it is selected whole when the
  // dialog becomes active.
  void SetText(const std::string& text);
  // Shows the dialog over its owner, with the owner disabled, until it is hidden or closed.
  void ShowModal();
  // True once the dialog was closed through its close box (its window is then gone).
  bool ClosedByCloseBox() const { return mbClosedByCloseBox; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  template <class Form>
  friend INT_PTR CALLBACK FormDialogProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void Form_Activate();
  void UpdateButtons();
  bool ValidateExtension(bool editing);
  void Refuse(const app::Question& refusal);
  void cmdAdd_Click();
  void cmdOK_Click();
  void Hide();
  HWND Item(int id) const { return GetDlgItem(mhWnd.get(), id); }

  HWND mOwner;
  app::PatternList& mPatterns;
  WindowHandle mhWnd;
  FontHandle mFont;
  bool mbClosedByCloseBox = false;
};

}  // namespace tarnwick::win
