// The plan of a restore: for every file of the archive, where it goes on this computer, or why it
// must not be written at all. Made before anything is written, shown to the user, and changed by
// changing the mappings.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/platform/known_folders.h"
#include "core/restore/archive_set.h"
#include "core/restore/manifest.h"
#include "core/restore/restore_paths.h"

namespace tarnwick::restore {

// Everything below `from` (a folder of the old computer, in its path rules) goes below `to` (a
// folder here).
struct Mapping {
  std::string from;
  std::string to;
  std::string label;  // what it is: "Home", "Documents", ... or empty for one the user added
  bool byUser = false;
};

enum class PlanMode {
  SamePlaces,  // each file to its old place, mapped onto this computer
  IntoFolder,  // each file below one folder, with its path below the scan folder
};

// This computer, as far as the plan needs it. Tests give any layout.
struct HereLayout {
  PathSystem system = HereSystem();
  platform::UserFolders folders;
  // Whether a root ("D:", "\\server\share") exists here; the roots of old Windows paths that do
  // not go elsewhere.
  std::function<bool(const std::string& root)> rootExists;
};

// The layout of the running computer.
HereLayout CurrentHereLayout();

struct PlanRequest {
  PlanMode mode = PlanMode::SamePlaces;
  std::string intoFolder;         // for IntoFolder, and for an archive without a manifest
  std::vector<Mapping> mappings;  // empty: DefaultMappings(); entries byUser come first
  std::string otherPlacesFolder;  // empty: the default (Documents/OLDPC)
};

struct PlanEntry {
  std::size_t part = 0;                 // index into ArchiveSet::parts
  std::size_t entry = 0;                // index into that part's entries
  std::string from;                     // the original path (or the entry name, without a manifest)
  std::string target;                   // the full path here; empty when refused
  std::string targetFolder;             // the planned folder it must lie in (a mapping's "to")
  std::vector<std::string> namesBelow;  // target = targetFolder + these names
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  std::int64_t modified = 0;  // seconds since 1970-01-01 UTC
  bool isFolder = false;      // a folder entry of a plain archive: made, nothing written into it
  std::string refusal;        // not empty: this entry is not restored, for this reason
};

struct RestorePlan {
  bool hasManifest = false;
  std::string oldComputer;  // for " (from OLDPC)"; the archive's name without a manifest
  PathSystem oldSystem = PathSystem::Windows;
  std::vector<Mapping> mappings;  // the mappings in effect (defaults and the user's)
  std::string otherPlacesFolder;
  std::vector<PlanEntry> entries;
  std::vector<std::string> warnings;  // missing parts, a manifest that could not be read
  std::string error;  // not empty: nothing can be planned (no manifest and no folder chosen)
};

// The mappings "Restore to the same places" starts with: the old known folders to this
// computer's, the old profile folder to this user's.
std::vector<Mapping> DefaultMappings(const Manifest& manifest, const HereLayout& here);

// The folder for files whose old place has no counterpart here: the old computer's name in this
// user's Documents.
std::string DefaultOtherPlacesFolder(const std::string& oldComputer, const HereLayout& here);

RestorePlan MakePlan(const ArchiveSet& set, const PlanRequest& request, const HereLayout& here);

}  // namespace tarnwick::restore
