#include "win/app/wait_pumping.h"

#include "win/common/message_loop.h"

namespace tarnwick::win {

std::uint32_t MessageQueueWaiter::Wait(std::int32_t waitTime) {
  // MWMO_INPUTAVAILABLE: input already in the queue ends the wait too, not only new input.
  const DWORD result = MsgWaitForMultipleObjectsEx(
      0, nullptr, waitTime < 0 ? INFINITE : static_cast<DWORD>(waitTime), QS_ALLINPUT,
      MWMO_INPUTAVAILABLE);
  // With no handles, WAIT_OBJECT_0 is input for the thread.
  return result == WAIT_OBJECT_0 ? app::kWaitInputArrived : result;
}

void MessageQueueWaiter::DispatchPending() {
  PumpPending();
}

std::uint32_t WaitPumping(std::int32_t interval) {
  MessageQueueWaiter waiter;
  return app::WaitPumping(
      interval, [] { return static_cast<std::uint32_t>(GetTickCount()); }, waiter);
}

}  // namespace tarnwick::win
