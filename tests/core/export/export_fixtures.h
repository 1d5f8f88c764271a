// Test data for the export tests: text that compresses like documents, bytes that do not, file
// times, and a look at what a folder holds (to find left-over temporary files).
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "core/export/zip_readers.h"
#include "support/temp_dir.h"

namespace tarnwick::test {

// Text-like bytes that deflate to roughly a third.
inline std::string TextBytes(std::size_t size, unsigned seed = 1) {
  static const char* const kWords[] = {"report ",   "quarter ", "figures ", "the ", "and ",
                                       "customer ", "invoice ", "total ",   "\n",   "meeting ",
                                       "project ",  "2023 ",    "draft ",   "of ",  "budget "};
  std::mt19937 rng(seed);
  std::string out;
  out.reserve(size + 16);
  while (out.size() < size)
    out += kWords[rng() % 15];
  out.resize(size);
  return out;
}

// Bytes that do not compress.
inline std::string RandomBytes(std::size_t size, unsigned seed = 2) {
  std::mt19937_64 rng(seed);
  std::string out(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    out[i] = static_cast<char>(rng() >> 56);
  return out;
}

inline void SetModifiedTime(const std::filesystem::path& p, std::int64_t unixSeconds) {
  const struct timespec times[2] = {{static_cast<time_t>(unixSeconds), 0},
                                    {static_cast<time_t>(unixSeconds), 0}};
  ::utimensat(AT_FDCWD, p.c_str(), times, 0);
}

inline std::int64_t ModifiedTime(const std::filesystem::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return st.st_mtime;
}

inline std::uint32_t Crc32(std::string_view bytes) {
  return static_cast<std::uint32_t>(
      crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

// CRC-32 as the manifest writes it: eight upper-case hex digits.
inline std::string Crc32Hex(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (int shift = 28; shift >= 0; shift -= 4)
    out += kHex[(Crc32(bytes) >> shift) & 0xF];
  return out;
}

// The names directly in a folder.
inline std::set<std::string> FolderNames(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    names.insert(e.path().filename().string());
  }
  return names;
}

// The entry name of a file archived with the default root: its full path without the leading "/".
inline std::string FullEntryName(const std::filesystem::path& p) {
  return p.string().substr(1);
}

}  // namespace tarnwick::test
