#include "app/restore/restore_session.h"

#include <chrono>
#include <memory>

#include "app/restore/restore_texts.h"

namespace tarnwick::app {

RestoreProgress ThrottledRestoreProgress(RestoreProgress show) {
  auto last = std::make_shared<std::chrono::steady_clock::time_point>();
  return [show = std::move(show), last](std::uint64_t fd, std::uint64_t ft, std::uint64_t bd,
                                        std::uint64_t bt) {
    const auto now = std::chrono::steady_clock::now();
    if (*last != std::chrono::steady_clock::time_point{} &&
        now - *last < std::chrono::milliseconds(50) && fd < ft)
      return;
    *last = now;
    show(fd, ft, bd, bt);
  };
}

RestoreSession::RestoreSession(restore::HereLayout here) : here_(std::move(here)) {}

bool RestoreSession::Open(const std::vector<std::string>& archives) {
  opened_ = restore::OpenArchiveSet(archives, set_, error_);
  if (opened_)
    replan();
  return opened_;
}

void RestoreSession::replan() {
  if (!opened_)
    return;
  request_.mappings = mappings_;
  plan_ = restore::MakePlan(set_, request_, here_);
  if (mappings_.empty())
    mappings_ = plan_.mappings;
}

void RestoreSession::SetMode(restore::PlanMode mode) {
  request_.mode = mode;
  replan();
}

void RestoreSession::SetIntoFolder(const std::string& folder) {
  request_.intoFolder = folder;
  replan();
}

void RestoreSession::SetMapping(const std::string& from, const std::string& to) {
  if (mappings_.empty())
    mappings_ = plan_.mappings;
  bool found = false;
  for (auto& m : mappings_) {
    if (m.from == from) {
      m.to = to;
      m.byUser = true;
      found = true;
    }
  }
  if (!found)
    mappings_.push_back({from, to, {}, true});
  replan();
}

void RestoreSession::SetOtherPlacesFolder(const std::string& folder) {
  request_.otherPlacesFolder = folder;
  replan();
}

PlanRows RestoreSession::QuickRows() const {
  PlanRows out;
  out.rows.reserve(plan_.entries.size());
  for (const auto& e : plan_.entries) {
    RestoreRow row;
    row.from = e.from;
    row.to = e.target;
    row.refused = !e.refusal.empty();
    if (row.refused) {
      row.status = e.refusal;
    } else if (e.isFolder) {
      row.status = "folder";
    } else if (const auto state = restore::AssessTargetBySize(e.target, e.size)) {
      row.status = PlanStatusText(*state);
    } else {
      row.status = kCheckingStatus;
      out.checks.push_back({out.rows.size(), e.target, e.size, e.crc});
    }
    out.rows.push_back(std::move(row));
  }
  return out;
}

std::vector<RestoreRow> RestoreSession::Rows() const {
  PlanRows planRows = QuickRows();
  for (const auto& check : planRows.checks)
    planRows.rows[check.row].status = CheckedStatus(check);
  return std::move(planRows.rows);
}

std::string CheckedStatus(const ContentCheck& check, const std::atomic<bool>* stop) {
  const auto state = restore::CompareContent(check.path, check.size, check.crc, stop);
  return state ? PlanStatusText(*state) : std::string();
}

RestoreOutcome RestoreSession::Run(const RestoreHooks& hooks) {
  RestoreOutcome outcome;
  for (const auto& e : plan_.entries) {
    if (!e.isFolder)
      ++outcome.total;
  }
  // The choice for all conflicts, once the user gives one "for all".
  std::optional<restore::ConflictChoice> forAll;
  switch (policy_) {
    case ConflictPolicy::KeepBoth:
      forAll = restore::ConflictChoice::KeepBoth;
      break;
    case ConflictPolicy::Skip:
      forAll = restore::ConflictChoice::Skip;
      break;
    case ConflictPolicy::Replace:
      forAll = restore::ConflictChoice::Replace;
      break;
    case ConflictPolicy::Ask:
      break;
  }
  restore::RunCallbacks callbacks;
  callbacks.cancel = hooks.stop;
  callbacks.onConflict = [&](const restore::PlanEntry&, const std::string& existing) {
    if (forAll || !hooks.askConflict)
      return forAll.value_or(restore::ConflictChoice::KeepBoth);
    const ConflictAnswer answer = hooks.askConflict(
        {ConflictQuestionText(existing, plan_.oldComputer), kConflictCaption, existing});
    if (answer.forAll)
      forAll = answer.choice;
    return answer.choice;
  };
  callbacks.onProgress = [&](std::uint64_t filesDone, std::uint64_t filesTotal,
                             std::uint64_t bytesDone, std::uint64_t bytesTotal) {
    if (hooks.progress)
      hooks.progress(filesDone, filesTotal, bytesDone, bytesTotal);
    if (hooks.status)
      hooks.status(RestoringText(std::min(filesDone + 1, filesTotal), filesTotal));
  };
  callbacks.onOutcome = [&](const restore::EntryOutcome& o) {
    const restore::PlanEntry& e = plan_.entries[o.planIndex];
    OutcomeLine line{o.planIndex, o.outcome, e.from, o.target.empty() ? e.target : o.target,
                     o.reason};
    switch (o.outcome) {
      case restore::Outcome::Restored:
        ++outcome.restored;
        break;
      case restore::Outcome::AlreadyThere:
        ++outcome.alreadyThere;
        break;
      case restore::Outcome::KeptBoth:
        ++outcome.keptBoth;
        break;
      case restore::Outcome::Skipped:
        ++outcome.skipped;
        break;
      case restore::Outcome::Failed:
        ++outcome.failed;
        break;
    }
    if (hooks.outcome)
      hooks.outcome(line);
    outcome.lines.push_back(std::move(line));
  };
  const restore::RunResult result = restore::RunRestore(set_, plan_, callbacks);
  outcome.cancelled = result.cancelled;
  outcome.summary = result.cancelled
                        ? CancelledText(outcome.lines.size(), outcome.total)
                        : SummaryText(outcome.restored, outcome.alreadyThere, outcome.keptBoth,
                                      outcome.skipped, outcome.failed);
  return outcome;
}

}  // namespace tarnwick::app
