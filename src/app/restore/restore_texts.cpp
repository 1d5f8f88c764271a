#include "app/restore/restore_texts.h"

#include "app/restore/restore_session.h"

namespace tarnwick::app {

std::string PlanStatusText(restore::TargetState state) {
  switch (state) {
    case restore::TargetState::Free:
      return "new";
    case restore::TargetState::Same:
      return "already there";
    case restore::TargetState::Different:
      return "a different file is there";
    case restore::TargetState::NotAFile:
      return "a folder or other entry has that name";
  }
  return {};
}

const char* OutcomeWord(restore::Outcome outcome) {
  switch (outcome) {
    case restore::Outcome::Restored:
      return "restored";
    case restore::Outcome::AlreadyThere:
      return "already there";
    case restore::Outcome::KeptBoth:
      return "kept both";
    case restore::Outcome::Skipped:
      return "skipped";
    case restore::Outcome::Failed:
      return "failed";
  }
  return "";
}

std::string ConflictQuestionText(const std::string& existing, const std::string& oldComputer) {
  return "A different file is already at \"" + existing +
         "\".\n\nKeep both (the restored file gets \" (from " + oldComputer +
         ")\" in its name), skip the restored file, or replace the file that is there?";
}

std::string RestoringText(std::uint64_t done, std::uint64_t total) {
  return "Restoring " + std::to_string(done) + " of " + std::to_string(total) + " files";
}

std::string SummaryText(std::size_t restored, std::size_t alreadyThere, std::size_t keptBoth,
                        std::size_t skipped, std::size_t failed) {
  return std::to_string(restored) + " restored, " + std::to_string(alreadyThere) +
         " already there, " + std::to_string(keptBoth) + " kept both, " + std::to_string(skipped) +
         " skipped, " + std::to_string(failed) + " failed.";
}

std::string CancelledText(std::size_t done, std::size_t total) {
  return "Restore cancelled after " + std::to_string(done) + " of " + std::to_string(total) +
         " files; nothing half-written was left.";
}

std::string OutcomeDetails(const std::vector<OutcomeLine>& lines) {
  std::string details;
  for (const auto& line : lines) {
    details += OutcomeWord(line.outcome);
    details += ": ";
    details += line.path.empty() ? line.from : line.path;
    if (!line.reason.empty())
      details += " (" + line.reason + ")";
    details += '\n';
  }
  return details;
}

}  // namespace tarnwick::app
