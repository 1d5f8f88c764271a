// Making a symbolic link to a file, where the system lets a test do so.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace tarnwick::test {

// True when `path` is a symbolic link itself (not what it points to).
inline bool IsLink(const std::filesystem::path& path) {
#ifdef _WIN32
  // The C++ library on Windows does not tell links apart; the file attributes do.
  const DWORD attrs = GetFileAttributesW(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
#else
  return std::filesystem::is_symlink(path);
#endif
}

// Makes `link` a symbolic link to the file `target`. Returns the empty text on success, otherwise
// why no link could be made (for a test to skip with).
inline std::string MakeFileLink(const std::filesystem::path& target,
                                const std::filesystem::path& link) {
#ifdef _WIN32
  // The C++ library cannot make links on Windows; the system call can, given the privilege
  // (administrator or developer mode).
  if (!CreateSymbolicLinkW(link.c_str(), target.c_str(),
                           SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
    return "no symbolic link: this account lacks the privilege to create one (error " +
           std::to_string(GetLastError()) + ")";
  }
  // Wine 8 reports success without making a link; Windows makes one or fails.
  if (!IsLink(link))
    return "no symbolic link: the system reported success but made none (Wine does this)";
  return {};
#else
  std::error_code ec;
  std::filesystem::create_symlink(target, link, ec);
  return ec ? "no symbolic link: " + ec.message() : std::string();
#endif
}

}  // namespace tarnwick::test
