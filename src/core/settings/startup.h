// The start-up sequence without its window: the prerequisite check on the settings file beside
// the executable, and loading the settings into the process-wide state.
#pragma once

#include <functional>
#include <string>

namespace tarnwick {

// The message shown when the settings file beside the executable cannot be written.
inline constexpr const char* kPrerequisiteFailureText =
    "You need to be an administrator to run this program.";

// The bytes of the default settings file, carried inside the program.
std::string_view DefaultSettingsBytes();

// The settings file's path: the executable's folder (or `folder`) + separator + "Settings.ini".
std::string SettingsPath(const std::string& folder);

// Writes the default settings file to `path`; true when all bytes were written and the file
// closed.
bool ExtractSettings(const std::string& path);

// Makes sure the settings file exists in `folder` (an ordinary file; a folder of that name counts
// as missing), writing the default when it is missing. An existing file is never replaced. On
// failure calls `reportFailure` with kPrerequisiteFailureText once and returns false.
bool CheckPrerequisites(const std::string& folder,
                        const std::function<void(const std::string&)>& reportFailure);

// Reads the three settings from the file at `settingsPath` into gExtensions, gExtList,
// gbIgnoreTemp and gbIgnoreSys, and fills the folder-name lists.
void LoadSettingsState(const std::string& settingsPath);

}  // namespace tarnwick
