// The Details window behind a shortened message: the whole list (path and reason, a line each) in
// a scrollable read-only text box, with Copy (the list to the clipboard), Save... (the list as a
// text file, through the save dialog of the prompts in use) and Close. Modal over its owner.
#pragma once

#include <windows.h>

#include <string>

#include "win/common/handles.h"

namespace tarnwick::win {

class DetailsWindow {
 public:
  // `details`: the question's list, UTF-8, one "path<TAB>reason" a line. The window is made at
  // once, hidden, owned by `owner`.
  DetailsWindow(HWND owner, std::string details);
  DetailsWindow(const DetailsWindow&) = delete;
  DetailsWindow& operator=(const DetailsWindow&) = delete;

  HWND hWnd() const { return mhWnd.get(); }
  // Shows the window with its owner disabled until Close, Escape or the close box.
  void ShowModal();
  // Puts the whole list on the clipboard as text; false when the clipboard cannot be had.
  bool Copy();
  // Asks where to save the list and writes it there; a failure is shown in a message box.
  void Save();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  template <class Form>
  friend INT_PTR CALLBACK FormDialogProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();

  HWND mOwner;
  std::string mDetails;
  std::wstring mShown;  // the list as the text box and the clipboard take it (CR LF line ends)
  WindowHandle mhWnd;
  FontHandle mFont;
  bool mbClosed = false;
};

// The list with CR LF line ends, as a multi-line text box and the clipboard's text expect it.
std::wstring DetailsText(const std::string& details);

}  // namespace tarnwick::win
