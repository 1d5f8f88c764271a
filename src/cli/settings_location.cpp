#include "cli/settings_location.h"

#include <iostream>

#include "core/platform/system.h"
#include "core/settings/startup.h"

namespace tarnwick::cli {

std::optional<std::string> ResolveSettingsFile(const std::optional<std::string>& explicitFile) {
  if (explicitFile)
    return explicitFile;
  const std::string folder = platform::ExecutableFolder();
  const bool ok = CheckPrerequisites(
      folder, [](const std::string& message) { std::cerr << "tarnwick-cli: " << message << "\n"; });
  if (!ok)
    return std::nullopt;
  return SettingsPath(folder);
}

}  // namespace tarnwick::cli
