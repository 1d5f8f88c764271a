#include "cli/interrupt.h"

#include "core/scan/search_state.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <csignal>
#endif

namespace tarnwick::cli {

// Clearing the flag is all the handler does: a lock-free atomic store is safe in a signal handler.
static_assert(decltype(gScanning)::is_always_lock_free);

#ifdef _WIN32

namespace {
BOOL WINAPI onConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
    return FALSE;
  // Runs on a thread of its own. The first press cancels; a second one (the flag already clear)
  // falls through to the default handler, which ends the process.
  return gScanning.exchange(false) ? TRUE : FALSE;
}
}  // namespace

CancelScanOnInterrupt::CancelScanOnInterrupt() {
  ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
}
CancelScanOnInterrupt::~CancelScanOnInterrupt() {
  ::SetConsoleCtrlHandler(onConsoleControl, FALSE);
}

#else

namespace {
struct sigaction gPrevious {};

void onInterrupt(int) {
  gScanning.store(false);
}
}  // namespace

CancelScanOnInterrupt::CancelScanOnInterrupt() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND: the handler runs once; a second Ctrl+C has the default effect.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  ::sigaction(SIGINT, &action, &gPrevious);
}

CancelScanOnInterrupt::~CancelScanOnInterrupt() {
  ::sigaction(SIGINT, &gPrevious, nullptr);
}

#endif

}  // namespace tarnwick::cli
