// A throw-away folder for a test, removed with everything in it when the test ends, with small
// helpers to lay out a tree of files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace tarnwick::test {

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
    std::error_code ec;
    // Make everything writable again first, so read-only test fixtures can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
  }

  const std::filesystem::path& path() const { return path_; }
  // The folder as a UTF-8 string.
  std::string str() const { return path_.string(); }
  std::filesystem::path operator/(std::string_view rel) const { return path_ / rel; }

  // Writes a file (creating its folders) with the given bytes; returns its path.
  std::filesystem::path write(std::string_view rel, std::string_view bytes = {}) const {
    const auto p = path_ / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
  }
  // Creates a folder (and its parents); returns its path.
  std::filesystem::path mkdir(std::string_view rel) const {
    const auto p = path_ / rel;
    std::filesystem::create_directories(p);
    return p;
  }
  // Reads a whole file.
  static std::string read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path path_;
};

}  // namespace tarnwick::test
