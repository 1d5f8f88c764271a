#include "cli/interrupt.h"

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

// Lock-free atomic loads and stores are all a signal handler may do here.
std::atomic<std::atomic<bool>*> gFlag{nullptr};
std::atomic<bool> gCancelValue{false};
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<std::atomic<bool>*>::is_always_lock_free);

// Stores the cancel value; true when the flag held another value before (the first press).
bool requestCancel() {
  std::atomic<bool>* flag = gFlag.load();
  if (flag == nullptr)
    return false;
  const bool value = gCancelValue.load();
  return flag->exchange(value) != value;
}

#ifdef _WIN32
std::atomic<bool> gSecondEnds{false};

BOOL WINAPI onConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
    return FALSE;
  // Runs on a thread of its own. Where a second press ends the program, it falls through to the
  // default handler.
  const bool first = requestCancel();
  return (first || !gSecondEnds.load()) ? TRUE : FALSE;
}
#else
struct sigaction gPrevious {};

void onInterrupt(int) {
  requestCancel();
}
#endif

}  // namespace

CancelOnInterrupt::CancelOnInterrupt(std::atomic<bool>& flag, bool cancelValue,
                                     SecondPress second) {
  gCancelValue = cancelValue;
  gFlag = &flag;
#ifdef _WIN32
  gSecondEnds = second == SecondPress::EndsProgram;
  ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
#else
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND: the handler runs once; a second Ctrl+C then has the default effect.
  action.sa_flags = SA_RESTART | (second == SecondPress::EndsProgram ? SA_RESETHAND : 0);
  ::sigaction(SIGINT, &action, &gPrevious);
#endif
}

CancelOnInterrupt::~CancelOnInterrupt() {
#ifdef _WIN32
  ::SetConsoleCtrlHandler(onConsoleControl, FALSE);
#else
  ::sigaction(SIGINT, &gPrevious, nullptr);
#endif
  gFlag = nullptr;
}

}  // namespace tarnwick::cli
