#include "cli/scan_run.h"

#include "cli/interrupt.h"
#include "core/settings/app_state.h"

namespace tarnwick::cli {

ScanOutcome RunScan(const ScanOptions& options, SearchSink& sink) {
  FillFolderLists();
  gSearch = SearchParams{};
  gSearch.Recurse = true;
  gSearch.IgnoreTemp = options.ignoreTemp;
  gSearch.IgnoreSys = options.ignoreSys;
  gSearch.Pattern = options.patterns;
  gRootFolder = options.folder;

  gScanning = true;
  {
    const CancelOnInterrupt cancelOnCtrlC(gScanning, false,
                                          CancelOnInterrupt::SecondPress::EndsProgram);
    SearchFolder(gSearch, DisplayRoot(gRootFolder), sink);
  }
  ScanOutcome outcome;
  outcome.cancelled = !gScanning.exchange(false);
  return outcome;
}

}  // namespace tarnwick::cli
