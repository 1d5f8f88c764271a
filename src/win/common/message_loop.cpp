#include "win/common/message_loop.h"

namespace tarnwick::win {

void DispatchOne(MSG& msg) {
  HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr && IsDialogMessageW(root, &msg))
    return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    DispatchOne(msg);
  }
  return true;
}

void RunModalLoop(HWND owner, const std::function<bool()>& done) {
  const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
  if (ownerWasEnabled)
    EnableWindow(owner, FALSE);
  MSG msg;
  while (!done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0)
      break;
    DispatchOne(msg);
  }
  if (ownerWasEnabled) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
}

}  // namespace tarnwick::win
