// The restore as the user sees it, for every front end: open the archive (all its parts), show
// the plan (from, to, status), let the user change the mappings, the folder and the conflict
// choice, run with progress and a stop token, and report the outcome with paths and reasons.
// Draws nothing and prints nothing: the Qt window, the Win32 window and the command line drive it
// and answer its conflict question.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/restore/archive_set.h"
#include "core/restore/restore_plan.h"
#include "core/restore/restore_run.h"

namespace tarnwick::app {

// The conflict choice the user makes before the run; Ask puts the question for each conflict.
enum class ConflictPolicy { Ask, KeepBoth, Skip, Replace };

// The question put for one conflict, and its answer. With `forAll` the answer holds for every
// conflict after it in this run.
struct ConflictQuestion {
  std::string text;
  std::string caption;
  std::string existing;  // the path of the file that is there
};
struct ConflictAnswer {
  restore::ConflictChoice choice = restore::ConflictChoice::KeepBoth;
  bool forAll = false;
};

// One row of the plan's list.
struct RestoreRow {
  std::string from;
  std::string to;
  std::string status;
  bool refused = false;
};

// A row whose status needs the file already at its target read: its size and CRC-32 against
// those of the archive's file.
struct ContentCheck {
  std::size_t row = 0;
  std::string path;
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
};

struct PlanRows {
  std::vector<RestoreRow> rows;
  std::vector<ContentCheck> checks;
};

// The final status of a checked row; empty when `stop` was set first.
std::string CheckedStatus(const ContentCheck& check, const std::atomic<bool>* stop = nullptr);

// One line of the outcome: where the file is (or would have gone) and why, for those not
// restored.
struct OutcomeLine {
  std::size_t planIndex = 0;  // the row of the plan
  restore::Outcome outcome = restore::Outcome::Failed;
  std::string from;
  std::string path;
  std::string reason;
};

struct RestoreOutcome {
  std::vector<OutcomeLine> lines;  // in plan order
  std::size_t restored = 0, alreadyThere = 0, keptBoth = 0, skipped = 0, failed = 0;
  std::size_t total = 0;  // files in the plan
  bool cancelled = false;
  std::string summary;  // SummaryText or CancelledText

  // True when every file is in place (restored, already there or kept both).
  bool AllInPlace() const { return !cancelled && skipped == 0 && failed == 0; }
  bool NothingInPlace() const { return restored + alreadyThere + keptBoth == 0 && total > 0; }
};

using RestoreProgress = std::function<void(std::uint64_t filesDone, std::uint64_t filesTotal,
                                           std::uint64_t bytesDone, std::uint64_t bytesTotal)>;

// A progress hook that passes on at most 20 reports a second to `show` (a window posts each one
// to itself and redraws), and always the last one.
RestoreProgress ThrottledRestoreProgress(RestoreProgress show);

struct RestoreHooks {
  std::function<ConflictAnswer(const ConflictQuestion&)> askConflict;  // for ConflictPolicy::Ask
  std::function<void(const std::string& status)> status;               // "Restoring 3 of 20 files"
  RestoreProgress progress;
  std::function<void(const OutcomeLine&)> outcome;  // after each file
  const std::atomic<bool>* stop = nullptr;          // Cancel sets it
};

class RestoreSession {
 public:
  // `here` describes this computer; the default is the running one.
  explicit RestoreSession(restore::HereLayout here = restore::CurrentHereLayout());

  // Opens the archive and its further parts. False with Error() saying why.
  bool Open(const std::vector<std::string>& archives);
  const std::string& Error() const { return error_; }

  bool HasManifest() const { return plan_.hasManifest; }
  const std::string& OldComputer() const { return plan_.oldComputer; }

  // The choices. Each change makes the plan again.
  restore::PlanMode Mode() const { return request_.mode; }
  void SetMode(restore::PlanMode mode);
  const std::string& IntoFolder() const { return request_.intoFolder; }
  void SetIntoFolder(const std::string& folder);
  // The mappings in effect: the defaults of "the same places" and the user's own.
  const std::vector<restore::Mapping>& Mappings() const { return plan_.mappings; }
  // Sends everything below `from` (a folder of the old computer) to `to`. Replaces a mapping of
  // the same `from`.
  void SetMapping(const std::string& from, const std::string& to);
  const std::string& OtherPlacesFolder() const { return plan_.otherPlacesFolder; }
  void SetOtherPlacesFolder(const std::string& folder);
  ConflictPolicy Conflicts() const { return policy_; }
  void SetConflicts(ConflictPolicy policy) { policy_ = policy; }

  // The plan, and why nothing can be planned (empty when it can).
  const restore::RestorePlan& Plan() const { return plan_; }
  const std::string& PlanError() const { return plan_.error; }
  // Warnings to show with the plan (a missing part).
  const std::vector<std::string>& Warnings() const { return plan_.warnings; }

  // The rows of the plan's list, with what is at each target now (this reads files already
  // there to compare them).
  std::vector<RestoreRow> Rows() const;
  // The same rows from names and sizes alone, at once whatever the files: a row whose target
  // holds a file of the same size says kCheckingStatus and is listed in `checks`, for a
  // PlanStatusChecker to compare off the window's thread.
  PlanRows QuickRows() const;

  // Carries out the plan.
  RestoreOutcome Run(const RestoreHooks& hooks);

 private:
  void replan();

  restore::HereLayout here_;
  restore::ArchiveSet set_;
  restore::PlanRequest request_;
  restore::RestorePlan plan_;
  std::vector<restore::Mapping> mappings_;  // the full list the user has changed; empty: defaults
  ConflictPolicy policy_ = ConflictPolicy::KeepBoth;
  std::string error_;
  bool opened_ = false;
};

}  // namespace tarnwick::app
