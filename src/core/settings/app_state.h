// Process-wide settings state, filled at start-up from the settings file.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// The pattern list as one text joined with ";" (what the settings file stores).
extern std::string gExtensions;
// The same list, one entry per pattern, in order. Kept equal to gExtensions.
extern std::vector<std::string> gExtList;
// The exclusion switches as read from the settings file.
extern bool gbIgnoreTemp;
extern bool gbIgnoreSys;
// Folder names (lower case) that the temporary- and system-folder tests compare against. Constants,
// so no caller can forget to fill them.
inline constexpr std::array<std::string_view, 3> gTempFolders = {"temp", "temporary internet files",
                                                                 "cookies"};
inline constexpr std::array<std::string_view, 7> gSysFolders = {
    "winnt",      "windows",  "program files", "system volume information",
    "config.msi", "recycler", "cmdcons"};

// Splits a pattern text at every ";". The empty text gives no entries; otherwise empty pieces
// stay entries ("*.doc;" gives "*.doc" and ""). Entries are neither trimmed nor lowered.
std::vector<std::string> SplitPatterns(std::string_view text);
// Joins entries with ";" (no entries give the empty text).
std::string JoinPatterns(const std::vector<std::string>& entries);

// Kept for callers of old: the two folder-name lists are constants and need no filling.
inline void FillFolderLists() {}

void ResetSettingsState();

}  // namespace tarnwick
