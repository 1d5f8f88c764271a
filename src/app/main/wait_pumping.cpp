#include "app/main/wait_pumping.h"

#include <chrono>

namespace tarnwick::app {
namespace {

// The remaining time of a deadline, modulo 2^32, read as a signed count.
std::int32_t Remaining(std::uint32_t deadline, std::uint32_t now) {
  return static_cast<std::int32_t>(deadline - now);
}

// Whether a wait of `interval` ms with `remaining` ms left is over. When both have the same sign
// and differ, the time is up once more is left than was asked for (the tick count went back, or
// the remaining time wrapped); otherwise once the remaining time went negative. A remaining time
// of exactly 0 is not yet up: the caller then polls once more.
bool TimeIsUp(std::int32_t remaining, std::int32_t interval) {
  if ((remaining ^ interval) > 0)
    return remaining > interval;
  return remaining < 0;
}

}  // namespace

std::uint32_t SystemTickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::uint32_t WaitPumping(std::int32_t interval, const TickSource& ticks, MessageWaiter& waiter) {
  const bool limited = interval != kInfinite;
  const std::uint32_t deadline = limited ? ticks() + static_cast<std::uint32_t>(interval) : 0;
  for (;;) {
    std::int32_t waitTime = kInfinite;
    if (limited) {
      const std::int32_t remaining = Remaining(deadline, ticks());
      if (TimeIsUp(remaining, interval))
        return kWaitTimeout;
      waitTime = remaining;
    }
    const std::uint32_t result = waiter.Wait(waitTime);
    waiter.DispatchPending();
    if (result != kWaitInputArrived)
      return result;
  }
}

}  // namespace tarnwick::app
