// When the walk lets the front end run: on a clock, so that a long stretch without matches never
// freezes the window and Cancel, and a burst of matches does not spend the time repainting.
#pragma once

#include <chrono>

namespace tarnwick {

template <typename OnYield>
class YieldClock {
 public:
  using Clock = std::chrono::steady_clock;
  // Well below the 100 ms in which a click must be answered, well above a display frame.
  static constexpr auto kInterval = std::chrono::milliseconds(25);
  // Ordinary entries take well under a microsecond each when the folder is cached; reading the
  // clock only every so many keeps its cost out of the walk.
  static constexpr unsigned kEntriesPerReading = 32;

  explicit YieldClock(OnYield onYield) : onYield_(onYield), last_(Clock::now()) {}

  // After an ordinary entry.
  void Entry() {
    if (--countdown_ == 0)
      Check();
  }
  // After a step that may take long (opening a folder, reading a file's size) or that the front
  // end should show soon (a match).
  void Check() {
    countdown_ = kEntriesPerReading;
    if (Clock::now() - last_ < kInterval)
      return;
    onYield_();
    // Counted from the end of the yield, so the walk keeps its share of the time however long
    // the front end takes.
    last_ = Clock::now();
  }

 private:
  OnYield onYield_;
  Clock::time_point last_;
  unsigned countdown_ = kEntriesPerReading;
};

}  // namespace tarnwick
