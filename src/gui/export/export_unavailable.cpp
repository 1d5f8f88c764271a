// A build without the archive export: the scan window's "Save to zip file" stays disabled.
#include "gui/export/export_command.h"

namespace tarnwick::gui {

void InstallExportCommand() {}

}  // namespace tarnwick::gui
