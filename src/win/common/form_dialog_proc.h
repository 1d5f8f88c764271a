// The dialog procedure every form of the program shares: it ties the dialog to its form object
// (DWLP_USER), gives the form its window and calls Form_Load on WM_INITDIALOG, hands every later
// message to the form's HandleMessage, and lets go of the window on WM_NCDESTROY, which the
// window is going through on its own.
#pragma once

#include <windows.h>

namespace tarnwick::win {

template <class Form>
INT_PTR CALLBACK FormDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Form*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    self->mhWnd.reset(dialog);
    self->Form_Load();
    return TRUE;
  }
  auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr)
    return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    (void)self->mhWnd.release();
    return FALSE;
  }
  return self->HandleMessage(message, wParam, lParam);
}

}  // namespace tarnwick::win
