#include "core/export/zip_plan.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "core/common/escaped_name.h"
#include "core/export/compression_choice.h"
#include "core/export/entry_names.h"
#include "core/export/target_check.h"
#include "core/platform/path_rules.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using platform::FileError;

fs::path toFs(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}
std::string fromFs(const fs::path& p) {
  const std::u8string u = p.u8string();
  return std::string(u.begin(), u.end());
}

std::string absoluteKey(const std::string& path) {
  std::error_code ec;
  const fs::path abs = fs::absolute(toFs(path), ec);
  return platform::PathKey(fromFs((ec ? toFs(path) : abs).lexically_normal()));
}

struct Candidate {
  std::string path;
  bool isFolder = false;
  bool escapedName = false;  // its entry name is the escaped form of its name
  platform::FileInfo info;
};

class Planner {
 public:
  explicit Planner(const PlanInput& in) : in_(in), opt_(*in.options) {}

  ZipPlan Run() {
    std::vector<Candidate> candidates;
    for (const std::string& name : *in_.names) {
      collect(name, candidates);
    }
    const std::string archiveKey = absoluteKey(*in_.archivePath);
    // Entry name (by the platform's rule) -> index into `chosen`.
    std::unordered_map<std::string, std::size_t> byName;
    std::vector<std::pair<Candidate, std::string>> chosen;
    // Names that are stored as they are, so that an escaped or reserved name moved aside never
    // takes one of them.
    std::vector<std::string> names(candidates.size());
    std::unordered_set<std::string> plainNames;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      const Candidate& c = candidates[i];
      names[i] = EntryName(c.path, opt_.RootDir, opt_.JunkDirs && !c.isFolder);
      if (c.isFolder && !names[i].empty())
        names[i] += '/';
      if (IsPlainName(names[i]))
        plainNames.insert(platform::PathKey(names[i]));
    }
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      Candidate& c = candidates[i];
      std::string name = std::move(names[i]);
      if (name.empty()) {
        if (!c.isFolder)
          skip(c.path, FileError::NotAFile, "it names no file", false);
        continue;
      }
      if (c.isFolder) {
        if (opt_.JunkDirs || opt_.NoDirEntries)
          continue;
      } else if (absoluteKey(c.path) == archiveKey) {
        skip(c.path, FileError::Other, "it is the archive being written", true);
        continue;
      }
      const bool plain = IsPlainName(name);
      if (!plain)
        name = EscapeName(name);
      if (!plain || IsReservedEntryName(name)) {
        name = freeName(name, [&](const std::string& candidate) {
          const std::string key = platform::PathKey(candidate);
          return IsReservedEntryName(candidate) || byName.count(key) != 0 ||
                 plainNames.count(key) != 0;
        });
        c.escapedName = !plain;
      }
      const auto [it, added] = byName.emplace(platform::PathKey(name), chosen.size());
      if (!added) {
        if (!c.isFolder) {
          skip(c.path, FileError::Other,
               "its name in the archive is taken by " + chosen[it->second].first.path, true);
        }
        continue;
      }
      chosen.emplace_back(std::move(c), std::move(name));
    }

    std::vector<bool> used(chosen.size(), false);
    if (in_.oldEntries != nullptr) {
      for (const auto& old : *in_.oldEntries) {
        const auto it = byName.find(platform::PathKey(old.record.name));
        if (it != byName.end() && !used[it->second]) {
          used[it->second] = true;
          addCandidate(chosen[it->second].first, chosen[it->second].second, &old);
        } else {
          PlannedEntry e;
          e.kind = PlannedEntry::Kind::Kept;
          e.record = old.record;
          e.keptDataOffset = old.dataOffset;
          push(std::move(e), {}, false,
               EntryBound(old.record.compressedSize, old.record.name.size()));
          ++plan_.keptEntries;
        }
      }
    }
    for (std::size_t i = 0; i < chosen.size(); ++i) {
      if (used[i])
        continue;
      if (opt_.Freshen) {
        if (!chosen[i].first.isFolder) {
          skip(chosen[i].first.path, FileError::Other, "it is not in the archive to freshen", false,
               false);
        }
        continue;
      }
      addCandidate(chosen[i].first, chosen[i].second, nullptr);
    }
    return std::move(plan_);
  }

 private:
  // `name` itself when `taken` refuses it not, otherwise "NAME~2.EXT", "NAME~3.EXT" ...
  static std::string freeName(const std::string& name,
                              const std::function<bool(const std::string&)>& taken) {
    if (!taken(name))
      return name;
    const bool folder = !name.empty() && name.back() == '/';
    const std::string bare = folder ? name.substr(0, name.size() - 1) : name;
    const std::size_t slash = bare.find_last_of('/');
    std::size_t dot = bare.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        dot == (slash == std::string::npos ? 0 : slash + 1)) {
      dot = bare.size();
    }
    for (int n = 2;; ++n) {
      std::string candidate =
          bare.substr(0, dot) + "~" + std::to_string(n) + bare.substr(dot) + (folder ? "/" : "");
      if (!taken(candidate))
        return candidate;
    }
  }

  void yieldNow() {
    if (++sinceYield_ >= 256) {
      sinceYield_ = 0;
      if (in_.yield)
        in_.yield();
    }
  }

  void skip(const std::string& path, FileError reason, std::string detail, bool partway,
            bool print = true) {
    ZipSkippedFile s{path, reason, std::move(detail)};
    if (print && in_.print)
      in_.print(SkipLine(s, partway));
    plan_.skipped.push_back(std::move(s));
  }

  void collect(const std::string& name, std::vector<Candidate>& out) {
    yieldNow();
    const std::string path = ResolveListedName(name, opt_.RootDir);
    Candidate c;
    c.path = path;
    const FileError err = in_.files->Examine(path, c.info);
    if (err == FileError::NotFound) {
      if (in_.print)
        in_.print("  zip warning: name not matched: " + name + "\n");
      plan_.skipped.push_back({path, FileError::NotFound, {}});
      return;
    }
    if (err == FileError::None && c.info.isFolder) {
      if (!opt_.Recurse) {
        skip(path, FileError::NotAFile, "it is a folder", false);
        return;
      }
      c.isFolder = true;
      out.push_back(c);
      listFolder(path, out);
      return;
    }
    if (err == FileError::None && platform::IsOnlineOnly(c.info) && !opt_.IncludeOnline) {
      skip(path, FileError::OnlineOnly, {}, true);
      return;
    }
    // Other failures (no access to its folder, ...) show when the file is opened.
    out.push_back(std::move(c));
  }

  // Adds the folders and files below `folder`, each folder's entries in name order, depth first.
  // Links to folders are not followed, so a link back up the tree cannot loop.
  void listFolder(const std::string& folder, std::vector<Candidate>& out) {
    std::error_code ec;
    std::vector<std::pair<std::string, bool>> children;
    for (fs::directory_iterator it(toFs(folder), fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec)) {
      std::error_code typeEc;
      const bool isFolder = it->is_directory(typeEc) && !it->is_symlink(typeEc);
      children.emplace_back(fromFs(it->path()), isFolder);
    }
    std::sort(children.begin(), children.end());
    for (const auto& [path, isFolder] : children) {
      yieldNow();
      Candidate c;
      c.path = path;
      c.isFolder = isFolder;
      in_.files->Examine(path, c.info);
      if (!isFolder && platform::IsOnlineOnly(c.info) && !opt_.IncludeOnline) {
        skip(path, FileError::OnlineOnly, {}, true);
        continue;
      }
      out.push_back(c);
      if (isFolder)
        listFolder(path, out);
    }
  }

  void addCandidate(const Candidate& c, const std::string& name,
                    const zipformat::ExistingEntry* old) {
    PlannedEntry e;
    e.kind = c.isFolder ? PlannedEntry::Kind::Folder : PlannedEntry::Kind::File;
    e.path = c.path;
    e.record.name = name;
    e.record.flags = zipformat::kFlagUtf8Name;
    const zipformat::DosTime t = zipformat::ToDosTime(c.info.modifiedTime);
    e.record.dosTime = t.time;
    e.record.dosDate = t.date;
    e.record.unixTime = c.info.modifiedTime;
#ifdef _WIN32
    e.record.versionMadeBy = (zipformat::kHostDos << 8) | 45;
    e.record.externalAttributes = (c.info.attributes & 0x37) | (c.isFolder ? 0x10 : 0);
#else
    e.record.versionMadeBy = (zipformat::kHostUnix << 8) | 45;
    std::uint32_t mode = c.info.mode;
    if (mode == 0)
      mode = c.isFolder ? 040755 : 0100644;
    e.record.externalAttributes = (mode << 16) | (c.isFolder ? 0x10 : 0);
#endif
    e.storeOnly = IsCompressedFormat(c.path);
    if (old != nullptr) {
      e.fallback = old->record;
      e.fallbackDataOffset = old->dataOffset;
    }
    if (!c.isFolder) {
      ++plan_.filesTotal;
      ++plan_.fileEntries;
      plan_.bytesTotal += c.info.size;
      if (c.info.size >= plan_.largestSize) {
        plan_.largestSize = c.info.size;
        plan_.largestPath = c.path;
      }
    }
    push(std::move(e), c.isFolder ? std::string() : c.path, old != nullptr,
         EntryBound(c.isFolder ? 0 : c.info.size, name.size()), c.escapedName);
  }

  void push(PlannedEntry e, std::string listed, bool replaces, std::uint64_t bound,
            bool escaped = false) {
    plan_.boundBytes += bound;
    plan_.entryBounds.push_back(bound);
    plan_.entries.push_back(std::move(e));
    plan_.listedPaths.push_back(std::move(listed));
    plan_.replaces.push_back(replaces);
    plan_.escapedNames.push_back(escaped);
  }

  const PlanInput& in_;
  const ZipOptions& opt_;
  ZipPlan plan_;
  int sinceYield_ = 0;
};

}  // namespace

std::string SkippedReason(const ZipSkippedFile& skipped) {
  return skipped.reason == FileError::Other && !skipped.detail.empty()
             ? skipped.detail
             : platform::Describe(skipped.reason);
}

std::string SkipLine(const ZipSkippedFile& skipped, bool partway) {
  if (!partway)
    return "  zip warning: could not open for reading: " + skipped.path + "\n";
  return "  zip warning: left out, " + SkippedReason(skipped) + ": " + skipped.path + "\n";
}

ZipPlan PlanArchive(const PlanInput& input) {
  return Planner(input).Run();
}

}  // namespace tarnwick
