// Ctrl+C during a scan: cancels it the way the scan window's Cancel button does (clears
// gScanning; the walk stops at its next entry and the summary of what was walked is still
// printed). A second Ctrl+C ends the program at once, for a walk stuck in a slow file system.
#pragma once

namespace tarnwick::cli {

// While an object of this class lives, Ctrl+C cancels the scan instead of ending the program.
class CancelScanOnInterrupt {
 public:
  CancelScanOnInterrupt();
  ~CancelScanOnInterrupt();
  CancelScanOnInterrupt(const CancelScanOnInterrupt&) = delete;
  CancelScanOnInterrupt& operator=(const CancelScanOnInterrupt&) = delete;
};

}  // namespace tarnwick::cli
