// The folder browse dialog: lets the user pick the folder to scan.
#pragma once

#include <windows.h>

#include <string>

namespace tarnwick::win {

// Asks for a folder, opening at `initialFolder` when it names one. Returns the chosen folder as
// the shell gives it (a drive root keeps its "\", any other folder has none), or the empty text
// when the user cancelled.
std::string BrowseForFolder(HWND owner, const std::string& initialFolder);

}  // namespace tarnwick::win
