// The message-pumping wait: waits a number of milliseconds on the user interface thread while
// the thread's events keep being dispatched, so windows stay painted and responsive. Each front
// end supplies the sleeping primitive (the Qt event loop, MsgWaitForMultipleObjects); the
// deadline arithmetic is this one.
//
// The deadline is measured on a 32-bit millisecond tick count that wraps around every 2^32 ms;
// every sum and difference of ticks is taken modulo 2^32 and read back as a signed value, so a
// wait that spans the wrap still lasts its interval. The tick source is passed in, so the
// arithmetic can be checked without waiting.
#pragma once

#include <cstdint>
#include <functional>

namespace tarnwick::app {

// Interval meaning "no time limit".
inline constexpr std::int32_t kInfinite = -1;
// Result when the time ran out.
inline constexpr std::uint32_t kWaitTimeout = 258;
// Result of a sleep that ended because events arrived for the thread.
inline constexpr std::uint32_t kWaitInputArrived = 0;
// Result when the thread cannot wait at all.
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;

// A 32-bit millisecond tick count.
using TickSource = std::function<std::uint32_t()>;

// The system's millisecond tick count, wrapping every 2^32 ms.
std::uint32_t SystemTickCount();

// Sleeps until events arrive for the thread or the wait time is over, then dispatches every
// pending event.
class MessageWaiter {
 public:
  virtual ~MessageWaiter() = default;
  // Sleeps at most `waitTime` ms (0 only polls; a negative time has no limit). Returns
  // kWaitInputArrived when events arrived, kWaitTimeout when the time ran out first, or another
  // code when waiting failed.
  virtual std::uint32_t Wait(std::int32_t waitTime) = 0;
  // Dispatches everything queued for the thread without sleeping.
  virtual void DispatchPending() = 0;
};

// Waits `interval` ms (kInfinite: no limit), dispatching events whenever they arrive. Returns
// kWaitTimeout when the time ran out, otherwise the waiter's result that ended the wait. An
// interval of 0 only polls; any other negative interval times out at once.
std::uint32_t WaitPumping(std::int32_t interval, const TickSource& ticks, MessageWaiter& waiter);

}  // namespace tarnwick::app
