// tarnwick-cli zip and copy: scan as tarnwick-cli scan does, then archive every match (the
// engine's lines on stdout) or copy every match below DEST with the folder structure kept.
// Exit 0 when every file is in the archive (or copied), 1 when some were left out, 2 when
// nothing was made, 130 when Ctrl+C cancelled (no partial archive is left).
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "app/export/export_session.h"
#include "app/export/outcome_texts.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/scan_options.h"
#include "cli/scan_run.h"
#include "cli/scan_sink.h"
#include "cli/terminal.h"
#include "core/export/file_copy.h"
#include "core/scan/format_size.h"

namespace tarnwick::cli {
namespace {

// Collects the full path of every match while the command line's sink shows the scan's progress
// and warnings.
class CollectingSink final : public SearchSink {
 public:
  explicit CollectingSink(CliScanSink& inner) : inner_(inner) {}
  void OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) override {
    paths.push_back(folder + name);
    inner_.OnMatch(name, folder, size);
  }
  void OnEnterFolder(const std::string& path) override { inner_.OnEnterFolder(path); }
  void OnUnreadable(const std::string& path, const std::string& reason) override {
    unreadable.push_back({path, reason});
    inner_.OnUnreadable(path, reason);
  }
  void Yield() override { inner_.Yield(); }

  std::vector<std::string> paths;
  std::vector<ManifestNote> unreadable;  // folders the scan could not read, and why

 private:
  CliScanSink& inner_;
};

// The progress line on stderr ("12 of 40 files, 3.5 MB of 20 MB"), drawn only when stderr is a
// terminal, at most ten times a second, and cleared before anything else is printed.
class ProgressLine {
 public:
  ProgressLine() : shown_(IsTerminal(stderr)) {}
  void Draw(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
            std::uint64_t bytesTotal) {
    if (!shown_)
      return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - last_ < std::chrono::milliseconds(100))
      return;
    last_ = now;
    std::string line = std::to_string(filesDone) + " of " + std::to_string(filesTotal) +
                       " files, " + FormatSize(bytesDone, ".") + " of " +
                       FormatSize(bytesTotal, ".");
    line.resize(std::max<std::size_t>(line.size(), width()), ' ');
    std::fprintf(stderr, "\r%s\r", line.c_str());
    std::fflush(stderr);
    drawn_ = true;
  }
  void Clear() {
    if (!drawn_)
      return;
    std::fprintf(stderr, "\r%s\r", std::string(width(), ' ').c_str());
    std::fflush(stderr);
    drawn_ = false;
  }

 private:
  static std::size_t width() {
    return static_cast<std::size_t>(std::max(TerminalWidth(stderr) - 1, 20));
  }
  bool shown_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point last_{};
};

struct ScannedFiles {
  std::vector<std::string> paths;
  std::vector<ManifestNote> unreadable;
  std::string scanFolder;  // the folder as the paths begin with it
  int exitCode = -1;       // set when the command ends here
};

ScannedFiles scanFor(const ScanOptions& options) {
  ScannedFiles result;
  CliScanSink sink(gSearch, DisplayRoot(options.folder), /*printRows=*/false);
  CollectingSink collect(sink);
  const ScanOutcome outcome = RunScan(options, collect);
  sink.Finish();
  std::cerr << SummaryLine(gSearch) << std::endl;
  if (outcome.cancelled) {
    result.exitCode = kExitCancelled;
  } else if (sink.RootUnreadable()) {
    result.exitCode = kExitFailure;
  }
  result.paths = std::move(collect.paths);
  result.unreadable = std::move(collect.unreadable);
  result.scanFolder = DisplayRoot(options.folder);
  return result;
}

std::string absolutePath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path abs = fs::absolute(fs::path(std::u8string(path.begin(), path.end())), ec);
  if (ec)
    return path;
  const std::u8string u = abs.lexically_normal().u8string();
  return std::string(u.begin(), u.end());
}

// A line limit that lets a message list every one of `files` and `folders`.
template <class File>
std::size_t allLines(const std::vector<File>& files, const std::vector<ManifestNote>& folders) {
  return std::max(files.size(), folders.size());
}

std::string forTerminal(const std::string& text, bool terminal) {
  return terminal ? TerminalSafe(text) : text;
}

// The export session as the command line runs it: no questions but the overwrite question,
// answered from --overwrite; the engine's lines on stdout; the progress line on stderr; Ctrl+C
// sets the run's stop token.
class CliExportView final : public app::ExportView {
 public:
  explicit CliExportView(bool overwrite) : overwrite_(overwrite) {}

  app::Answer Ask(const app::Question& question) override {
    // Only the copy asks (whether to replace a file); without --overwrite an existing file is
    // kept (and reported), as if answered No.
    if (question.buttons == app::Buttons::YesNoYesToAllCancel)
      return overwrite_ ? app::Answer::YesToAll : app::Answer::No;
    return app::Answer::No;
  }
  std::optional<std::string> AskSaveFile(const app::SaveFileQuestion&) override { return {}; }
  std::optional<std::string> AskFolder(const app::FolderQuestion&) override { return {}; }
  void Open(std::string_view, std::uint64_t, app::StopToken& stop) override {
    cancelOnCtrlC_.emplace(stop.Flag(), true, CancelOnInterrupt::SecondPress::CancelsAgain);
  }
  void Update(const app::RunProgress& p) override {
    progress_.Draw(p.filesDone, p.filesTotal, p.bytesDone, p.bytesTotal);
  }
  void Close() override {
    cancelOnCtrlC_.reset();
    progress_.Clear();
  }
  void ShowStatus(const std::string&) override {}
  // Every line the engine prints reaches stdout as soon as it is printed.
  void OnZipLine(std::string_view line) override {
    progress_.Clear();
    const std::string text = forTerminal(std::string(line), toTerminal_);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }

