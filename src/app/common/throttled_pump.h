// How often a window front end lets its events run while the engine works on its thread.
#pragma once

#include <cstdint>
#include <functional>

#include "app/main/wait_pumping.h"

namespace tarnwick::app {

// The engine yields after every file it archives or copies, thousands of times a second with
// small files; letting events run at most every 10 ms keeps the windows just as responsive
// without repainting the status bar for every file.
inline constexpr std::uint32_t kPumpEveryMs = 10;

// A pump hook (for SetPumpHook) that calls `runEvents` on its first call and after that only
// once at least kPumpEveryMs have passed on `ticks` since it last did. The tick count may wrap.
std::function<void()> ThrottledPump(std::function<void()> runEvents,
                                    TickSource ticks = SystemTickCount);

}  // namespace tarnwick::app
