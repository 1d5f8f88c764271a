#include "cli/export_interrupt.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <csignal>
#endif

namespace tarnwick::cli {
namespace {

std::atomic<std::atomic<bool>*> gCancel{nullptr};
// A lock-free atomic store is all a signal handler may do here.
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<std::atomic<bool>*>::is_always_lock_free);

void requestCancel() {
  if (std::atomic<bool>* flag = gCancel.load())
    flag->store(true);
}

#ifdef _WIN32
BOOL WINAPI onConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
    return FALSE;
  requestCancel();
  return TRUE;
}
#else
struct sigaction gPrevious {};
void onInterrupt(int) {
  requestCancel();
}
#endif

}  // namespace

CancelExportOnInterrupt::CancelExportOnInterrupt(std::atomic<bool>& cancel) {
  gCancel = &cancel;
#ifdef _WIN32
  ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
#else
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, &gPrevious);
#endif
}

CancelExportOnInterrupt::~CancelExportOnInterrupt() {
#ifdef _WIN32
  ::SetConsoleCtrlHandler(onConsoleControl, FALSE);
#else
  ::sigaction(SIGINT, &gPrevious, nullptr);
#endif
  gCancel = nullptr;
}

}  // namespace tarnwick::cli
