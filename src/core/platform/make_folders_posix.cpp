#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "core/platform/make_folders.h"

namespace tarnwick::platform {

bool MakeFolders(const std::string& folder, std::string& detail) {
  std::size_t pos = 0;
  while (pos <= folder.size()) {
    std::size_t next = folder.find('/', pos + 1);
    if (next == std::string::npos)
      next = folder.size();
    const std::string part = folder.substr(0, next);
    pos = next;
    if (part.empty() || part == "/") {
      if (next == folder.size())
        break;
      continue;
    }
    struct stat st {};
    if (::stat(part.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) {
        detail = "\"" + part + "\" is not a folder";
        return false;
      }
    } else if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      detail = std::strerror(errno);
      return false;
    }
    if (next == folder.size())
      break;
  }
  return true;
}

bool EntryExists(const std::string& path, bool& isOrdinaryFile) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0)
    return false;
  isOrdinaryFile = S_ISREG(st.st_mode);
  return true;
}

}  // namespace tarnwick::platform
