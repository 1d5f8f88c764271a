// Which file a path names: the identity changes when another file is renamed over the path and
// stays when the same file is rewritten in place. Lets a test tell a replaced file from an
// overwritten one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "core/platform/utf16_win.h"
#else
#include <sys/stat.h>
#endif

namespace tarnwick::test {

struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at the UTF-8 `path`; nothing when it cannot be opened.
inline std::optional<FileIdentity> IdentityOf(const std::string& path) {
#ifdef _WIN32
  const HANDLE h = CreateFileW(platform::LongPath(path).c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  if (!ok)
    return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
#else
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
#endif
}

}  // namespace tarnwick::test
