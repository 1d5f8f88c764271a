// The message-pumping wait's sleep for the desktop program: in the Qt event loop of the calling
// thread.
#pragma once

#include <cstdint>

#include "gui/app/wait_pumping.h"

namespace tarnwick::gui {

// Sleeps in the thread's event dispatcher until an event arrives or the wait time is over (the
// thread does not spin), dispatching what woke it.
class EventLoopWaiter final : public MessageWaiter {
 public:
  std::uint32_t Wait(std::int32_t waitTime) override;
  void DispatchPending() override;
};

}  // namespace tarnwick::gui
