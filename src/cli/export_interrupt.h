// Ctrl+C during an archive run or a copy: sets a cancel flag that the export reads between
// blocks, so the run stops cleanly (no partial archive, no half-copied file). Every press only
// sets the flag; the run ends within a moment.
#pragma once

#include <atomic>

namespace tarnwick::cli {

class CancelExportOnInterrupt {
 public:
  explicit CancelExportOnInterrupt(std::atomic<bool>& cancel);
  ~CancelExportOnInterrupt();
  CancelExportOnInterrupt(const CancelExportOnInterrupt&) = delete;
  CancelExportOnInterrupt& operator=(const CancelExportOnInterrupt&) = delete;
};

}  // namespace tarnwick::cli
