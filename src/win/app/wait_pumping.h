// The message-pumping wait of the Windows program: the app layer's deadline arithmetic over the
// system's tick count, sleeping in MsgWaitForMultipleObjectsEx until any kind of input arrives
// for the thread (QS_ALLINPUT: sent messages included), which is then dispatched.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/main/wait_pumping.h"

namespace tarnwick::win {

// Sleeps in MsgWaitForMultipleObjectsEx on no handles and dispatches what woke it.
class MessageQueueWaiter final : public app::MessageWaiter {
 public:
  std::uint32_t Wait(std::int32_t waitTime) override;
  void DispatchPending() override;
};

// Waits `interval` ms (app::kInfinite: no limit) while the thread's messages keep running.
// Returns app::kWaitTimeout when the time ran out, otherwise the wait's result that ended it.
std::uint32_t WaitPumping(std::int32_t interval);

}  // namespace tarnwick::win
