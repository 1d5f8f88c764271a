// The lock and the condition variable that the archive's threads hand blocks over with, many
// thousand times a second when the files are small. On POSIX they are the standard ones. On
// Windows the standard ones come from the threads library the compiler ships, which makes every
// contended lock and every wake-up a wait on a kernel object (under Wine, a round trip to its
// server each); the system's slim reader/writer lock and condition variable settle those in user
// mode where they can. Hand-written for that reason only: the same interface as the standard
// types, as far as the writer uses them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tarnwick::platform {

#if defined(_WIN32)

class Mutex {
 public:
  Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;
  void lock();
  bool try_lock();
  void unlock();

 private:
  friend class ConditionVariable;
  void* srw_ = nullptr;  // an SRWLOCK: one pointer, zero when unlocked
};

class ConditionVariable {
 public:
  ConditionVariable() = default;
  ConditionVariable(const ConditionVariable&) = delete;
  ConditionVariable& operator=(const ConditionVariable&) = delete;
  void notify_one();
  void notify_all();
  void wait(std::unique_lock<Mutex>& lock);
  template <class Predicate>
  void wait(std::unique_lock<Mutex>& lock, Predicate ready) {
    while (!ready())
      wait(lock);
  }
  template <class Clock, class Duration>
  std::cv_status wait_until(std::unique_lock<Mutex>& lock,
                            const std::chrono::time_point<Clock, Duration>& deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0)
      return std::cv_status::timeout;
    return waitFor(lock, static_cast<unsigned long>(left.count())) ? std::cv_status::no_timeout
                                                                   : std::cv_status::timeout;
  }

 private:
  bool waitFor(std::unique_lock<Mutex>& lock, unsigned long milliseconds);
  void* cv_ = nullptr;  // a CONDITION_VARIABLE: one pointer, zero when new
};

#else

using Mutex = std::mutex;
using ConditionVariable = std::condition_variable;

#endif

}  // namespace tarnwick::platform
