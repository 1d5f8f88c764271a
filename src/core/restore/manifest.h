// Reading the manifest that every archive made by Tarnwick carries (tarnwick-manifest.txt): who
// made it, on which computer and system, where the old user's folders were, and for each file its
// exact original path, entry name, size, time and CRC-32. Header keys and sections this reader
// does not know are ignored, so later versions can add to the manifest.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::restore {

inline constexpr std::string_view kManifestEntryName = "tarnwick-manifest.txt";

// The path rules of a system: which separators, drive letters, letter case.
enum class PathSystem { Windows, Posix };

struct ManifestFile {
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // seconds since 1970-01-01 UTC
  std::uint32_t crc = 0;
  std::string entryName;     // the entry's name in the archive (escaped form undone)
  std::string originalPath;  // the exact original path on the old computer
};

struct KnownFolder {
  std::string name;  // "Documents", "Desktop", ...
  std::string path;  // exact, on the old computer
};

struct Manifest {
  std::string program;
  std::string computer;
  std::string user;
  PathSystem system = PathSystem::Windows;
  std::string home;  // the old user's profile folder, exact
  std::vector<KnownFolder> knownFolders;
  std::string created;
  std::string scanFolder;  // exact
  int part = 1;
  int partCount = 1;
  std::vector<ManifestFile> files;
};

// Reads a manifest. Nothing, with `error` set, when the text is not a manifest this reader
// understands (no "Tarnwick manifest 1" line, a [files] line with a bad number).
std::optional<Manifest> ParseManifest(std::string_view text, std::string& error);

// Seconds since 1970-01-01 UTC of "YYYY-MM-DDTHH:MM:SSZ"; nothing for any other text.
std::optional<std::int64_t> ParseUtcTime(std::string_view text);

}  // namespace tarnwick::restore
