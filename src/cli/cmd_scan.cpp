// tarnwick-cli scan: lists every matching file under a folder.
#include <cstdio>
#include <iostream>

#include "cli/commands.h"
#include "cli/scan_options.h"
#include "cli/scan_run.h"
#include "cli/scan_sink.h"

namespace tarnwick::cli {

int RunScanCommand(const Args& args) {
  auto parsed = ParseScanCommandLine(args, 0);
  if (const int* exitCode = std::get_if<int>(&parsed))
    return *exitCode;
  const ScanOptions& options = std::get<ScanCommandLine>(parsed).options;

  CliScanSink sink(gSearch, DisplayRoot(options.folder), /*printRows=*/true);
  const ScanOutcome outcome = RunScan(options, sink);
  sink.Finish();
  std::cerr << SummaryLine(gSearch) << std::endl;

  if (sink.OutputFailed()) {
    std::cerr << "tarnwick-cli: could not write the list of files\n";
    return kExitFailure;
  }
  if (outcome.cancelled)
    return kExitCancelled;
  // Nothing could be read at all: not a scan that found nothing.
  if (sink.RootUnreadable())
    return kExitFailure;
  return kExitOk;
}

}  // namespace tarnwick::cli
