#include "core/scan/folder_tests.h"

#include <algorithm>
#include <string>

#include "core/platform/system.h"
#include "core/scan/text_case.h"
#include "core/settings/app_state.h"

namespace tarnwick {
namespace {

template <typename List>
bool nameInList(std::string_view name, const List& list) {
  const std::string lowered = LowerCase(name);
  return std::find(list.begin(), list.end(), lowered) != list.end();
}

}  // namespace

std::string_view LastFolderName(std::string_view path) {
  if (!path.empty() && platform::IsPathSeparator(path.back()))
    path.remove_suffix(1);
  // The last character is not looked at: a name is at least one character long.
  for (size_t i = path.size(); i-- > 1;) {
    if (platform::IsPathSeparator(path[i - 1]))
      return path.substr(i);
  }
  return path;
}

bool IsTempFolderName(std::string_view name) {
  return nameInList(name, gTempFolders);
}
bool IsSystemFolderName(std::string_view name) {
  return nameInList(name, gSysFolders);
}

bool IsTempFolder(std::string_view path) {
  return IsTempFolderName(LastFolderName(path));
}
bool IsSystemFolder(std::string_view path) {
  return IsSystemFolderName(LastFolderName(path));
}

}  // namespace tarnwick
