#include "gui/app/wait_pumping.h"

#include "gui/app/event_loop_waiter.h"

namespace tarnwick::gui {

std::uint32_t WaitPumping(std::int32_t interval) {
  EventLoopWaiter waiter;
  return app::WaitPumping(interval, app::SystemTickCount, waiter);
}

}  // namespace tarnwick::gui
