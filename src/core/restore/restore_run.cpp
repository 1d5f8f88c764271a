#include "core/restore/restore_run.h"

#include "core/platform/make_folders.h"
#include "core/platform/temp_file.h"
#include "core/restore/file_crc.h"
#include "core/restore/restore_paths.h"

namespace tarnwick::restore {
namespace {

struct Progress {
  const RunCallbacks& callbacks;
  std::uint64_t filesDone = 0, filesTotal = 0, bytesDone = 0, bytesTotal = 0;
  void report() const {
    if (callbacks.onProgress)
      callbacks.onProgress(filesDone, filesTotal, bytesDone, bytesTotal);
  }
};

bool cancelled(const RunCallbacks& callbacks) {
  return callbacks.cancel != nullptr && callbacks.cancel->load();
}

enum class WriteResult { Placed, TargetExists, Failed, Cancelled };

// Writes the entry's data to `target`, through a temporary file beside it.
WriteResult writeEntry(const ArchiveSet& set, const PlanEntry& e, const std::string& target,
                       bool replace, PathSystem system, const RunCallbacks& callbacks,
                       Progress& progress, std::string& reason) {
  const std::string folder = ParentFolder(target, system);
  std::string detail;
  if (!platform::MakeFolders(folder, detail)) {
    reason = "the folder could not be made: " + detail;
    return WriteResult::Failed;
  }
  platform::FileError error = platform::FileError::None;
  // A link at the target is never followed: it is an entry like any other, left alone unless
  // the user chose to replace what is there.
  auto file = platform::TempFile::CreateFor(target, {.replace = replace, .followLink = false},
                                            error, detail);
  if (!file) {
    reason = std::string(platform::Describe(error)) + (detail.empty() ? "" : ": " + detail);
    return WriteResult::Failed;
  }
  const ArchivePart& part = set.parts[e.part];
  // The manifest's own record of the file must agree with the archive's entry.
  if (part.manifest && part.Entries()[e.entry].record.crc != e.crc) {
    reason = "the archive's entry does not match the manifest (CRC-32)";
    return WriteResult::Failed;
  }
  platform::FileError writeError = platform::FileError::None;
  bool stopped = false;
  const std::uint64_t bytesBefore = progress.bytesDone;
  const zipformat::EntryStatus read = part.reader->ReadEntry(e.entry, [&](std::string_view bytes) {
    if (cancelled(callbacks)) {
      stopped = true;
      return false;
    }
    writeError = file->Write(bytes);
    progress.bytesDone += bytes.size();
    progress.report();
    return writeError == platform::FileError::None;
  });
  if (read != zipformat::EntryStatus::Ok) {
    // The temporary file goes with `file`.
    progress.bytesDone = bytesBefore;
    if (stopped)
      return WriteResult::Cancelled;
    reason = writeError != platform::FileError::None
                 ? std::string(platform::Describe(writeError))
                 : std::string("damaged in the archive: ") + zipformat::Describe(read);
    return WriteResult::Failed;
  }
  file->SetModifiedTime(e.modified);
  switch (file->Place(detail)) {
    case platform::PlaceResult::Placed:
      return WriteResult::Placed;
    case platform::PlaceResult::TargetExists:
      return WriteResult::TargetExists;
    case platform::PlaceResult::Failed:
      break;
  }
  reason = detail;
  return WriteResult::Failed;
}

}  // namespace

std::optional<TargetState> AssessTargetBySize(const std::string& path, std::uint64_t size) {
  bool ordinary = false;
  if (!platform::EntryExists(path, ordinary))
    return TargetState::Free;
  if (!ordinary)
    return TargetState::NotAFile;
  platform::FileInfo info;
  if (platform::SystemFiles().Examine(path, info) != platform::FileError::None || info.size != size)
    return TargetState::Different;
  return std::nullopt;
}

std::optional<TargetState> CompareContent(const std::string& path, std::uint64_t size,
                                          std::uint32_t crc, const std::atomic<bool>* stop) {
  std::uint64_t haveSize = 0;
  std::uint32_t haveCrc = 0;
  if (!FileCrc(path, haveSize, haveCrc, stop))
    return stop != nullptr && stop->load() ? std::nullopt : std::optional(TargetState::Different);
  return haveSize == size && haveCrc == crc ? TargetState::Same : TargetState::Different;
}

TargetState AssessTarget(const std::string& path, std::uint64_t size, std::uint32_t crc) {
  if (const auto bySize = AssessTargetBySize(path, size))
    return *bySize;
  return CompareContent(path, size, crc).value_or(TargetState::Different);
}

RunResult RunRestore(const ArchiveSet& set, const RestorePlan& plan,
                     const RunCallbacks& callbacks) {
  RunResult result;
  Progress progress{callbacks};
  for (const auto& e : plan.entries) {
    if (e.refusal.empty() && !e.isFolder) {
      ++progress.filesTotal;
      progress.bytesTotal += e.size;
    }
  }
  progress.report();
  const PathSystem system = HereSystem();
  for (std::size_t i = 0; i < plan.entries.size(); ++i) {
    if (cancelled(callbacks)) {
      result.cancelled = true;
      break;
    }
    const PlanEntry& e = plan.entries[i];
    const std::uint64_t bytesBefore = progress.bytesDone;
    EntryOutcome out;
    out.planIndex = i;
    out.target = e.target;
    const auto finish = [&](Outcome outcome, std::string reason = {}) {
      out.outcome = outcome;
      out.reason = std::move(reason);
      if (callbacks.onOutcome)
        callbacks.onOutcome(out);
      result.outcomes.push_back(out);
    };
    if (!e.refusal.empty()) {
      finish(e.refusal == "not listed in the manifest" ? Outcome::Skipped : Outcome::Failed,
             e.refusal);
      continue;
    }
    if (e.isFolder) {
      std::string detail;
      if (!platform::MakeFolders(e.target, detail))
        finish(Outcome::Failed, "the folder could not be made: " + detail);
      continue;
    }
    std::string reason;
    bool done = false;
    // Twice at most: a file that appears at the target while this one is written is met as a
    // conflict on the second round.
    for (int round = 0; round < 2 && !done; ++round) {
      const TargetState state = AssessTarget(e.target, e.size, e.crc);
      if (state == TargetState::Same) {
        finish(Outcome::AlreadyThere);
        done = true;
        break;
      }
      if (state == TargetState::Free) {
        const WriteResult w =
            writeEntry(set, e, e.target, false, system, callbacks, progress, reason);
        if (w == WriteResult::Cancelled) {
          result.cancelled = true;
          return result;
        }
        if (w == WriteResult::TargetExists)
          continue;
        if (w == WriteResult::Placed)
          finish(Outcome::Restored);
        else
          finish(Outcome::Failed, reason);
        done = true;
        break;
      }
      const ConflictChoice choice =
          callbacks.onConflict ? callbacks.onConflict(e, e.target) : ConflictChoice::KeepBoth;
      if (choice == ConflictChoice::Skip) {
        finish(Outcome::Skipped, "a different file is already there");
        done = true;
        break;
      }
      if (choice == ConflictChoice::Replace) {
        if (state == TargetState::NotAFile) {
          finish(Outcome::Failed, "something other than a file has that name");
        } else {
          const WriteResult w =
              writeEntry(set, e, e.target, true, system, callbacks, progress, reason);
          if (w == WriteResult::Cancelled) {
            result.cancelled = true;
            return result;
          }
          if (w == WriteResult::Placed)
            finish(Outcome::Restored, "replaced the file that was there");
          else
            finish(Outcome::Failed, reason);
        }
        done = true;
        break;
      }
      // Keep both: the first free " (from OLDPC N)" name, or one that already holds this file.
      const std::string folder = ParentFolder(e.target, system);
      const std::string name = e.namesBelow.empty() ? std::string() : e.namesBelow.back();
      for (int number = 1; number <= 100 && !done; ++number) {
        const std::string other = JoinPath(
            folder, {NameOnSystem(KeepBothName(name, plan.oldComputer, number), system)}, system);
        const TargetState otherState = AssessTarget(other, e.size, e.crc);
        if (otherState == TargetState::Same) {
          out.target = other;
          finish(Outcome::AlreadyThere);
          done = true;
        } else if (otherState == TargetState::Free) {
          const WriteResult w =
              writeEntry(set, e, other, false, system, callbacks, progress, reason);
          if (w == WriteResult::Cancelled) {
            result.cancelled = true;
            return result;
          }
          if (w == WriteResult::TargetExists)
            continue;
          out.target = other;
          if (w == WriteResult::Placed)
            finish(Outcome::KeptBoth);
          else
            finish(Outcome::Failed, reason);
          done = true;
        }
      }
      if (!done) {
        finish(Outcome::Failed, "no free name to keep both");
        done = true;
      }
    }
    if (!done)
      finish(Outcome::Failed, "the target kept changing while it was written");
    // A file already there or not written counts as done too.
    progress.bytesDone = bytesBefore + e.size;
    ++progress.filesDone;
    progress.report();
  }
  return result;
}

}  // namespace tarnwick::restore