 private:
  bool overwrite_;
  bool toTerminal_ = IsTerminal(stdout);
  ProgressLine progress_;
  std::optional<CancelOnInterrupt> cancelOnCtrlC_;
};

}  // namespace

int RunZipCommand(const Args& argsIn) {
  // --no-verify and --include-online are the archive's own options; the rest are the scan's.
  Args args;
  bool verify = true;
  bool includeOnline = false;
  for (const auto& a : argsIn) {
    if (a == "--no-verify") {
      verify = false;
    } else if (a == "--include-online") {
      includeOnline = true;
    } else {
      args.push_back(a);
    }
  }
  auto parsed = ParseScanCommandLine(args, 1);
  if (const int* exitCode = std::get_if<int>(&parsed))
    return *exitCode;
  ScanCommandLine& line = std::get<ScanCommandLine>(parsed);
  const std::string archive = line.leading[0];
  if (archive.empty())
    return UsageError("ARCHIVE is empty");
  // Entry names are the files' full paths without their root, as in the desktop program: the
  // scan starts from the folder's absolute path.
  line.options.folder = RootFolderOf(absolutePath(line.options.folder));

  ScannedFiles scanned = scanFor(line.options);
  if (scanned.exitCode >= 0)
    return scanned.exitCode;

  ManifestInput manifest;
  manifest.header = ThisComputerHeader();
  manifest.header.scanFolder = scanned.scanFolder;
  manifest.header.patterns = line.options.patterns;
  manifest.header.excludeTemporary = line.options.ignoreTemp;
  manifest.header.excludeSystem = line.options.ignoreSys;
  manifest.unreadableFolders = scanned.unreadable;

  CliExportView view(false);
  app::ExportOptions options;
  // Not archived under this row: the outcome below counts it as missing (exit 1).
  options.onAddFailed = [](const std::string& path, const std::string& why) {
    std::cerr << "tarnwick-cli: " << why << ": " << path << "\n";
  };
  options.verify = verify;
  options.includeOnline = includeOnline;
  options.manifest = &manifest;
  app::ExportSession session(view, std::move(options));
  const app::ArchiveOutcome outcome = session.Archive(archive, scanned.paths);

  const ZipReport& report = outcome.report;
  if (report.cancelled) {
    std::cerr << "tarnwick-cli: cancelled; no archive was written\n";
    return kExitCancelled;
  }
  if (!report.archiveWritten) {
    std::cerr << "tarnwick-cli: no archive was made"
              << (report.failure.empty() ? "" : ": " + report.failure) << "\n";
    return kExitFailure;
  }
  // The whole list: every file not in the archive and every folder the scan could not read.
  std::cerr << forTerminal(ArchiveOutcomeMessage(archive, scanned.paths.size(), report,
                                                 allLines(report.skipped, scanned.unreadable),
                                                 scanned.unreadable),
                           IsTerminal(stderr))
            << "\n";
  return outcome.resultCode == kZipOk && ArchivedAll(report, scanned.paths.size()) ? kExitOk
                                                                                   : kExitPartial;
}

int RunCopyCommand(const Args& argsIn) {
  // --overwrite and --include-online are the copy's own options; the rest are the scan's.
  Args args;
  bool overwrite = false;
  bool includeOnline = false;
  for (const auto& a : argsIn) {
    if (a == "--overwrite") {
      overwrite = true;
    } else if (a == "--include-online") {
      includeOnline = true;
    } else {
      args.push_back(a);
    }
  }
  auto parsed = ParseScanCommandLine(args, 1);
  if (const int* exitCode = std::get_if<int>(&parsed))
    return *exitCode;
  const ScanCommandLine& line = std::get<ScanCommandLine>(parsed);
  if (line.leading[0].empty())
    return UsageError("DEST is empty");
  const std::string dest = RootFolderOf(line.leading[0]);

  ScannedFiles scanned = scanFor(line.options);
  if (scanned.exitCode >= 0)
    return scanned.exitCode;
  if (scanned.paths.empty()) {
    std::cerr << "tarnwick-cli: no files to copy\n";
    return kExitFailure;
  }

  CliExportView view(overwrite);
  app::ExportOptions options;
  options.includeOnline = includeOnline;
  app::ExportSession session(view, std::move(options));
  const app::CopyOutcome outcome = session.Copy(scanned.paths, scanned.scanFolder, dest);
  const CopyReport& report = outcome.report;
  const bool toTerminal = IsTerminal(stdout);
  for (const auto& item : report.copied) {
    std::cout << "  copied: " << forTerminal(item.destination, toTerminal) << "\n";
  }
  std::cout.flush();
  if (report.cancelled) {
    std::cerr << "tarnwick-cli: cancelled; " << report.copied.size() << " of "
              << scanned.paths.size() << " files were copied\n";
    return kExitCancelled;
  }
  std::cerr << forTerminal(
                   CopyOutcomeMessage(dest, report, allLines(report.notCopied, scanned.unreadable),
                                      scanned.unreadable),
                   IsTerminal(stderr))
            << "\n";
  if (report.AllCopied())
    return kExitOk;
  return report.copied.empty() ? kExitFailure : kExitPartial;
}

}  // namespace tarnwick::cli
