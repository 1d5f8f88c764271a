#include "core/platform/stored_case_win.h"

#include <memory>
#include <string_view>

namespace tarnwick::platform {
namespace {

// Folders remembered at most; past it the memory starts again (a folder then costs one more ask).
constexpr std::size_t kMostFolders = 16384;
// "\\?\" and a drive ("C:\") at least come before a folder's own names.
constexpr std::size_t kShortest = 6;

struct HandleCloser {
  void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::wstring_view withoutFinalSeparator(std::wstring_view path) {
  if (!path.empty() && path.back() == L'\\')
    path.remove_suffix(1);
  return path;
}

}  // namespace

std::wstring StoredCaseOf(HANDLE folder, std::wstring osPath) {
  std::wstring stored(osPath.size() + 16, L'\0');
  const DWORD got =
      ::GetFinalPathNameByHandleW(folder, stored.data(), static_cast<DWORD>(stored.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (got == 0 || got >= stored.size())
    return osPath;
  stored.resize(got);
  const std::wstring_view a = withoutFinalSeparator(stored);
  const std::wstring_view b = withoutFinalSeparator(osPath);
  if (a == b || ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                       static_cast<int>(b.size()), TRUE) != CSTR_EQUAL) {
    return osPath;
  }
  stored.resize(a.size());
  stored += L'\\';
  return stored;
}

std::wstring StoredCaseFolders::Resolve(const std::wstring& osPath) {
  const std::size_t slash = osPath.find_last_of(L'\\');
  if (slash == std::wstring::npos || slash < kShortest)
    return osPath;
  const std::wstring folder = osPath.substr(0, slash + 1);
  std::lock_guard lock(mutex_);
  return folderOf(folder) + osPath.substr(slash + 1);
}

std::wstring StoredCaseFolders::folderOf(const std::wstring& folder) {
  if (const auto it = known_.find(folder); it != known_.end())
    return it->second;
  if (known_.size() >= kMostFolders)
    known_.clear();
  // Below a known folder (a drive's root is never one: it would pass on the names below it as
  // given, the scan's upper-cased root among them): its stored form, then the names under it.
  for (std::size_t end = folder.size() - 1; end > kShortest;) {
    const std::size_t slash = folder.find_last_of(L'\\', end - 1);
    if (slash == std::wstring::npos || slash <= kShortest)
      break;
    if (const auto it = known_.find(folder.substr(0, slash + 1)); it != known_.end()) {
      std::wstring stored = it->second + folder.substr(slash + 1);
      known_.emplace(folder, stored);
      return stored;
    }
    end = slash;
  }
  std::wstring stored = folder;
  const HANDLE h =
      ::CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  const bool opened = h != INVALID_HANDLE_VALUE;
  if (opened) {
    const UniqueHandle owned(h);
    stored = StoredCaseOf(h, folder);
  }
  known_.emplace(folder, stored);
  // The folders above it are learnt with it (the two paths differ in letter case only, or not at
  // all), so that none of their other folders needs to be opened and asked. Not from a folder
  // that could not be opened: its given names may be in another case, and would be passed on.
  if (opened && stored.size() == folder.size()) {
    for (std::size_t at = folder.find(L'\\', kShortest);
         at != std::wstring::npos && at + 1 < folder.size(); at = folder.find(L'\\', at + 1)) {
      known_.emplace(folder.substr(0, at + 1), stored.substr(0, at + 1));
    }
  }
  return stored;
}

}  // namespace tarnwick::platform
