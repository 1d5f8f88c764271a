#include "app/export/export_session.h"

#include <exception>

#include "app/export/outcome_texts.h"
#include "app/questions/texts.h"
#include "app/scan/scan_session.h"
#include "core/export/cgzip_files.h"
#include "core/export/export_paths.h"
#include "core/platform/system.h"
#include "core/scan/search_state.h"
#include "core/settings/app_state.h"

namespace tarnwick::app {
namespace {

RunProgress toRun(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
                  std::uint64_t bytesTotal) {
  return RunProgress{filesDone, filesTotal, bytesDone, bytesTotal};
}

// Closes the progress window however the run ends.
class OpenProgress {
 public:
  OpenProgress(ProgressView& view, std::string_view title, std::uint64_t files, StopToken& stop)
      : view_(view) {
    view_.Open(title, files, stop);
  }
  ~OpenProgress() { view_.Close(); }
  OpenProgress(const OpenProgress&) = delete;
  OpenProgress& operator=(const OpenProgress&) = delete;

 private:
  ProgressView& view_;
};

OverwriteAnswer toOverwrite(Answer answer) {
  switch (answer) {
    case Answer::Yes:
      return OverwriteAnswer::Yes;
    case Answer::No:
      return OverwriteAnswer::No;
    case Answer::YesToAll:
      return OverwriteAnswer::YesToAll;
    case Answer::Ok:
    case Answer::Cancel:
      break;
  }
  return OverwriteAnswer::Cancel;
}

// The status bar shows the engine's "adding" and "updating" lines, without their line break.
bool isStatusLine(std::string_view line) {
  return line.starts_with("adding") || line.starts_with("updating");
}

}  // namespace

std::string FailedText(const std::string& why) {
  return std::string(texts::kFailedToZip) + why;
}

SaveFileQuestion ArchivePathQuestion() {
  SaveFileQuestion question;
  question.title = texts::kSaveTitle;
  question.filter = texts::kSaveFilter;
  question.filterPattern = texts::kSaveFilterPattern;
  question.defaultExtension = texts::kSaveExtension;
  question.initialFolder = platform::ExecutableFolder();
  question.proposedName = platform::ComputerName();
  question.confirmOverwrite = true;
  return question;
}

ExportSession::ExportSession(ExportView& view, ExportOptions options)
    : view_(view), options_(std::move(options)), unreadable_(options_.unreadableFolders) {}

std::optional<std::string> ExportSession::AskArchivePath() {
  const std::optional<std::string> chosen = view_.AskSaveFile(ArchivePathQuestion());
  if (!chosen || chosen->empty())
    return std::nullopt;
  // The dialog adds "zip" only to a name typed without an extension; a name with another
  // extension keeps it and gets ".zip" after it, so the archive is always a .zip file.
  return WithZipExtension(*chosen);
}

ArchiveOutcome ExportSession::Archive(const std::string& archivePath,
                                      const std::vector<std::string>& files) {
  ArchiveOutcome outcome;
  outcome.listed = files.size();
  CGZipFiles zip;
  zip.SetZipFileName(archivePath);
  // An archive already at the path stays until the new one is complete and takes its place, so
  // a failed or cancelled export leaves it as it was.
  view_.ShowStatus(std::string(texts::kAddingFiles));
  for (const std::string& file : files) {
    try {
      zip.AddFile(file);
    } catch (const ZipBuilderError& e) {
      if (options_.onAddFailed) {
        options_.onAddFailed(file, e.Description());
        continue;
      }
      view_.Ask(MakeQuestion(FailedText(e.Description() + "\n\n" + file), Icon::Exclamation));
      outcome.addFailed = true;
      return outcome;
    }
  }

  view_.ShowStatus(std::string(texts::kCreatingZip));
  StopToken stop;
  {
    const OpenProgress progress(view_, texts::kArchivingFiles,
                                static_cast<std::uint64_t>(zip.ZipFileCount()), stop);
    zip.SetCancelFlag(&stop.Flag());
    zip.SetProgressCallback([this, verifying = false](const ZipProgress& p) mutable {
      if (p.verifying && !verifying) {
        verifying = true;
        view_.ShowStatus(std::string(texts::kVerifying));
      }
      view_.Update(toRun(p.filesDone, p.filesTotal, p.bytesDone, p.bytesTotal));
    });
    zip.SetLineCallback([this](std::string_view line) {
      view_.OnZipLine(line);
      if (isStatusLine(line)) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
          line.remove_suffix(1);
        view_.ShowStatus(std::string(line));
      }
    });
    zip.SetFileSource(options_.files);
    zip.SetThreads(options_.threads);
    zip.SetVerify(options_.verify);
    zip.SetIncludeOnline(options_.includeOnline);
    zip.SetVolumes(options_.volumes);
    ManifestInput manifest;
    if (options_.manifest != nullptr) {
      manifest = *options_.manifest;
    } else {
      manifest.header = ThisComputerHeader();
      manifest.header.scanFolder = gRootFolder;
      manifest.header.patterns = gExtensions;
      manifest.header.excludeTemporary = gbIgnoreTemp;
      manifest.header.excludeSystem = gbIgnoreSys;
      manifest.unreadableFolders = unreadable_;
    }
    outcome.unreadableFolders = manifest.unreadableFolders;
    zip.SetManifest(&manifest);
    outcome.resultCode = zip.MakeZipFile();
  }
  outcome.report = zip.LastReport();
  if (outcome.report.tooLarge && outcome.report.fileSizeLimit) {
    outcome.report.targetProblem = TooLargeForTargetText(
        *outcome.report.tooLarge, *outcome.report.fileSizeLimit, outcome.report.fileSystem);
    outcome.report.failure = outcome.report.targetProblem;
  }
  return outcome;
}

