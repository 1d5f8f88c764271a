#include "gui/export/export_command.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <exception>
#include <string>
#include <vector>

#include "app/export/outcome_texts.h"
#include "core/common/ui_hooks.h"
#include "core/export/cgzip_files.h"
#include "core/scan/search_state.h"
#include "gui/common/prompts.h"
#include "gui/controls/status_bar.h"
#include "gui/export/archive_path_dialog.h"
#include "gui/export/copy_fallback.h"
#include "gui/export/progress_window.h"
#include "gui/scan/frm_scan.h"
#include "gui/scan/scan_globals.h"

namespace tarnwick::gui {
namespace {

const platform::FileSource* gExportFileSource = nullptr;
constexpr qint64 kPumpEveryMs = 10;

// Writes a progress text into the scan window's status bar and lets the window repaint.
void showStatus(const QString& text) {
  SetStatusText(ghStatusBar, 0, SBT_SUNKEN, text);
  QCoreApplication::processEvents();
}

// The full path of every row, in list order: the Path text followed by the Filename text, as the
// exact bytes the scan stored, so that every file can be opened again.
std::vector<std::string> listedFiles(const clsListView& list) {
  std::vector<std::string> files;
  const int rows = list.ListCount();
  files.reserve(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row)
    files.push_back(list.SubItemUtf8(row, 1) + list.SubItemUtf8(row, 0));
  return files;
}

QString failedText(const std::string& why) {
  return QStringLiteral("Failed to zip files: ") + QString::fromStdString(why);
}

// Makes the archive with a progress window. The report says what is in it.
ZipReport makeArchive(frmScan& window, CGZipFiles& zip) {
  ProgressWindow progress(&window, QStringLiteral("Archiving files"),
                          static_cast<std::uint64_t>(zip.ZipFileCount()));
  zip.SetCancelFlag(&progress.CancelFlag());
  zip.SetProgressCallback([&progress](const ZipProgress& p) {
    progress.Update(p.filesDone, p.filesTotal, p.bytesDone, p.bytesTotal);
  });
  zip.SetFileSource(gExportFileSource);
  zip.MakeZipFile();
  zip.SetCancelFlag(nullptr);
  zip.SetProgressCallback({});
  return zip.LastReport();
}

}  // namespace

void InstallExportCommand() {
  // The engine yields after every file it archives or copies, thousands of times a second with
  // small files; letting events run at most every 10 ms keeps the windows just as responsive
  // without repainting the status bar for every file.
  SetPumpHook([clock = QElapsedTimer()]() mutable {
    if (clock.isValid() && clock.elapsed() < kPumpEveryMs)
      return;
    clock.start();
    QCoreApplication::processEvents();
  });
  frmScan::SetExportCommand(&cmdExport_Click);
}

void SetExportFileSource(const platform::FileSource* files) {
  gExportFileSource = files;
}

void cmdExport_Click(frmScan& window) {
  window.cmdExport->setEnabled(false);
  window.mbExporting = true;
  bool saved = false;
  try {
    saved = ExportFiles(window);
  } catch (const std::exception& e) {
    ShowMessage(&window, failedText(e.what()), PromptIcon::Exclamation);
  } catch (...) {
    ShowMessage(&window, failedText("unknown error"), PromptIcon::Exclamation);
  }
  if (saved)
    window.mbSaved = true;
  showStatus(QStringLiteral("Done"));
  window.cmdExport->setEnabled(true);
  window.mbExporting = false;
}

bool ExportFiles(frmScan& window) {
  const std::optional<std::string> archivePath = AskArchivePath(&window);
  if (!archivePath)
    return false;
  CGZipFiles zip;
  zip.SetZipFileName(*archivePath);
  // An archive already at the path stays until the new one is complete and takes its place, so
  // a failed or cancelled export leaves it as it was.

  showStatus(QStringLiteral("Adding files to zip"));
  const std::vector<std::string> files = listedFiles(*window.mList);
  for (const std::string& file : files) {
    try {
      zip.AddFile(file);
    } catch (const ZipBuilderError& e) {
      ShowMessage(&window, failedText(e.Description() + "\n\n" + file), PromptIcon::Exclamation);
      return false;
    }
  }

  showStatus(QStringLiteral("Creating zip file"));
  const ZipReport report = makeArchive(window, zip);
  if (report.cancelled)
    return false;  // nothing was written; as if the dialog had been cancelled

  if (report.archiveWritten) {
    const std::string text = ArchiveOutcomeMessage(*archivePath, files.size(), report);
    ShowMessage(
        &window, QString::fromStdString(text),
        ArchivedAll(report, files.size()) ? PromptIcon::Information : PromptIcon::Exclamation);
    return true;
  }
  if (ShowMessage(&window, QString::fromUtf8(kZipFailedQuestion.data(), kZipFailedQuestion.size()),
                  PromptIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes) {
    CopyToMigrationFolder(&window, files, gRootFolder, *archivePath, gExportFileSource);
  }
  return true;
}

}  // namespace tarnwick::gui
