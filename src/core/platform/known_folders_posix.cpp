#include "core/platform/file_io.h"
#include "core/platform/known_folders.h"
#include "core/platform/system.h"

namespace tarnwick::platform {

UserFolders CurrentUserFolders() {
  std::string home = HomeFolder();
  while (home.size() > 1 && home.back() == '/')
    home.pop_back();
  std::string config = GetEnvironment("XDG_CONFIG_HOME").value_or("");
  if (config.empty() || config.front() != '/')
    config = home + "/.config";
  std::string text;
  ReadWholeFile(config + "/user-dirs.dirs", text);  // no file: the default folders
  return ParseXdgUserDirs(text, home);
}

}  // namespace tarnwick::platform