bool ExportSession::offersDownload(const std::vector<std::string>& onlineOnly) const {
  return !options_.includeOnline && !onlineOnly.empty();
}

Question ExportSession::ArchiveOutcomeQuestion(const std::string& archivePath,
                                               const ArchiveOutcome& outcome) const {
  const bool whole =
      ArchivedAll(outcome.report, outcome.listed) && outcome.unreadableFolders.empty();
  Question q = MakeQuestion(ArchiveOutcomeMessage(archivePath, outcome.listed, outcome.report,
                                                  kOutcomeLinesShown, outcome.unreadableFolders),
                            whole ? Icon::Information : Icon::Exclamation);
  q.details = ArchiveDetails(outcome.report, outcome.unreadableFolders);
  if (offersDownload(OnlineOnlyFiles(outcome.report)))
    q.checkBox = texts::kDownloadOnlineCheckBox;
  return q;
}

void ExportSession::AskArchiveOutcome(const std::string& archivePath,
                                      const std::vector<std::string>& files,
                                      const ArchiveOutcome& outcome) {
  const Question question = ArchiveOutcomeQuestion(archivePath, outcome);
  const Reply reply = view_.AskWithCheckBox(question);
  if (question.checkBox.empty() || !reply.checked)
    return;
  options_.includeOnline = true;
  const ArchiveOutcome again = Archive(archivePath, files);
  if (again.addFailed || again.report.cancelled)
    return;
  if (again.report.archiveWritten) {
    view_.Ask(ArchiveOutcomeQuestion(archivePath, again));
    return;
  }
  const std::string& why = again.report.failure;
  view_.Ask(MakeQuestion(FailedText(why.empty() ? std::string(texts::kUnknownError) : why),
                         Icon::Exclamation));
}

