// The program's own message box, for a question that MessageBoxW cannot show: one with a list
// behind its text (a "Details..." button opens the Details window, and the box stays) or with a
// check box. Icon, caption, text and buttons are the question's, as the system's box shows them.
#pragma once

#include <windows.h>

#include "app/questions/question.h"
#include "win/common/handles.h"

namespace tarnwick::win {

class MessageWindow {
 public:
  // The window is made at once, hidden, owned by `owner`.
  MessageWindow(HWND owner, app::Question question);
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND hWnd() const { return mhWnd.get(); }
  // Shows the box with its owner disabled until a button (or Escape, or the close box) answers:
  // Escape and the close box answer OK in an OK box and No in a Yes/No box.
  app::Reply ShowModal();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  template <class Form>
  friend INT_PTR CALLBACK FormDialogProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void Layout();
  void Answer(app::Answer answer);
  HWND Item(int id) const { return GetDlgItem(mhWnd.get(), id); }

  HWND mOwner;
  app::Question mQuestion;
  WindowHandle mhWnd;
  FontHandle mFont;
  bool mbAnswered = false;
  app::Reply mReply;
};

}  // namespace tarnwick::win
