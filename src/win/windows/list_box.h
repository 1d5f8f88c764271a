// The entries of a list box as UTF-8 texts.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::win {

int ListBoxCount(HWND list);
std::string ListBoxText(HWND list, int index);
std::vector<std::string> ListBoxEntries(HWND list);
void ListBoxAppend(HWND list, std::string_view text);
void ListBoxReplace(HWND list, int index, std::string_view text);
// The selected position, -1 when nothing is selected.
int ListBoxSelection(HWND list);
void ListBoxSelect(HWND list, int index);

}  // namespace tarnwick::win
