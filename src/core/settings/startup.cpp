#include "core/settings/startup.h"

#include "core/platform/file_io.h"
#include "core/platform/system.h"
#include "core/settings/app_state.h"
#include "core/settings/settings.h"

namespace tarnwick {

namespace detail {
extern const char kDefaultSettingsData[];
extern const std::size_t kDefaultSettingsSize;
}  // namespace detail

std::string_view DefaultSettingsBytes() {
  return {detail::kDefaultSettingsData, detail::kDefaultSettingsSize};
}

std::string SettingsPath(const std::string& folder) {
  return folder + platform::kPathSeparator + kSettingsFileName;
}

bool ExtractSettings(const std::string& path) {
  return platform::WriteNewFile(path, DefaultSettingsBytes());
}

bool CheckPrerequisites(const std::string& folder,
                        const std::function<void(const std::string&)>& reportFailure) {
  const std::string path = SettingsPath(folder);
  if (platform::IsOrdinaryFile(path))
    return true;
  if (ExtractSettings(path))
    return true;
  if (reportFailure)
    reportFailure(kPrerequisiteFailureText);
  return false;
}

void LoadSettingsState(const std::string& settingsPath) {
  gExtensions = ReadSetting(settingsPath, kSettingsSection, "extensions");
  gExtList = SplitPatterns(gExtensions);
  gbIgnoreTemp = ReadSetting(settingsPath, kSettingsSection, "ignoretemp") == "1";
  gbIgnoreSys = ReadSetting(settingsPath, kSettingsSection, "ignoresys") == "1";
  FillFolderLists();
}

}  // namespace tarnwick
