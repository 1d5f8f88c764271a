#include "core/export/entry_names.h"

#include <vector>

#include "core/platform/path_rules.h"
#include "core/platform/system.h"

namespace tarnwick {
namespace {

bool hasDrive(std::string_view path) {
#ifdef _WIN32
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
#else
  (void)path;
  return false;
#endif
}

}  // namespace

bool IsFileSystemRoot(std::string_view rootDirectory) {
  for (char c : rootDirectory) {
    if (c != '\\' && c != '/')
      return false;
  }
  return true;
}

bool IsAbsolutePath(std::string_view path) {
  return (!path.empty() && platform::IsPathSeparator(path[0])) || hasDrive(path);
}

std::string ResolveListedName(std::string_view name, std::string_view rootDirectory) {
  if (IsAbsolutePath(name))
    return std::string(name);
  std::string base = IsFileSystemRoot(rootDirectory) ? std::string(1, platform::kPathSeparator)
                                                     : std::string(rootDirectory);
  if (!base.empty() && !platform::IsPathSeparator(base.back()))
    base += platform::kPathSeparator;
  return base + std::string(name);
}

bool IsReservedEntryName(std::string_view entryName) {
  if (entryName.size() != kManifestEntryName.size())
    return false;
  for (std::size_t i = 0; i < entryName.size(); ++i) {
    char c = entryName[i];
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
    if (c != kManifestEntryName[i])
      return false;
  }
  return true;
}

std::string RelativeParts(std::string_view path) {
  if (hasDrive(path))
    path.remove_prefix(2);
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || platform::IsPathSeparator(path[i])) {
      const std::string_view part = path.substr(start, i - start);
      if (part == "..") {
        if (!parts.empty())
          parts.pop_back();
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      start = i + 1;
    }
  }
  std::string out;
  for (const auto& part : parts) {
    if (!out.empty())
      out += '/';
    out += part;
  }
  return out;
}

std::string EntryName(std::string_view path, std::string_view rootDirectory, bool junkFolders) {
  std::string rest(path);
  if (!IsFileSystemRoot(rootDirectory)) {
    std::string folder(rootDirectory);
    if (!platform::IsPathSeparator(folder.back()))
      folder += platform::kPathSeparator;
    if (auto below = platform::StripFolderPrefix(path, folder))
      rest = *below;
  }
  std::string name = RelativeParts(rest);
  if (junkFolders) {
    const auto slash = name.find_last_of('/');
    if (slash != std::string::npos)
      name.erase(0, slash + 1);
  }
  return name;
}

}  // namespace tarnwick
