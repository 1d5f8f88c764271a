#include "core/export/export_paths.h"

#include "core/export/entry_names.h"
#include "core/platform/path_rules.h"
#include "core/platform/system.h"

namespace tarnwick {
namespace {

bool endsWithZip(const std::string& path) {
  if (path.size() < 4)
    return false;
  const std::string tail = path.substr(path.size() - 4);
  return tail[0] == '.' && (tail[1] == 'z' || tail[1] == 'Z') &&
         (tail[2] == 'i' || tail[2] == 'I') && (tail[3] == 'p' || tail[3] == 'P');
}

}  // namespace

std::string WithZipExtension(const std::string& chosenPath) {
  if (chosenPath.empty() || endsWithZip(chosenPath))
    return chosenPath;
  return chosenPath + (chosenPath.back() == '.' ? "zip" : ".zip");
}

std::string ArchivePartPath(const std::string& firstPart, int number) {
  std::string stem = firstPart;
  std::string ext;
  const std::size_t dot = stem.rfind('.');
  const std::size_t sep = stem.find_last_of("/\\");
  if (dot != std::string::npos && (sep == std::string::npos || dot > sep)) {
    ext = stem.substr(dot);
    stem.resize(dot);
  }
  return stem + "-" + std::to_string(number) + ext;
}

std::string MigrationFolder(const std::string& archivePath) {
  if (archivePath.size() <= 4)
    return {};
  return archivePath.substr(0, archivePath.size() - 4) + platform::kPathSeparator;
}

std::string MigrationDestination(const std::string& source, const std::string& scanFolder,
                                 const std::string& migrationFolder) {
  std::string rest = source;
  if (!scanFolder.empty()) {
    if (auto below = platform::StripFolderPrefix(source, scanFolder))
      rest = *below;
  }
  std::string relative = RelativeParts(rest);
#ifdef _WIN32
  for (char& c : relative) {
    if (c == '/')
      c = '\\';
  }
#endif
  std::string dest = migrationFolder;
  if (!dest.empty() && !platform::IsPathSeparator(dest.back()))
    dest += platform::kPathSeparator;
  return dest + relative;
}

}  // namespace tarnwick