CopyOutcome ExportSession::Copy(const std::vector<std::string>& files,
                                const std::string& scanFolder,
                                const std::string& destinationFolder) {
  CopyOutcome outcome;
  outcome.migrationFolder = destinationFolder;
  outcome.unreadableFolders = unreadable_;
  std::vector<CopyItem> items;
  items.reserve(files.size());
  for (const std::string& file : files)
    items.push_back({file, MigrationDestination(file, scanFolder, destinationFolder)});

  StopToken stop;
  const OpenProgress progress(view_, texts::kCopyingFiles, items.size(), stop);
  CopyControl control;
  control.cancel = &stop.Flag();
  control.files = options_.files;
  control.includeOnline = options_.includeOnline;
  // The folder is made, and its drive checked, before any file is copied.
  control.targetFolder = destinationFolder;
  control.volumes = options_.volumes;
  control.progress = [this](const CopyProgress& p) {
    view_.Update(toRun(p.filesDone, p.filesTotal, p.bytesDone, p.bytesTotal));
  };
  control.askOverwrite = [this](const std::string& destination) {
    return toOverwrite(view_.Ask(MakeQuestion(
        std::string(texts::kOverwriteBefore) + destination + std::string(texts::kOverwriteAfter),
        Icon::Question, Buttons::YesNoYesToAllCancel)));
  };
  outcome.report = CopyFiles(items, control);
  return outcome;
}

Question ExportSession::CopyOutcomeQuestion(const CopyOutcome& outcome) const {
  const bool whole = outcome.report.AllCopied() && outcome.unreadableFolders.empty();
  Question q = MakeQuestion(CopyOutcomeMessage(outcome.migrationFolder, outcome.report,
                                               kOutcomeLinesShown, outcome.unreadableFolders),
                            whole ? Icon::Information : Icon::Exclamation);
  q.details = CopyDetails(outcome.report, outcome.unreadableFolders);
  if (offersDownload(OnlineOnlyFiles(outcome.report)))
    q.checkBox = texts::kDownloadOnlineCheckBox;
  return q;
}

void ExportSession::AskCopyOutcome(const CopyOutcome& outcome, const std::string& scanFolder) {
  const Question question = CopyOutcomeQuestion(outcome);
  const Reply reply = view_.AskWithCheckBox(question);
  if (question.checkBox.empty() || !reply.checked)
    return;
  options_.includeOnline = true;
  const CopyOutcome again =
      Copy(OnlineOnlyFiles(outcome.report), scanFolder, outcome.migrationFolder);
  if (!again.report.cancelled)
    view_.Ask(CopyOutcomeQuestion(again));
}

// Returns whether the results count as saved: an archive was written, or the archive failed and
// the copy question was asked.
bool ExportSession::exportFiles(const std::vector<std::string>& files,
                                const std::string& scanFolder) {
  const std::optional<std::string> archivePath = AskArchivePath();
  if (!archivePath)
    return false;
  const ArchiveOutcome outcome = Archive(*archivePath, files);
  if (outcome.addFailed)
    return false;
  if (outcome.report.cancelled)
    return false;  // nothing was written; as if the dialog had been cancelled
  if (outcome.report.archiveWritten) {
    AskArchiveOutcome(*archivePath, files, outcome);
    return true;
  }
  // Why there is no archive, on the status bar before the question (whose text stays as it is).
  if (!outcome.report.failure.empty())
    view_.ShowStatus(FailedText(outcome.report.failure));
  if (view_.Ask(MakeQuestion(std::string(texts::kZipFailedQuestion), Icon::Question,
                             Buttons::YesNo)) == Answer::Yes) {
    const CopyOutcome copied = Copy(files, scanFolder, MigrationFolder(*archivePath));
    AskCopyOutcome(copied, scanFolder);
  }
  return true;
}

void ExportSession::Export(ScanSession& scan) {
  scan.mbExporting = true;
  bool saved = false;
  try {
    unreadable_.clear();
    for (const auto& folder : scan.UnreadableFolders())
      unreadable_.push_back({folder.path, folder.reason});
    saved = exportFiles(scan.Rows().FullPaths(), gRootFolder);
  } catch (const std::exception& e) {
    view_.Ask(MakeQuestion(FailedText(e.what()), Icon::Exclamation));
  } catch (...) {
    view_.Ask(MakeQuestion(FailedText(std::string(texts::kUnknownError)), Icon::Exclamation));
  }
  if (saved)
    scan.mbSaved = true;
  view_.ShowStatus(std::string(texts::kDone));
  scan.mbExporting = false;
}

}  // namespace tarnwick::app
