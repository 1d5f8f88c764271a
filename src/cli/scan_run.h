// Runs one scan for a command: the engine's walk with Ctrl+C as its Cancel button.
#pragma once

#include "cli/scan_options.h"
#include "core/scan/search.h"

namespace tarnwick::cli {

struct ScanOutcome {
  bool cancelled = false;  // Ctrl+C stopped the walk; the counters describe what was walked
};

// Fills gSearch and gRootFolder from `options` with the main window's scan request
// (app::PrepareScan) and walks from DisplayRoot(gRootFolder).
// The counters stay in gSearch.
ScanOutcome RunScan(const ScanOptions& options, SearchSink& sink);

}  // namespace tarnwick::cli
