// Process-wide scan state: the search record, the folder being scanned and the running flag.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "core/common/shared_counter.h"

namespace tarnwick {

// Switches in, counters out. The main window (or the command line) fills it before each scan;
// the walk only adds to the counters, which another thread may read while it runs.
struct SearchParams {
  bool Recurse = false;
  bool IgnoreTemp = false;
  bool IgnoreSys = false;
  SharedCounter<std::int64_t> MatchCount = 0;
  SharedCounter<std::int64_t> ScannedCount = 0;  // directory entries examined, dot entries included
  SharedCounter<std::uint64_t> TotalBytes = 0;   // exact sum of the matched files' sizes
  std::string Pattern;                           // the pattern list joined with ";"
};

extern SearchParams gSearch;
// The folder to scan, always ending in the path separator.
extern std::string gRootFolder;
// True while a scan runs and has not been cancelled; the walk reads it before every entry.
extern std::atomic<bool> gScanning;

void ResetScanState();

}  // namespace tarnwick
