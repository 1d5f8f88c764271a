// The text of the archive's manifest entry (tarnwick-manifest.txt): who, where and when the
// archive was made, with which patterns; for each file its original path, entry name, size, time
// and CRC-32; the listed files not gathered and the folders that could not be read, with reasons.
// UTF-8 with LF line ends; paths in the escaped form (core/common/escaped_name.h), fields
// separated by one TAB. docs/manifest-format.md describes it for readers.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarnwick {

struct ManifestHeader {
  std::string program;   // "Tarnwick 0.3.0"
  std::string computer;  // the computer's name
  std::string user;
  std::string system;  // "Windows" or "Linux": the path rules of the paths below
  std::string home;    // the user's profile folder
  std::vector<std::pair<std::string, std::string>> knownFolders;  // ("Documents", path)
  std::int64_t created = 0;                                       // seconds since 1970, UTC
  std::string scanFolder;
  std::string patterns;
  bool excludeTemporary = false;
  bool excludeSystem = false;
};

struct ManifestFile {
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // seconds since 1970, UTC
  std::uint32_t crc = 0;
  std::string entryName;
  std::string originalPath;
};

struct ManifestNote {
  std::string path;
  std::string reason;  // in words
};

struct ManifestPart {
  int number = 1;
  int count = 1;
};

// What a run is given to write the manifest: the header, and what the scan knew that the engine
// does not (files kept out before the archive, such as online-only ones, and unreadable folders).
struct ManifestInput {
  ManifestHeader header;
  std::vector<ManifestNote> notGathered;
  std::vector<ManifestNote> unreadableFolders;
};

std::string ManifestText(const ManifestHeader& header, ManifestPart part,
                         const std::vector<ManifestFile>& files,
                         const std::vector<ManifestNote>& notGathered,
                         const std::vector<ManifestNote>& unreadableFolders);

// The most one gathered file adds to a manifest: its line in [files], or its line in
// [not gathered] should it be left out while the archive is written (with a reason of up to
// kManifestReasonRoom bytes, which the system's messages do not reach).
inline constexpr std::size_t kManifestReasonRoom = 512;
std::uint64_t ManifestLineBound(const std::string& entryName, const std::string& originalPath);

// "2026-12-10T11:20:05Z".
std::string UtcTimestamp(std::int64_t unixSeconds);

// The values a run on this computer fills in itself: program, computer, user, system, home and
// the time now.
ManifestHeader ThisComputerHeader();

}  // namespace tarnwick
