// The archive to restore from, in one or several parts (NAME.zip, NAME-2.zip, ...): each part
// opened, its entries listed and its manifest read.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/export/zip_reader.h"
#include "core/restore/manifest.h"

namespace tarnwick::restore {

struct ArchivePart {
  std::string path;
  std::unique_ptr<zipformat::ZipReader> reader;
  const std::vector<zipformat::ExistingEntry>& Entries() const { return reader->Entries(); }
  std::optional<Manifest> manifest;  // nothing for an archive without one
  std::string manifestError;         // why a manifest entry that is there could not be read
};

struct ArchiveSet {
  std::vector<ArchivePart> parts;
  // Parts that the manifests name but that are not there ("Part 2 of 3: NAME-2.zip not found").
  std::vector<std::string> missingParts;
  // The manifest of the first part that has one; nothing when no part has one.
  const Manifest* FirstManifest() const;
};

// Opens every archive in `paths`, and the further parts of a multi-part archive beside the first
// ("NAME-2.zip" ...) when only some are given. False with `error` when one of them cannot be
// opened or is not a ZIP archive.
bool OpenArchiveSet(const std::vector<std::string>& paths, ArchiveSet& set, std::string& error);

// The name of part `number` of the archive whose first part is `firstPart`: "NAME-2.zip", as the
// archive writer names its parts (ArchivePartPath).
std::string PartPath(const std::string& firstPart, int number);

}  // namespace tarnwick::restore
