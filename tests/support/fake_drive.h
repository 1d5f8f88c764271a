// A drive as a test describes it, behind the volume seam: any free space, read-only or not, and a
// file system with a file size limit (FAT32's, or a small one so that archive parts stay small).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "core/platform/volume_info.h"

namespace tarnwick::test {

class FakeDrive final : public platform::VolumeProbe {
 public:
  explicit FakeDrive(platform::VolumeInfo info) : info_(std::move(info)) {}
  std::optional<platform::VolumeInfo> Query(const std::string&) const override { return info_; }

 private:
  platform::VolumeInfo info_;
};

// A FAT32 drive whose largest file is `maxFileSize` bytes.
inline platform::VolumeInfo Fat32Drive(std::uint64_t maxFileSize, std::uint64_t freeBytes) {
  platform::VolumeInfo v;
  v.freeBytes = freeBytes;
  v.fileSystem = "FAT32";
  v.maxFileSize = maxFileSize;
  return v;
}

}  // namespace tarnwick::test
