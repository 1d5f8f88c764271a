// A throw-away folder for a test, removed with everything in it when the test ends, with small
// helpers to lay out a tree of files. Names and paths given as text are UTF-8, as in the engine.
// Paths may be longer than 260 characters on Windows too.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "support/win_files.h"

namespace tarnwick::test {

// The UTF-8 text of a path, as the engine takes it. (On Windows path::string() would give the
// ANSI code page instead.)
inline std::string Utf8(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

// A path from UTF-8 text.
inline std::filesystem::path FromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("tarnwick-test-" + std::to_string(rd()));
      if (std::filesystem::create_directory(path_))
        break;
    }
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
#ifdef _WIN32
    win::RemoveTree(path_);
#else
    std::error_code ec;
    // Make everything writable again first, so read-only test fixtures can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
#endif
  }

  const std::filesystem::path& path() const {
    return path_;
  }
  // The folder as a UTF-8 string.
  std::string str() const {
    return Utf8(path_);
  }
  std::filesystem::path operator/(std::string_view rel) const {
    return path_ / FromUtf8(rel);
  }
  // A path inside the folder as a UTF-8 string.
  std::string str(std::string_view rel) const {
    return Utf8(*this / rel);
  }

  // Writes a file (creating its folders) with the given bytes; returns its path.
  std::filesystem::path write(std::string_view rel, std::string_view bytes = {}) const {
    const auto p = *this / rel;
#ifdef _WIN32
    win::MakeFolders(p.parent_path());
    win::WriteBytes(p, bytes);
#else
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
#endif
    return p;
  }
  // Makes a file of `size` bytes (zeros) that takes no disk space; false where the file system
  // cannot hold such a file.
  bool writeSparse(std::string_view rel, std::uintmax_t size) const {
    const auto p = *this / rel;
#ifdef _WIN32
    return win::WriteSparse(p, size);
#else
    std::ofstream{p};
    std::error_code ec;
    std::filesystem::resize_file(p, size, ec);
    return !ec;
#endif
  }
  // Creates a folder (and its parents); returns its path.
  std::filesystem::path mkdir(std::string_view rel) const {
    const auto p = *this / rel;
#ifdef _WIN32
    win::MakeFolders(p);
#else
    std::filesystem::create_directories(p);
#endif
    return p;
  }
  // Reads a whole file.
  static std::string read(const std::filesystem::path& p) {
#ifdef _WIN32
    return win::ReadBytes(p);
#else
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
#endif
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tarnwick::test
