#include <windows.h>

#include "core/platform/utf16_win.h"
#include "core/platform/volume_info.h"

namespace tarnwick::platform {
namespace {

class WindowsVolumes final : public VolumeProbe {
 public:
  std::optional<VolumeInfo> Query(const std::string& folder) const override {
    const std::wstring path = LongPath(folder);
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExW(path.c_str(), &available, &total, &free))
      return std::nullopt;
    VolumeInfo info;
    info.freeBytes = available.QuadPart;
    wchar_t root[MAX_PATH + 1] = {};
    wchar_t fsName[MAX_PATH + 1] = {};
    DWORD flags = 0;
    if (GetVolumePathNameW(path.c_str(), root, MAX_PATH) &&
        GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, &flags, fsName, MAX_PATH)) {
      info.fileSystem = Narrow(fsName);
      info.readOnly = (flags & FILE_READ_ONLY_VOLUME) != 0;
      if (info.fileSystem == "FAT32" || info.fileSystem == "FAT")
        info.maxFileSize = kFat32MaxFileSize;
    }
    return info;
  }
};

}  // namespace

const VolumeProbe& SystemVolumes() {
  static const WindowsVolumes volumes;
  return volumes;
}

}  // namespace tarnwick::platform
