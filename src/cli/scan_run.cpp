#include "cli/scan_run.h"

#include "app/main/main_commands.h"
#include "cli/interrupt.h"
#include "core/settings/app_state.h"

namespace tarnwick::cli {

ScanOutcome RunScan(const ScanOptions& options, SearchSink& sink) {
  FillFolderLists();
  app::PrepareScan(options.folder, options.ignoreTemp, options.ignoreSys, options.patterns, gSearch,
                   gRootFolder);

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
