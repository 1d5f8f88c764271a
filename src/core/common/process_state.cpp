#include "core/common/process_state.h"

#include "core/common/ui_hooks.h"
#include "core/scan/search_state.h"
#include "core/settings/app_state.h"
#ifdef TARNWICK_HAVE_EXPORT
#include "core/export/zip_state.h"
#endif

namespace tarnwick {

void ResetProcessState() {
  ResetSettingsState();
  ResetScanState();
#ifdef TARNWICK_HAVE_EXPORT
  ResetZipState();
#endif
  SetPumpHook({});
  SetStatusHook({});
}

}  // namespace tarnwick
