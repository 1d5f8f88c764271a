// The message-pumping wait: waits a number of milliseconds on the user interface thread while
// the thread's messages keep being dispatched, so windows stay painted and responsive.
//
// The deadline is measured on the 32-bit millisecond tick count, which wraps around every 2^32 ms;
// every sum and difference of ticks is taken modulo 2^32 and read back as a signed value, so a
// wait that spans the wrap still lasts its interval. The tick source and the waiting primitive
// are passed in, so the arithmetic can be checked without waiting.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

namespace tarnwick::win {

inline constexpr std::int32_t kInfinite = -1;
inline constexpr std::uint32_t kWaitTimeout = WAIT_TIMEOUT;  // 258

using TickSource = std::function<std::uint32_t()>;

// Sleeps until a handle is signalled, input arrives or the wait time is over, and lets what
// arrived run.
class MessageWaiter {
 public:
  virtual ~MessageWaiter() = default;
  // The MsgWaitForMultipleObjects result for `waitTime` ms (negative: no limit).
  virtual std::uint32_t Wait(std::int32_t waitTime) = 0;
  // Dispatches everything queued for the thread without sleeping.
  virtual void DispatchPending() = 0;
};

// Waits `interval` ms (kInfinite: no limit) on `count` handles, dispatching messages whenever they
// arrive (the waiter's result `count` means input arrived). Returns kWaitTimeout when the time ran
// out, otherwise the result that ended the wait. An interval of 0 only polls; any other negative
// interval times out at once.
std::uint32_t WaitPumping(std::int32_t interval, std::uint32_t count, const TickSource& ticks,
                          MessageWaiter& waiter);

// The same on GetTickCount and MsgWaitForMultipleObjectsEx with every kind of input (QS_ALLINPUT:
// sent messages included), over `handles`.
std::uint32_t WaitPumping(std::int32_t interval, const HANDLE* handles = nullptr,
                          std::uint32_t count = 0);

}  // namespace tarnwick::win
