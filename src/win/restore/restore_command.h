// The main window's "Restore...": the open dialog for the archive (one or more of its parts),
// the archive opened by the app layer's restore session, then the restore window over `owner`
// until it closes. An archive that cannot be opened is reported in a message box.
#pragma once

#include <windows.h>

namespace tarnwick::win {

void cmdRestore_Click(HWND owner);

}  // namespace tarnwick::win
