// tarnwick-cli restore: puts the files of an archive (all its parts) back on this computer, in
// their old places mapped onto this one or below --to FOLDER. Prints the plan, then each file
// that was not simply restored, then the summary. Exit 0 when every file is in place, 1 when some
// were not restored, 2 when nothing could be done, 130 on Ctrl+C (no half-written file is left).
#include <atomic>
#include <iostream>
#include <string>
#include <vector>

#include "app/restore/restore_session.h"
#include "app/restore/restore_texts.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/terminal.h"

namespace tarnwick::cli {
namespace {

struct RestoreCommandLine {
  std::vector<std::string> archives;
  std::string into;
  std::vector<std::pair<std::string, std::string>> maps;
  app::ConflictPolicy conflicts = app::ConflictPolicy::KeepBoth;
  bool dryRun = false;
};

const char* kRestoreUsage =
    "usage: tarnwick-cli restore ARCHIVE... [--to FOLDER] [--map FROM=TO]...\n"
    "                            [--conflict skip|replace|keep-both] [--dry-run]\n";

// Nothing when the command line is not usable (the usage error is printed).
std::optional<RestoreCommandLine> parse(const Args& args, int& exitCode) {
  RestoreCommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&](const char* option) -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        exitCode = UsageError(std::string(option) + " needs a value");
        return std::nullopt;
      }
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      std::cout << kRestoreUsage;
      exitCode = kExitOk;
      return std::nullopt;
    } else if (a == "--to") {
      auto v = value("--to");
      if (!v)
        return std::nullopt;
      line.into = *v;
    } else if (a == "--map") {
      auto v = value("--map");
      if (!v)
        return std::nullopt;
      const std::size_t eq = v->find('=');
      if (eq == std::string::npos || eq == 0 || eq + 1 == v->size()) {
        exitCode = UsageError("--map needs FROM=TO");
        return std::nullopt;
      }
      line.maps.emplace_back(v->substr(0, eq), v->substr(eq + 1));
    } else if (a == "--conflict") {
      auto v = value("--conflict");
      if (!v)
        return std::nullopt;
      if (*v == "skip")
        line.conflicts = app::ConflictPolicy::Skip;
      else if (*v == "replace")
        line.conflicts = app::ConflictPolicy::Replace;
      else if (*v == "keep-both")
        line.conflicts = app::ConflictPolicy::KeepBoth;
      else {
        exitCode = UsageError("--conflict takes skip, replace or keep-both");
        return std::nullopt;
      }
    } else if (a == "--dry-run") {
      line.dryRun = true;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      exitCode = UsageError("unknown option: " + a);
      return std::nullopt;
    } else {
      line.archives.push_back(a);
    }
  }
  if (line.archives.empty()) {
    exitCode = UsageError("no archive given");
    return std::nullopt;
  }
  return line;
}

}  // namespace

int RunRestoreCommand(const Args& args) {
  int exitCode = kExitFailure;
  const auto parsed = parse(args, exitCode);
  if (!parsed)
    return exitCode;
  const RestoreCommandLine& line = *parsed;
  PrepareConsoleOutput();
  const bool outTerminal = IsTerminal(stdout);
  const bool errTerminal = IsTerminal(stderr);
  const auto out = [&](const std::string& s) { return outTerminal ? TerminalSafe(s) : s; };
  const auto err = [&](const std::string& s) { return errTerminal ? TerminalSafe(s) : s; };

  app::RestoreSession session;
  if (!session.Open(line.archives)) {
    std::cerr << "tarnwick-cli: " << err(session.Error()) << "\n";
    return kExitFailure;
  }
  if (!line.into.empty()) {
    session.SetIntoFolder(line.into);
    session.SetMode(restore::PlanMode::IntoFolder);
  }
  for (const auto& [from, to] : line.maps)
    session.SetMapping(from, to);
  session.SetConflicts(line.conflicts);
  for (const auto& w : session.Warnings())
    std::cerr << "tarnwick-cli: " << err(w) << "\n";
  if (!session.PlanError().empty()) {
    std::cerr << "tarnwick-cli: " << err(session.PlanError()) << "\n";
    return kExitFailure;
  }

  // The plan: one line per file, "FROM -> TO  [status]".
  const std::vector<app::RestoreRow> rows = session.Rows();
  for (const auto& row : rows) {
    std::cout << out(row.from) << " -> " << out(row.to.empty() ? "-" : row.to) << "  ["
              << out(row.status) << "]\n";
  }
  std::cout.flush();
  if (line.dryRun)
    return kExitOk;

  std::atomic<bool> stop{false};
  app::RestoreHooks hooks;
  hooks.stop = &stop;
  hooks.outcome = [&](const app::OutcomeLine& o) {
    if (o.outcome == restore::Outcome::Restored && o.reason.empty())
      return;
    std::ostream& stream =
        o.outcome == restore::Outcome::Failed || o.outcome == restore::Outcome::Skipped ? std::cerr
                                                                                        : std::cout;
    stream << app::OutcomeWord(o.outcome) << ": " << err(o.path.empty() ? o.from : o.path)
           << (o.reason.empty() ? "" : " (" + err(o.reason) + ")") << "\n";
  };
  app::RestoreOutcome outcome;
  {
    const CancelOnInterrupt cancelOnCtrlC(stop, true, CancelOnInterrupt::SecondPress::CancelsAgain);
    outcome = session.Run(hooks);
  }
  std::cerr << err(outcome.summary) << "\n";
  if (outcome.cancelled)
    return kExitCancelled;
  if (outcome.AllInPlace())
    return kExitOk;
  return outcome.NothingInPlace() ? kExitFailure : kExitPartial;
}

}  // namespace tarnwick::cli
