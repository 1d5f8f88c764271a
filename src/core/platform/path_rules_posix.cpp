#include <ctime>

#include "core/platform/path_rules.h"

namespace tarnwick::platform {

std::string PathKey(std::string_view path) {
  return std::string(path);
}

std::optional<std::string> StripFolderPrefix(std::string_view path, std::string_view folder) {
  if (!path.starts_with(folder))
    return std::nullopt;
  return std::string(path.substr(folder.size()));
}

std::optional<CivilTime> LocalCivilTime(std::int64_t unixSeconds) {
  const std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tm{};
  if (::localtime_r(&t, &tm) == nullptr)
    return std::nullopt;
  return CivilTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace tarnwick::platform
