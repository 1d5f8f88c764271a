#include "gui/app/event_loop_waiter.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>

namespace tarnwick::gui {

std::uint32_t EventLoopWaiter::Wait(std::int32_t waitTime) {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (QCoreApplication::instance() == nullptr || dispatcher == nullptr)
    return kWaitFailed;
  if (waitTime == 0) {
    return dispatcher->processEvents(QEventLoop::AllEvents) ? kWaitInputArrived : kWaitTimeout;
  }
  // A one-shot timer wakes the dispatcher when the time is over; any other event wakes it
  // earlier. A negative wait time has no limit, so no timer is set.
  bool timedOut = false;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, [&timedOut] { timedOut = true; });
  if (waitTime > 0)
    timer.start(waitTime);
  dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return timedOut ? kWaitTimeout : kWaitInputArrived;
}

void EventLoopWaiter::DispatchPending() {
  if (QCoreApplication::instance() != nullptr)
    QCoreApplication::processEvents();
}

}  // namespace tarnwick::gui
