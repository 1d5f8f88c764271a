#include "core/settings/settings.h"

#include "core/platform/file_io.h"
#include "core/settings/profile_file.h"

namespace tarnwick {

std::string ReadSetting(const std::string& file, const std::string& section,
                        const std::string& key) {
  std::string content;
  if (!platform::ReadWholeFile(file, content))
    return {};
  return profile::ReadValue(content, section, key);
}

bool WriteSetting(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value) {
  std::string content;
  const bool exists = platform::ReadWholeFile(file, content);
  if (!exists && platform::IsOrdinaryFile(file))
    return false;  // present but unreadable
  if (!exists) {
    const auto fresh = profile::WriteValue({}, section, key, value);
    if (fresh.refused)
      return false;
    return platform::ReplaceFileAtomically(file, profile::NewFileContent(section, key, value));
  }
  const auto result = profile::WriteValue(content, section, key, value);
  if (result.refused)
    return false;
  if (!result.content)
    return true;  // already holds the value: the file is not touched
  return platform::ReplaceFileAtomically(file, *result.content);
}

}  // namespace tarnwick
