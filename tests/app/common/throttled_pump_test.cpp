#include "app/common/throttled_pump.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tarnwick::app {
namespace {

// Events run on the first yield, then only once 10 ms have passed since they last ran, also
// where the tick count wraps around.
TEST(ThrottledPump, RunsEventsAtMostEveryTenMilliseconds) {
  struct Case {
    std::uint32_t start;
  } cases[] = {{1000}, {0xFFFFFFFAu}};
  for (const Case& c : cases) {
    std::uint32_t now = c.start;
    int runs = 0;
    const auto pump = ThrottledPump([&runs] { ++runs; }, [&now] { return now; });
    std::vector<int> seen;
    for (const std::uint32_t step : {0u, 0u, 9u, 1u, 5u, 4u, 30u}) {
      now += step;
      pump();
      seen.push_back(runs);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 1, 1, 2, 2, 2, 3})) << c.start;
  }
}

}  // namespace
}  // namespace tarnwick::app
