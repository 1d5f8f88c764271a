// Where the command line finds its settings file: the --settings option, or Settings.ini beside
// the program (checked, and written from the default when missing, like the desktop program).
#pragma once

#include <optional>
#include <string>

namespace tarnwick::cli {

// The settings file to use. With no explicit file, runs the start-up check beside the
// executable; on failure prints the message on stderr and returns nothing (exit 2).
std::optional<std::string> ResolveSettingsFile(const std::optional<std::string>& explicitFile);

}  // namespace tarnwick::cli
