// Ctrl+C while a command works: cancels the work the way the desktop program's Cancel buttons
// do, instead of ending the program. The scan stops at its next entry and still prints the
// summary of what was walked; an archive run or a copy stops cleanly, with no partial archive
// and no half-copied file.
#pragma once

#include <atomic>

namespace tarnwick::cli {

class CancelOnInterrupt {
 public:
  enum class SecondPress {
    EndsProgram,   // for a walk stuck in a slow file system: nothing is left half done
    CancelsAgain,  // for an export: ending it at once would leave its temporary file behind
  };
  // While the object lives, Ctrl+C stores `cancelValue` into `flag` (false for gScanning, true
  // for an export's cancel flag).
  CancelOnInterrupt(std::atomic<bool>& flag, bool cancelValue, SecondPress second);
  ~CancelOnInterrupt();
  CancelOnInterrupt(const CancelOnInterrupt&) = delete;
  CancelOnInterrupt& operator=(const CancelOnInterrupt&) = delete;
};

}  // namespace tarnwick::cli
