// Carrying out a restore plan: each file written to a temporary name in its folder while its
// CRC-32 is checked, put in place only when whole, with its modification time. A file already
// there with the same size and CRC-32 is left as it is; a different one is never replaced
// silently.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/restore/archive_set.h"
#include "core/restore/restore_plan.h"

namespace tarnwick::restore {

// What to do when a different file is already where a restored file goes.
enum class ConflictChoice {
  KeepBoth,  // the restored file gets " (from OLDPC)" before its extension
  Skip,      // the file there stays, the restored one is not written
  Replace,   // the restored file takes its place
};

enum class Outcome { Restored, AlreadyThere, KeptBoth, Skipped, Failed };

// What is at a planned target now.
enum class TargetState { Free, Same, Different, NotAFile };

struct EntryOutcome {
  std::size_t planIndex = 0;
  Outcome outcome = Outcome::Failed;
  std::string target;  // where the file is now (the other name for KeptBoth)
  std::string reason;  // for Skipped and Failed, and "replaced" for a replaced file
};

struct RunCallbacks {
  // Asked for each file that meets a different one; nothing set: keep both.
  std::function<ConflictChoice(const PlanEntry& entry, const std::string& existing)> onConflict;
  // After each entry.
  std::function<void(const EntryOutcome&)> onOutcome;
  // Files and bytes done of the total, after each piece written.
  std::function<void(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
                     std::uint64_t bytesTotal)>
      onProgress;
  const std::atomic<bool>* cancel = nullptr;  // set: stop; nothing half-written is left
};

struct RunResult {
  std::vector<EntryOutcome> outcomes;  // one per planned entry done, in plan order
  bool cancelled = false;
};

// Whether `path` is free, holds the same file (size and CRC-32), a different one, or something
// that is not an ordinary file.
TargetState AssessTarget(const std::string& path, std::uint64_t size, std::uint32_t crc);

// What AssessTarget would say, from the entry at `path` and its size alone (no file's content is
// read): nothing when an ordinary file of that size is there, since only its CRC-32 can tell.
std::optional<TargetState> AssessTargetBySize(const std::string& path, std::uint64_t size);
// The rest of AssessTarget for a file of the same size: Same or Different by its CRC-32; nothing
// when `stop` was set while the file was read.
std::optional<TargetState> CompareContent(const std::string& path, std::uint64_t size,
                                          std::uint32_t crc,
                                          const std::atomic<bool>* stop = nullptr);

RunResult RunRestore(const ArchiveSet& set, const RestorePlan& plan, const RunCallbacks& callbacks);

}  // namespace tarnwick::restore
