#include "app/main/wait_pumping.h"

#include <gtest/gtest.h>

#include <climits>
#include <deque>
#include <ostream>
#include <string>
#include <vector>

namespace tarnwick::app {
namespace {

// What one sleep of the scripted waiter does: moves the clock on and returns a result.
struct Sleep {
  std::int32_t advance;  // ms added to the tick count (may be negative: the count went back)
  std::uint32_t result;
};

class ScriptedWaiter final : public MessageWaiter {
 public:
  ScriptedWaiter(std::uint32_t& clock, std::deque<Sleep> script) : clock_(clock), script_(script) {}
  std::uint32_t Wait(std::int32_t waitTime) override {
    waits.push_back(waitTime);
    if (script_.empty()) {
      ADD_FAILURE() << "waited more often than scripted";
      return kWaitFailed;
    }
    const Sleep sleep = script_.front();
    script_.pop_front();
    clock_ += static_cast<std::uint32_t>(sleep.advance);
    return sleep.result;
  }
  void DispatchPending() override { ++dispatches; }

  std::vector<std::int32_t> waits;
  int dispatches = 0;

 private:
  std::uint32_t& clock_;
  std::deque<Sleep> script_;
};

constexpr std::uint32_t kInput = kWaitInputArrived;

struct WaitCase {
  const char* name;
  std::int32_t interval;
  std::uint32_t start;
  std::deque<Sleep> script;
  std::vector<std::int32_t> expectedWaits;
  std::uint32_t expectedResult;
};

void PrintTo(const WaitCase& c, std::ostream* os) {
  *os << c.name;
}

// Events arriving every 700 ms during a 3000 ms wait: each sleep is for the time still left, a
// remaining time of exactly 0 polls once more, and the wait then times out.
std::deque<Sleep> EventsEvery700() {
  return {{700, kInput}, {700, kInput}, {700, kInput},
          {700, kInput}, {200, kInput}, {0, kWaitTimeout}};
}
const std::vector<std::int32_t> kWaitsEvery700 = {3000, 2300, 1600, 900, 200, 0};

class WaitPumpingArithmetic : public ::testing::TestWithParam<WaitCase> {};

TEST_P(WaitPumpingArithmetic, SleepsForTheTimeLeftAndEndsAsTheDeadlineSays) {
  const WaitCase& c = GetParam();
  std::uint32_t clock = c.start;
  ScriptedWaiter waiter(clock, c.script);
  const std::uint32_t result = WaitPumping(
      c.interval, [&clock] { return clock; }, waiter);
  EXPECT_EQ(result, c.expectedResult);
  EXPECT_EQ(waiter.waits, c.expectedWaits);
  // Whatever woke the wait, the events were dispatched before it went on or returned.
  EXPECT_EQ(waiter.dispatches, static_cast<int>(waiter.waits.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WaitPumpingArithmetic,
    ::testing::Values(
        WaitCase{"Plain", 3000, 1000, EventsEvery700(), kWaitsEvery700, kWaitTimeout},
        // The tick count wraps from 2^32 - 1 to 0 during the wait.
        WaitCase{"WrapsAround", 3000, 0xFFFFFFFFu - 1000, EventsEvery700(), kWaitsEvery700,
                 kWaitTimeout},
        // The tick count passes 2^31, where it turns negative as a signed value.
        WaitCase{"CrossesSignedLimit", 3000, 0x7FFFFF00u, EventsEvery700(), kWaitsEvery700,
                 kWaitTimeout},
        // A sleep that lasts its whole time ends the wait with that time-out.
        WaitCase{"SleepsToTheEnd", 3000, 5, {{3000, kWaitTimeout}}, {3000}, kWaitTimeout},
        // Interval 0 only polls: no input pending.
        WaitCase{"ZeroNoInput", 0, 42, {{0, kWaitTimeout}}, {0}, kWaitTimeout},
        // Interval 0, input pending and the tick count has not moved: poll again.
        WaitCase{
            "ZeroInputSameTick", 0, 42, {{0, kInput}, {0, kWaitTimeout}}, {0, 0}, kWaitTimeout},
        // Interval 0, input pending and the tick count moved on: the time is up.
        WaitCase{"ZeroInputTickMoved", 0, 42, {{1, kInput}}, {0}, kWaitTimeout},
        // Negative intervals other than -1 time out before any sleep.
        WaitCase{"MinusTwo", -2, 42, {}, {}, kWaitTimeout},
        WaitCase{"MostNegative", INT_MIN, 42, {}, {}, kWaitTimeout},
        // The tick count went back, so more time is left than was asked for: the time is up.
        WaitCase{"TickWentBack", 3000, 1000, {{-10, kInput}}, {3000}, kWaitTimeout},
        // A failing sleep ends the wait at once with its result.
        WaitCase{"WaitFails", 3000, 1000, {{0, kWaitFailed}}, {3000}, kWaitFailed},
        // -1 has no limit: it sleeps without a time through any number of events and a
        // wrap-around of the tick count, and ends only when the sleep fails.
        WaitCase{"Infinite",
                 kInfinite,
                 0xFFFFFFF0u,
                 {{0x40000000, kInput},
                  {0x40000000, kInput},
                  {0x40000000, kInput},
                  {0x40000000, kInput},
                  {0x40000000, kInput},
                  {0, kWaitFailed}},
                 {-1, -1, -1, -1, -1, -1},
                 kWaitFailed}),
    [](const ::testing::TestParamInfo<WaitCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::app
