#include "core/export/target_check.h"

#include <cstdio>
#include <filesystem>

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

fs::path toFs(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string folderOf(const std::string& path) {
  const std::u8string parent = toFs(path).parent_path().u8string();
  return parent.empty() ? std::string(".") : std::string(parent.begin(), parent.end());
}

std::string check(const std::string& folder, const TargetNeeds& needs, const char* what,
                  const platform::VolumeProbe& volumes) {
  const auto info = volumes.Query(folder);
  if (!info)
    return {};  // the system cannot tell: writing will show
  if (info->readOnly)
    return "The drive of " + folder + " is read-only.";
  if (info->maxFileSize) {
    const std::string limit = " is larger than the drive's file system (" +
                              (info->fileSystem.empty() ? std::string("FAT32") : info->fileSystem) +
                              ") can hold in one file (" + AboutSize(*info->maxFileSize, false) +
                              ").";
    if (needs.largestFile > *info->maxFileSize)
      return needs.largestName + " (" + AboutSize(needs.largestFile, true) + ")" + limit;
    if (needs.oneFile && needs.bytes > *info->maxFileSize)
      return "The archive (about " + AboutSize(needs.bytes, true) + ")" + limit;
  }
  if (needs.bytes > info->freeBytes) {
    return std::string("The ") + what + " needs about " + AboutSize(needs.bytes, true) +
           "; the drive has " + AboutSize(info->freeBytes, false) + " free.";
  }
  return {};
}

}  // namespace

std::uint64_t EntryBound(std::uint64_t size, std::size_t nameLength) {
  const std::uint64_t headers = (30 + 20 + 9) + (46 + 28 + 9) + 2 * nameLength;
  return headers + size + size / 2048 + 128;
}

std::string AboutSize(std::uint64_t bytes, bool up) {
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
  int unit = 0;
  std::uint64_t scale = 1024;
  while (unit < 3 && bytes >= scale * 1024) {
    scale *= 1024;
    ++unit;
  }
  // Tenths of the unit, rounded the chosen way.
  const std::uint64_t rest = (bytes % scale) * 10;  // below 2^44: no overflow
  std::uint64_t t = bytes / scale * 10 + rest / scale;
  if (up && rest % scale != 0)
    ++t;
  char text[48];
  std::snprintf(text, sizeof text, "%llu.%llu %s", static_cast<unsigned long long>(t / 10),
                static_cast<unsigned long long>(t % 10), kUnits[unit]);
  return text;
}

std::optional<platform::VolumeInfo> ArchiveVolume(const std::string& archivePath,
                                                  const platform::VolumeProbe& volumes) {
  return volumes.Query(folderOf(archivePath));
}

std::string CheckArchiveTarget(const std::string& archivePath, const TargetNeeds& needs,
                               const platform::VolumeProbe& volumes) {
  const std::string folder = folderOf(archivePath);
  std::error_code ec;
  if (!fs::is_directory(toFs(folder), ec))
    return "The folder " + folder + " does not exist.";
  return check(folder, needs, "archive", volumes);
}

std::string CheckCopyTarget(const std::string& folder, const TargetNeeds& needs,
                            const platform::VolumeProbe& volumes) {
  // The nearest folder that exists tells the drive; the copy makes the rest.
  fs::path existing = toFs(folder);
  std::error_code ec;
  while (!existing.empty() && !fs::exists(existing, ec) && existing.has_parent_path() &&
         existing.parent_path() != existing) {
    existing = existing.parent_path();
  }
  const std::u8string u = existing.u8string();
  const std::string probeAt = u.empty() ? std::string(".") : std::string(u.begin(), u.end());
  if (std::string problem = check(probeAt, needs, "copy", volumes); !problem.empty())
    return problem;
  fs::create_directories(toFs(folder), ec);
  if (ec || !fs::is_directory(toFs(folder), ec))
    return "The folder " + folder + " cannot be made: " + ec.message() + ".";
  return {};
}

}  // namespace tarnwick
