// What the drive that holds a folder offers a new file: free space, the largest file its file
// system takes, whether it is read-only. Behind an interface so that tests can give a small, a
// FAT32 or a read-only drive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarnwick::platform {

struct VolumeInfo {
  std::uint64_t freeBytes = 0;  // available to this user
  // The largest file the file system holds: 4 GiB - 1 on FAT32; none known elsewhere.
  std::optional<std::uint64_t> maxFileSize;
  bool readOnly = false;
  std::string fileSystem;  // "FAT32", "vfat", "NTFS", "ext4" ... as the system names it
};

inline constexpr std::uint64_t kFat32MaxFileSize = (1ull << 32) - 1;

class VolumeProbe {
 public:
  virtual ~VolumeProbe() = default;
  // The drive of `folder` (an existing folder); nothing when the system cannot tell.
  virtual std::optional<VolumeInfo> Query(const std::string& folder) const = 0;
};

// The drives of the running system (statvfs and statfs; GetDiskFreeSpaceExW and
// GetVolumeInformationW).
const VolumeProbe& SystemVolumes();

}  // namespace tarnwick::platform
