// A counter one thread adds to while other threads may read it.
#pragma once

#include <atomic>

namespace tarnwick {

// Written by one thread only (the walk), read by any (a status line, a progress window). The
// writer adds with a relaxed load and store instead of a read-modify-write: with a single writer
// nothing is lost, and the walk keeps the cost of a plain add (no locked instruction per entry).
// Readers see some recent value, never a torn one. Copying takes a snapshot.
template <typename T>
class SharedCounter {
 public:
  constexpr SharedCounter(T value = 0) noexcept : value_(value) {}
  SharedCounter(const SharedCounter& other) noexcept : value_(other.load()) {}
  SharedCounter& operator=(const SharedCounter& other) noexcept {
    value_.store(other.load(), std::memory_order_relaxed);
    return *this;
  }
  SharedCounter& operator=(T value) noexcept {
    value_.store(value, std::memory_order_relaxed);
    return *this;
  }

  T load() const noexcept { return value_.load(std::memory_order_relaxed); }
  operator T() const noexcept { return load(); }

  // Only the one writing thread may add.
  SharedCounter& operator+=(T amount) noexcept {
    value_.store(load() + amount, std::memory_order_relaxed);
    return *this;
  }
  SharedCounter& operator++() noexcept { return *this += 1; }

 private:
  std::atomic<T> value_;
};

}  // namespace tarnwick
