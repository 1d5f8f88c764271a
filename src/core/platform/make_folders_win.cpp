#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

#include "core/platform/make_folders.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {

bool MakeFolders(const std::string& folder, std::string& detail) {
  // Every prefix that ends before a separator, then the whole path; roots ("C:", "\\server")
  // are not made.
  std::size_t pos = 0;
  for (;;) {
    const std::size_t next = folder.find_first_of("\\/", pos);
    const std::string part = folder.substr(0, next);
    pos = next == std::string::npos ? folder.size() : next + 1;
    const bool isRoot =
        part.empty() || (part.size() == 2 && part[1] == ':') ||
        part.find_first_not_of("\\/") == std::string::npos ||
        (part.size() >= 2 && (part[0] == '\\' || part[0] == '/') &&
         std::count_if(part.begin(), part.end(), [](char c) { return c == '\\' || c == '/'; }) < 4);
    if (!isRoot) {
      const std::wstring wide = LongPath(part);
      const DWORD attrs = GetFileAttributesW(wide.c_str());
      if (attrs != INVALID_FILE_ATTRIBUTES) {
        if ((attrs & FILE_ATTRIBUTE_DIRECTORY) == 0) {
          detail = "\"" + part + "\" is not a folder";
          return false;
        }
      } else if (!CreateDirectoryW(wide.c_str(), nullptr) &&
                 GetLastError() != ERROR_ALREADY_EXISTS) {
        detail = SystemErrorText(GetLastError());
        return false;
      }
    }
    if (next == std::string::npos || pos >= folder.size())
      return true;
  }
}

bool EntryExists(const std::string& path, bool& isOrdinaryFile) {
  const DWORD attrs = GetFileAttributesW(LongPath(path).c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES)
    return false;
  isOrdinaryFile =
      (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) ==
      0;
  return true;
}

}  // namespace tarnwick::platform
