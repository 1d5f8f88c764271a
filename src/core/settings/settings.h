// One value of the settings file, read or written.
#pragma once

#include <string>

namespace tarnwick {

inline constexpr const char* kSettingsFileName = "Settings.ini";
inline constexpr const char* kSettingsSection = "app";

// The value of `key` in `section` of the profile file at `file`; the empty text when the file,
// section or key is missing. The whole value is returned, however long.
std::string ReadSetting(const std::string& file, const std::string& section,
                        const std::string& key);

// Stores `value` under `key` in `section`, keeping every other line of the file. Silent on
// failure: a file or folder that cannot be written stays as it was. Returns whether the file now
// holds the value (callers in the program ignore it; the command line reports it).
bool WriteSetting(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value);

}  // namespace tarnwick
