// The tests behind "exclude temporary folders" and "exclude system folders": a folder is one of
// them when its last name, lower-cased, equals an entry of gTempFolders (gSysFolders) as a whole.
// "Temp" and "TEMP" are temporary folders, "Temp2" and "MyTemp" are not; the depth does not
// matter ("D:\Backup\Windows\" is a system folder). A drive root such as "C:\" gives the name
// "c:", which is in neither list.
#pragma once

#include <string_view>

namespace tarnwick {

// `path` is a folder path ending in the path separator.
bool IsTempFolder(std::string_view path);
bool IsSystemFolder(std::string_view path);

// The same tests on a folder's name alone (what the walk has at hand).
bool IsTempFolderName(std::string_view name);
bool IsSystemFolderName(std::string_view name);

// The last folder name of `path`: one final separator is dropped, then the text after the last
// separator before it (the whole text when there is none).
std::string_view LastFolderName(std::string_view path);

}  // namespace tarnwick
