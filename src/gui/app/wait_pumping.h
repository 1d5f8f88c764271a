// The message-pumping wait on the Qt event loop: the app layer's deadline arithmetic
// (app/main/wait_pumping.h) with the Qt waiter.
#pragma once

#include "app/main/wait_pumping.h"

namespace tarnwick::gui {

using app::kInfinite;
using app::kWaitFailed;
using app::kWaitInputArrived;
using app::kWaitTimeout;
using app::MessageWaiter;
using app::SystemTickCount;
using app::TickSource;
using app::WaitPumping;

// Waits `interval` ms on the system's millisecond tick count and the Qt event loop of the calling
// thread.
std::uint32_t WaitPumping(std::int32_t interval);

}  // namespace tarnwick::gui
