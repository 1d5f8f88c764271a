#include "gui/app/wait_pumping.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <ctime>

#include "gui/app/event_loop_waiter.h"

namespace tarnwick::gui {
namespace {

// The real wait on the event loop: lasts its interval, lets timers and other events run while it
// waits, and sleeps between them rather than spinning.
TEST(WaitPumpingOnEventLoop, LastsItsIntervalDispatchesEventsAndDoesNotSpin) {
  int ticks = 0;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
  timer.start();

  QElapsedTimer elapsed;
  elapsed.start();
  const std::clock_t cpuBefore = std::clock();
  const std::uint32_t result = WaitPumping(300);
  const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;

  EXPECT_EQ(result, kWaitTimeout);
  EXPECT_GE(elapsed.elapsed(), 299);
  EXPECT_LT(elapsed.elapsed(), 1500);
  EXPECT_GE(ticks, 10) << "the timer's events were not dispatched during the wait";
  EXPECT_LT(cpuMs, 150.0) << "the wait kept the processor busy";
}

TEST(WaitPumpingOnEventLoop, ZeroIntervalOnlyPolls) {
  QElapsedTimer elapsed;
  elapsed.start();
  EXPECT_EQ(WaitPumping(0), kWaitTimeout);
  EXPECT_LT(elapsed.elapsed(), 200);
}

}  // namespace
}  // namespace tarnwick::gui
