#include "core/settings/profile_file.h"

namespace tarnwick::profile {

std::string ReadValue(std::string_view, std::string_view, std::string_view) { return {}; }

WriteResult WriteValue(std::string_view, std::string_view, std::string_view, std::string_view) {
  return {true, std::nullopt};
}

std::string NewFileContent(std::string_view section, std::string_view key,
                           std::string_view value) {
  return "[" + std::string(section) + "]\r\n" + std::string(key) + "=" + std::string(value) +
         "\r\n";
}

}  // namespace tarnwick::profile
