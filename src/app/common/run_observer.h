// What a front end passes into a long run (a scan, an archive, a copy) to follow it, and the stop
// token its Cancel button sets.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tarnwick::app {

// Files and bytes done of the total.
struct RunProgress {
  std::uint64_t filesDone = 0;
  std::uint64_t filesTotal = 0;
  std::uint64_t bytesDone = 0;
  std::uint64_t bytesTotal = 0;
};

// Set from any thread (a Cancel button's handler run inside the engine's yield, a worker's owner,
// a signal handler) to stop the run at its next check. One per run.
class StopToken {
 public:
  void RequestStop() { stop_.store(true); }
  bool StopRequested() const { return stop_.load(std::memory_order_relaxed); }
  // The flag itself, for the engine's calls that take one.
  const std::atomic<bool>& Flag() const { return stop_; }
  std::atomic<bool>& Flag() { return stop_; }

 private:
  std::atomic<bool> stop_{false};
};

// A progress window for one run: opened with its title and the number of files, updated, closed.
// Its Cancel sets the token it was opened with. All calls come on the thread that runs the work.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  virtual void Open(std::string_view title, std::uint64_t filesTotal, StopToken& stop) = 0;
  virtual void Update(const RunProgress& progress) = 0;
  virtual void Close() = 0;
};

// Progress text where the front end shows progress (the scan window's status bar).
using StatusCallback = std::function<void(const std::string& text)>;

}  // namespace tarnwick::app
