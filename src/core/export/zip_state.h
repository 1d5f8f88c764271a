// Process-wide state of the archive engine.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tarnwick {

// Everything the engine printed during the most recent archive run, lines without their leading
// spaces, joined with no separator. Emptied at the start of every run.
extern std::string LastZipMessage;

void ResetZipState();

// While one lives, every line ZipPrint takes on this thread also goes to `receiver` (when it is
// set): RunZip hands its caller the lines of its own run this way, whatever else runs in the
// process.
class ScopedZipLineReceiver {
 public:
  explicit ScopedZipLineReceiver(const std::function<void(std::string_view)>* receiver);
  ~ScopedZipLineReceiver();
  ScopedZipLineReceiver(const ScopedZipLineReceiver&) = delete;
  ScopedZipLineReceiver& operator=(const ScopedZipLineReceiver&) = delete;

 private:
  const std::function<void(std::string_view)>* previous_;
};

}  // namespace tarnwick
