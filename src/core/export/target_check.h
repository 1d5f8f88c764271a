// Checks the target before anything is written: the folder exists (or, for the copy, can be
// made), its drive is writable, has room for the result, and its file system takes a file of the
// size needed. Each problem is told in one line the user can act on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/volume_info.h"

namespace tarnwick {

// The most an archive entry can take for a file of `size` bytes with a name of `nameLength`
// bytes: headers (Zip64 and timestamp included), the central record, and the data stored or
// deflated (the engine stores data that deflate does not shrink; a later block can still grow a
// little, which the margin covers).
std::uint64_t EntryBound(std::uint64_t size, std::size_t nameLength);

// A size as the target messages give it, one decimal: "4.3 GB", "120.0 MB", "12.5 KB". Rounded
// up with `up`, otherwise down, so that a need is never understated nor free space overstated.
std::string AboutSize(std::uint64_t bytes, bool up);

struct TargetNeeds {
  std::uint64_t bytes = 0;        // the most the result can take
  std::uint64_t largestFile = 0;  // the largest file gathered, and its path
  std::string largestName;
  bool oneFile = false;  // the result is one file of `bytes` (an archive)
};

// The drive that is to hold the archive at `archivePath`; nothing when the system cannot tell.
std::optional<platform::VolumeInfo> ArchiveVolume(const std::string& archivePath,
                                                  const platform::VolumeProbe& volumes);

// Empty when the archive at `archivePath` can be written; otherwise why not, in one line.
std::string CheckArchiveTarget(const std::string& archivePath, const TargetNeeds& needs,
                               const platform::VolumeProbe& volumes);

// Empty when the copy into `folder` can be made (the folder is created when missing); otherwise
// why not, in one line.
std::string CheckCopyTarget(const std::string& folder, const TargetNeeds& needs,
                            const platform::VolumeProbe& volumes);

}  // namespace tarnwick
