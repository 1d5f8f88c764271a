// Paths in the letter case the file system keeps. Windows file systems ignore letter case, so a
// path in another case (the scan shows its root upper-cased, and the export opens the files by
// those paths) names the same file; but where case is matched by searching each folder on the
// way (Wine on a Linux file system), every such open searches the folders again. Opening by the
// names as stored skips that.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <unordered_map>

namespace tarnwick::platform {

// The path of `folder` (open, any access) as the file system stores its names, ending in "\",
// when `osPath` (a "\\?\" path ending in "\") names it in another letter case only; `osPath`
// otherwise: a path that leads elsewhere through a link, a substituted drive or a mapped share is
// kept.
std::wstring StoredCaseOf(HANDLE folder, std::wstring osPath);

// Gives files' "\\?\" paths with their folder in stored case, learning each folder once: a folder
// below a known one takes that one's stored form and the names below it as given (the names
// below a scanned root come from the folder listings, already as stored); any other is opened
// and asked once, and the folders above it are learnt with it. Safe to use from several threads.
class StoredCaseFolders {
 public:
  std::wstring Resolve(const std::wstring& osPath);

 private:
  std::wstring folderOf(const std::wstring& folder);

  std::mutex mutex_;
  std::unordered_map<std::wstring, std::wstring> known_;  // folder as given -> as stored
};

}  // namespace tarnwick::platform
