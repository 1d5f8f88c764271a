#include <sys/statvfs.h>
#ifdef __linux__
#include <sys/vfs.h>
#endif

#include "core/platform/volume_info.h"

namespace tarnwick::platform {
namespace {

class PosixVolumes final : public VolumeProbe {
 public:
  std::optional<VolumeInfo> Query(const std::string& folder) const override {
    struct statvfs vfs {};
    if (::statvfs(folder.c_str(), &vfs) != 0)
      return std::nullopt;
    VolumeInfo info;
    info.freeBytes = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    info.readOnly = (vfs.f_flag & ST_RDONLY) != 0;
#ifdef __linux__
    struct statfs fs {};
    constexpr long kMsdosMagic = 0x4d44;  // FAT12/16/32 ("vfat", "msdos")
    if (::statfs(folder.c_str(), &fs) == 0 && fs.f_type == kMsdosMagic) {
      info.fileSystem = "vfat";
      info.maxFileSize = kFat32MaxFileSize;
    }
#endif
    return info;
  }
};

}  // namespace

const VolumeProbe& SystemVolumes() {
  static const PosixVolumes volumes;
  return volumes;
}

}  // namespace tarnwick::platform
