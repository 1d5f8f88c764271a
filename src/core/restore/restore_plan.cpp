#include "core/restore/restore_plan.h"

#include <algorithm>
#include <ctime>
#include <set>

#include "core/common/escaped_name.h"
#include "core/platform/input_file.h"
#include "core/restore/restore_paths.h"

namespace tarnwick::restore {
namespace {

bool isSymlinkEntry(const zipformat::EntryRecord& rec) {
  const unsigned host = rec.versionMadeBy >> 8;
  const std::uint32_t mode = rec.externalAttributes >> 16;
  return host == zipformat::kHostUnix && (mode & 0170000) == 0120000;
}

// The entry's time when no manifest gives it: the extended timestamp, else the MS-DOS fields (local
// time).
std::int64_t entryTime(const zipformat::EntryRecord& rec) {
  if (rec.unixTime)
    return *rec.unixTime;
  std::tm tm{};
  tm.tm_year = ((rec.dosDate >> 9) & 0x7F) + 80;
  tm.tm_mon = ((rec.dosDate >> 5) & 0x0F) - 1;
  tm.tm_mday = rec.dosDate & 0x1F;
  tm.tm_hour = (rec.dosTime >> 11) & 0x1F;
  tm.tm_min = (rec.dosTime >> 5) & 0x3F;
  tm.tm_sec = (rec.dosTime & 0x1F) * 2;
  tm.tm_isdst = -1;
  const std::time_t t = std::mktime(&tm);
  return t == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(t);
}

const char* separatorOf(PathSystem system) {
  return system == PathSystem::Windows ? "\\" : "/";
}

// The mapping with the longest "from" that holds `path`, preferring the user's own; the names
// below it.
const Mapping* findMapping(const std::vector<Mapping>& mappings, const PathParts& path,
                           PathSystem oldSystem, std::vector<std::string>& below) {
  for (const bool byUser : {true, false}) {
    const Mapping* best = nullptr;
    std::size_t bestDepth = 0;
    for (const auto& m : mappings) {
      if (m.byUser != byUser || m.from.empty() || m.to.empty())
        continue;
      const PathParts from = SplitPath(m.from, oldSystem);
      auto names = NamesBelow(path, from, oldSystem);
      if (names && (best == nullptr || from.names.size() + 1 > bestDepth)) {
        best = &m;
        bestDepth = from.names.size() + 1;
        below = std::move(*names);
      }
    }
    if (best != nullptr)
      return best;
  }
  return nullptr;
}

// Where an old path goes when no mapping holds it.
void placeUnmapped(const PathParts& path, const RestorePlan& plan, const HereLayout& here,
                   std::string& folder, std::vector<std::string>& names) {
  names = path.names;
  const bool drive = path.root.size() == 2 && path.root[1] == ':';
  if (here.system == PathSystem::Windows && plan.oldSystem == PathSystem::Windows && drive &&
      here.rootExists && here.rootExists(path.root)) {
    folder = path.root + "\\";
    return;
  }
  folder = plan.otherPlacesFolder;
  // The old root becomes a folder: "C" for "C:", "server" and "share" for a network path.
  std::vector<std::string> rootNames;
  if (drive)
    rootNames.push_back(path.root.substr(0, 1));
  else if (path.root.rfind("\\\\", 0) == 0)
    rootNames = SplitPath(path.root.substr(2), PathSystem::Windows).names;
  names.insert(names.begin(), rootNames.begin(), rootNames.end());
}

// Sets the target of `e` from a folder and the names below it, or refuses it.
void settle(PlanEntry& e, const std::string& folder, std::vector<std::string> names,
            const HereLayout& here) {
  if (auto why = CheckNames(names, here.system)) {
    e.refusal = "refused: " + *why;
    return;
  }
  for (auto& n : names)
    n = NameOnSystem(n, here.system);
  e.targetFolder = folder;
  e.namesBelow = names;
  e.target = JoinPath(folder, names, here.system);
}

const zipformat::ExistingEntry* findEntry(const ArchivePart& part, const std::string& name,
                                          std::size_t& index) {
  // The name as the manifest gives it, or (from a writer that recorded the original name there)
  // its escaped form, which is the entry name of an odd name.
  for (const std::string& candidate : {name, EscapeName(name)}) {
    for (std::size_t i = 0; i < part.Entries().size(); ++i) {
      if (part.Entries()[i].record.name == candidate) {
        index = i;
        return &part.Entries()[i];
      }
    }
  }
  return nullptr;
}

void planFromManifests(const ArchiveSet& set, const PlanRequest& request, const HereLayout& here,
                       RestorePlan& plan) {
  const Manifest& first = *set.FirstManifest();
  const PathParts scanFolder = SplitPath(first.scanFolder, plan.oldSystem);
  for (std::size_t p = 0; p < set.parts.size(); ++p) {
    const ArchivePart& part = set.parts[p];
    std::set<std::size_t> listed;
    if (!part.manifest) {
      plan.warnings.push_back(part.path + ": " +
                              (part.manifestError.empty() ? "no manifest" : part.manifestError));
      continue;
    }
    for (const auto& file : part.manifest->files) {
      PlanEntry e;
      e.part = p;
      e.from = file.originalPath;
      e.size = file.size;
      e.crc = file.crc;
      e.modified = file.modified;
      const zipformat::ExistingEntry* entry = findEntry(part, file.entryName, e.entry);
      if (entry == nullptr) {
        e.refusal = "missing from the archive";
        plan.entries.push_back(std::move(e));
        continue;
      }
      listed.insert(e.entry);
      if (isSymlinkEntry(entry->record)) {
        e.refusal = "refused: a symbolic link (not made)";
        plan.entries.push_back(std::move(e));
        continue;
      }
      const PathParts original = SplitPath(file.originalPath, plan.oldSystem);
      if (request.mode == PlanMode::IntoFolder) {
        auto below = NamesBelow(original, scanFolder, plan.oldSystem);
        std::vector<std::string> names;
        if (below && !below->empty()) {
          names = *below;
        } else if (auto why = CheckEntryName(entry->record.name, here.system, names)) {
          e.refusal = "refused: " + *why;
          plan.entries.push_back(std::move(e));
          continue;
        }
        settle(e, request.intoFolder, std::move(names), here);
      } else {
        std::vector<std::string> below;
        std::string folder;
        if (const Mapping* m = findMapping(plan.mappings, original, plan.oldSystem, below))
          folder = m->to;
        else
          placeUnmapped(original, plan, here, folder, below);
        settle(e, folder, std::move(below), here);
      }
      plan.entries.push_back(std::move(e));
    }
    for (std::size_t i = 0; i < part.Entries().size(); ++i) {
      const auto& rec = part.Entries()[i].record;
      if (listed.count(i) != 0 || rec.name == kManifestEntryName ||
          (!rec.name.empty() && rec.name.back() == '/'))
        continue;
      PlanEntry e;
      e.part = p;
      e.entry = i;
      e.from = rec.name;
      e.size = rec.size;
      e.refusal = "not listed in the manifest";
      plan.entries.push_back(std::move(e));
    }
  }
}

void planPlain(const ArchiveSet& set, const PlanRequest& request, const HereLayout& here,
               RestorePlan& plan) {
  for (std::size_t p = 0; p < set.parts.size(); ++p) {
    const ArchivePart& part = set.parts[p];
    // Names of link entries: nothing may be written through them.
    std::vector<std::string> links;
    for (const auto& entry : part.Entries()) {
      if (isSymlinkEntry(entry.record)) {
        std::string name = entry.record.name;
        std::replace(name.begin(), name.end(), '\\', '/');
        while (!name.empty() && name.back() == '/')
          name.pop_back();
        links.push_back(name + "/");
      }
    }
    for (std::size_t i = 0; i < part.Entries().size(); ++i) {
      const auto& rec = part.Entries()[i].record;
      PlanEntry e;
      e.part = p;
      e.entry = i;
      e.from = rec.name;
      e.size = rec.size;
      e.crc = rec.crc;
      e.modified = entryTime(rec);
      e.isFolder = !rec.name.empty() && (rec.name.back() == '/' || rec.name.back() == '\\');
      std::string slashed = rec.name;
      std::replace(slashed.begin(), slashed.end(), '\\', '/');
      std::vector<std::string> names;
      if (isSymlinkEntry(rec)) {
        e.refusal = "refused: a symbolic link (not made)";
      } else if (std::any_of(links.begin(), links.end(), [&](const std::string& link) {
                   return slashed.compare(0, link.size(), link) == 0;
                 })) {
        e.refusal = "refused: the path goes through a symbolic link";
      } else if (auto why = CheckEntryName(rec.name, here.system, names)) {
        e.refusal = "refused: " + *why;
      } else {
        settle(e, request.intoFolder, std::move(names), here);
      }
      plan.entries.push_back(std::move(e));
    }
  }
}

}  // namespace

HereLayout CurrentHereLayout() {
  HereLayout here;
  here.system = HereSystem();
  here.folders = platform::CurrentUserFolders();
  here.rootExists = [](const std::string& root) {
    platform::FileInfo info;
    return platform::SystemFiles().Examine(root + "\\", info) == platform::FileError::None &&
           info.isFolder;
  };
  return here;
}

std::vector<Mapping> DefaultMappings(const Manifest& manifest, const HereLayout& here) {
  std::vector<Mapping> mappings;
  const char* oldSep = separatorOf(manifest.system);
  for (const auto& name : platform::KnownFolderNames()) {
    std::string from;
    for (const auto& k : manifest.knownFolders) {
      if (k.name == name)
        from = k.path;
    }
    if (from.empty() && !manifest.home.empty())
      from = manifest.home + oldSep + name;
    const std::string to = here.folders.Find(name);
    if (!from.empty() && !to.empty())
      mappings.push_back({from, to, name, false});
  }
  if (!manifest.home.empty() && !here.folders.home.empty())
    mappings.push_back({manifest.home, here.folders.home, "Home", false});
  return mappings;
}

std::string DefaultOtherPlacesFolder(const std::string& oldComputer, const HereLayout& here) {
  std::string documents = here.folders.Find("Documents");
  if (documents.empty())
    documents = JoinPath(here.folders.home, {"Documents"}, here.system);
  const std::string name =
      NameOnSystem(oldComputer.empty() ? std::string("Old computer") : oldComputer, here.system);
  return JoinPath(documents, {name}, here.system);
}

RestorePlan MakePlan(const ArchiveSet& set, const PlanRequest& request, const HereLayout& here) {
  RestorePlan plan;
  for (const auto& missing : set.missingParts)
    plan.warnings.push_back(missing + " not found");
  const Manifest* manifest = set.FirstManifest();
  plan.hasManifest = manifest != nullptr;
  if (manifest != nullptr) {
    plan.oldComputer = manifest->computer;
    plan.oldSystem = manifest->system;
  } else if (!set.parts.empty()) {
    // No manifest: the archive's own name stands for the computer it came from.
    std::string name = set.parts.front().path;
    name = name.substr(name.find_last_of("/\\") + 1);
    plan.oldComputer = name.substr(0, name.rfind('.'));
  }
  if (plan.oldComputer.empty())
    plan.oldComputer = "old computer";
  if (!plan.hasManifest || request.mode == PlanMode::IntoFolder) {
    if (request.intoFolder.empty()) {
      plan.error = plan.hasManifest ? "Choose the folder to restore into."
                                    : "This archive has no Tarnwick manifest: choose the folder "
                                      "to restore its files into.";
      return plan;
    }
  }
  if (!plan.hasManifest) {
    planPlain(set, request, here, plan);
    return plan;
  }
  plan.mappings = request.mappings.empty() ? DefaultMappings(*manifest, here) : request.mappings;
  plan.otherPlacesFolder = request.otherPlacesFolder.empty()
                               ? DefaultOtherPlacesFolder(plan.oldComputer, here)
                               : request.otherPlacesFolder;
  planFromManifests(set, request, here, plan);
  return plan;
}

}  // namespace tarnwick::restore
