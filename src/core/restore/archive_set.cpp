#include "core/restore/archive_set.h"

#include <algorithm>

#include "core/export/export_paths.h"

namespace tarnwick::restore {
namespace {

// A manifest larger than this is not one this program wrote.
constexpr std::uint64_t kMaxManifestSize = 512u * 1024 * 1024;

bool openPart(const std::string& path, ArchivePart& part, std::string& error) {
  part.path = path;
  std::string why;
  part.reader = zipformat::ZipReader::OpenPath(path, why);
  if (!part.reader) {
    error = path + ": " + why;
    return false;
  }
  const auto& entries = part.reader->Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].record.name != kManifestEntryName)
      continue;
    if (entries[i].record.size > kMaxManifestSize) {
      part.manifestError = "the manifest is too large";
      break;
    }
    zipformat::EntryStatus status = zipformat::EntryStatus::Ok;
    const std::string text = part.reader->ReadEntryText(i, status);
    if (status != zipformat::EntryStatus::Ok) {
      part.manifestError =
          std::string("the manifest could not be read: ") + zipformat::Describe(status);
      break;
    }
    part.manifest = ParseManifest(text, part.manifestError);
    break;
  }
  return true;
}

}  // namespace

const Manifest* ArchiveSet::FirstManifest() const {
  for (const auto& part : parts) {
    if (part.manifest)
      return &*part.manifest;
  }
  return nullptr;
}

std::string PartPath(const std::string& firstPart, int number) {
  return ArchivePartPath(firstPart, number);
}

bool OpenArchiveSet(const std::vector<std::string>& paths, ArchiveSet& set, std::string& error) {
  set = ArchiveSet{};
  for (const auto& path : paths) {
    ArchivePart part;
    if (!openPart(path, part, error))
      return false;
    set.parts.push_back(std::move(part));
  }
  // Parts the manifests name but that were not given: look for them beside part 1.
  const auto partGiven = [&](int number) {
    return std::any_of(set.parts.begin(), set.parts.end(), [&](const ArchivePart& p) {
      return p.manifest && p.manifest->part == number;
    });
  };
  const ArchivePart* first = nullptr;
  int count = 1;
  for (const auto& part : set.parts) {
    if (part.manifest) {
      count = std::max(count, part.manifest->partCount);
      if (part.manifest->part == 1)
        first = &part;
    }
  }
  if (count > 1) {
    const std::string firstPath = first != nullptr ? first->path : std::string();
    for (int number = 1; number <= count; ++number) {
      if (partGiven(number))
        continue;
      if (firstPath.empty() || number == 1) {
        set.missingParts.push_back("part " + std::to_string(number) + " of " +
                                   std::to_string(count));
        continue;
      }
      const std::string path = PartPath(firstPath, number);
      ArchivePart part;
      std::string why;
      if (!openPart(path, part, why) || !part.manifest || part.manifest->part != number) {
        set.missingParts.push_back("part " + std::to_string(number) + " of " +
                                   std::to_string(count) + " (" + path + ")");
        continue;
      }
      set.parts.push_back(std::move(part));
    }
  }
  return true;
}

}  // namespace tarnwick::restore
