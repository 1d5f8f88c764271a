// Where this user's folders are on this computer: the profile (home) folder and the known folders
// Documents, Desktop, Pictures, Downloads, Music, Videos and Favorites, redirected ones included.
// Windows asks the shell (SHGetKnownFolderPath); elsewhere the XDG user folders
// (~/.config/user-dirs.dirs) and HOME.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::platform {

struct KnownFolderPath {
  std::string
      name;  // "Documents", "Desktop", "Pictures", "Downloads", "Music", "Videos", "Favorites"
  std::string path;  // absolute, UTF-8, without a trailing separator
};

struct UserFolders {
  std::string home;
  std::vector<KnownFolderPath> known;  // only those this computer has
  // The path of a known folder by name; empty when this computer has none.
  std::string Find(std::string_view name) const;
};

// The names of the known folders, in the order they are listed.
const std::vector<std::string>& KnownFolderNames();

// This user's folders on this computer.
UserFolders CurrentUserFolders();

// The known folders given by the text of an XDG user-dirs.dirs file (lines such as
// XDG_DOCUMENTS_DIR="$HOME/Documents"), for the home folder `home`. A folder the file does not
// name, or sets to the home folder itself (which means "none"), is the home folder's folder of that
// name ("Documents"). Favorites, which XDG does not know, is always home + "/Favorites".
UserFolders ParseXdgUserDirs(std::string_view text, const std::string& home);

}  // namespace tarnwick::platform
