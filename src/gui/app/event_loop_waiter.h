// The message-pumping wait's two platform pieces for the desktop program: the system's 32-bit
// millisecond tick count and a sleep in the Qt event loop of the calling thread.
#pragma once

#include <cstdint>

#include "gui/app/wait_pumping.h"

namespace tarnwick::gui {

// Milliseconds of a steady clock, modulo 2^32.
std::uint32_t SystemTickCount();

// Sleeps in the thread's event dispatcher until an event arrives or the wait time is over (the
// thread does not spin), dispatching what woke it.
class EventLoopWaiter final : public MessageWaiter {
 public:
  std::uint32_t Wait(std::int32_t waitTime) override;
  void DispatchPending() override;
};

}  // namespace tarnwick::gui
