#include "app/common/throttled_pump.h"

#include <utility>

namespace tarnwick::app {

std::function<void()> ThrottledPump(std::function<void()> runEvents, TickSource ticks) {
  return [runEvents = std::move(runEvents), ticks = std::move(ticks), started = false,
          last = std::uint32_t{0}]() mutable {
    const std::uint32_t now = ticks();
    // Unsigned difference: right across the wrap of the tick count.
    if (started && now - last < kPumpEveryMs)
      return;
    started = true;
    last = now;
    runEvents();
  };
}

}  // namespace tarnwick::app
