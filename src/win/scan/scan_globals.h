// The scan window's status bar, where the walk, the export and the archive engine write their
// progress texts. Null while no scan window is open.
#pragma once

#include <windows.h>

#include <string>

namespace tarnwick::win {

extern HWND ghStatusBar;

// The user's decimal separator, for the size texts.
std::string UserDecimalSeparator();

}  // namespace tarnwick::win
