// Every text the restore shows, in one place: the statuses of the plan's rows, the outcome words,
// the conflict question and the summary lines.
#pragma once

#include <cstdint>
#include <string>

#include <vector>

#include "core/restore/restore_run.h"

namespace tarnwick::app {

struct OutcomeLine;

// What a row of the plan says before the restore: "new", "already there", "a different file is
// there", or why the file is not restored.
std::string PlanStatusText(restore::TargetState state);
// What such a row says while the file already there is being compared with the archive's.
inline constexpr const char* kCheckingStatus = "checking...";

// "restored", "already there", "kept both", "skipped", "failed".
const char* OutcomeWord(restore::Outcome outcome);

// The conflict question: a different file is already where a restored one goes.
std::string ConflictQuestionText(const std::string& existing, const std::string& oldComputer);
inline constexpr const char* kConflictCaption = "File already there";
inline constexpr const char* kKeepBothButton = "Keep both";
inline constexpr const char* kSkipButton = "Skip";
inline constexpr const char* kReplaceButton = "Replace";
inline constexpr const char* kForAllCheck = "Do this for all remaining conflicts";

// Window and command texts of the restore.
inline constexpr const char* kRestoreCommand = "Restore...";
inline constexpr const char* kRestoreWindowTitle = "Restore";
inline constexpr const char* kOpenArchiveTitle = "Open the archive to restore";
inline constexpr const char* kArchiveFilter = "Zip files (*.zip)";
inline constexpr const char* kArchivePattern = "*.zip";
inline constexpr const char* kChooseFolderTitle = "Restore into a folder";
inline constexpr const char* kSamePlacesChoice = "Restore to the same places";
inline constexpr const char* kIntoFolderChoice = "Restore into a folder";
inline constexpr const char* kOtherPlacesLabel = "Other drives and folders";
inline constexpr const char* kStartButton = "Restore";
inline constexpr const char* kCloseButton = "Close";
inline constexpr const char* kCancelButton = "Cancel";
inline constexpr const char* kColumnFrom = "From";
inline constexpr const char* kColumnTo = "To";
inline constexpr const char* kColumnStatus = "Status";
inline constexpr const char* kConflictLabel = "When a different file is already there:";
inline constexpr const char* kAskChoice = "Ask";

// The outcome's details: one line per file, "restored: PATH", "skipped: PATH (REASON)".
std::string OutcomeDetails(const std::vector<OutcomeLine>& lines);

// "Restoring 3 of 20 files"
std::string RestoringText(std::uint64_t done, std::uint64_t total);

// "12 restored, 3 already there, 1 kept both, 0 skipped, 2 failed."
std::string SummaryText(std::size_t restored, std::size_t alreadyThere, std::size_t keptBoth,
                        std::size_t skipped, std::size_t failed);

// "Restore cancelled after 5 of 20 files; nothing half-written was left."
std::string CancelledText(std::size_t done, std::size_t total);

}  // namespace tarnwick::app
