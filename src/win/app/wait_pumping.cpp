#include "win/app/wait_pumping.h"

#include "win/common/message_loop.h"

namespace tarnwick::win {
namespace {

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

class SystemWaiter final : public MessageWaiter {
 public:
  SystemWaiter(const HANDLE* handles, std::uint32_t count) : handles_(handles), count_(count) {}
  std::uint32_t Wait(std::int32_t waitTime) override {
    // MWMO_INPUTAVAILABLE: input already in the queue ends the wait too, not only new input.
    return MsgWaitForMultipleObjectsEx(count_, handles_,
                                       waitTime < 0 ? INFINITE : static_cast<DWORD>(waitTime),
                                       QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  void DispatchPending() override { PumpPending(); }

 private:
  const HANDLE* handles_;
  std::uint32_t count_;
};

}  // namespace

std::uint32_t WaitPumping(std::int32_t interval, std::uint32_t count, const TickSource& ticks,
                          MessageWaiter& waiter) {
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
    if (result != WAIT_OBJECT_0 + count)
      return result;
  }
}

std::uint32_t WaitPumping(std::int32_t interval, const HANDLE* handles, std::uint32_t count) {
  SystemWaiter waiter(handles, count);
  return WaitPumping(
      interval, count, [] { return static_cast<std::uint32_t>(GetTickCount()); }, waiter);
}

}  // namespace tarnwick::win
