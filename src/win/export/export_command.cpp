#include "win/export/export_command.h"

#include <exception>
#include <string>
#include <vector>

#include "core/common/ui_hooks.h"
#include "core/export/cgzip_files.h"
#include "core/export/export_messages.h"
#include "core/export/export_paths.h"
#include "core/export/file_copy.h"
#include "core/platform/system.h"
#include "core/scan/search_state.h"
#include "win/common/message_loop.h"
#include "win/common/prompts.h"
#include "win/controls/status_bar.h"
#include "win/export/progress_window.h"
#include "win/scan/frm_scan.h"
#include "win/scan/scan_globals.h"

namespace tarnwick::win {
namespace {

const platform::FileSource* gExportFileSource = nullptr;
constexpr DWORD kPumpEveryMs = 10;

void showStatus(const std::string& text) {
  SetStatusText(ghStatusBar, 0, SBT_SUNKEN, text);
  PumpPending();
}

std::vector<std::string> listedFiles(const clsListView& list) {
  std::vector<std::string> files;
  const int rows = list.ListCount();
  files.reserve(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row)
    files.push_back(list.SubItemText(row, 1) + list.SubItemText(row, 0));
  return files;
}

std::string failedText(const std::string& why) {
  return "Failed to zip files: " + why;
}

std::optional<std::string> askArchivePath(HWND owner) {
  SaveFileRequest request;
  request.title = "Archive scanned files";
  request.filterName = "Zip File (*.zip)";
  request.filterPattern = "*.zip";
  request.defaultExtension = "zip";
  request.initialFolder = platform::ExecutableFolder();
  request.proposedName = platform::ComputerName();
  const std::optional<std::string> chosen = CurrentPrompts().SaveFile(owner, request);
  if (!chosen || chosen->empty())
    return std::nullopt;
  return WithZipExtension(*chosen);
}

ZipReport makeArchive(frmScan& window, CGZipFiles& zip) {
  ProgressWindow progress(window.hWnd(), "Archiving files",
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

OverwriteAnswer askOverwrite(HWND owner, const std::string& destination) {
  const std::string text = "The migration folder already holds this file:\n" + destination +
                           "\n\nDo you want to replace it?";
  switch (ShowMessage(owner, text, PromptIcon::Question, PromptButtons::YesNoYesToAllCancel)) {
    case PromptAnswer::Yes:
      return OverwriteAnswer::Yes;
    case PromptAnswer::No:
      return OverwriteAnswer::No;
    case PromptAnswer::YesToAll:
      return OverwriteAnswer::YesToAll;
    default:
      return OverwriteAnswer::Cancel;
  }
}

void copyToMigrationFolder(HWND window, const std::vector<std::string>& files,
                           const std::string& archivePath) {
  const std::string migrationFolder = MigrationFolder(archivePath);
  std::vector<CopyItem> items;
  items.reserve(files.size());
  for (const std::string& file : files)
    items.push_back({file, MigrationDestination(file, gRootFolder, migrationFolder)});
  CopyReport report;
  {
    ProgressWindow progress(window, "Copying files", items.size());
    CopyControl control;
    control.cancel = &progress.CancelFlag();
    control.files = gExportFileSource;
    control.progress = [&progress](const CopyProgress& p) {
      progress.Update(p.filesDone, p.filesTotal, p.bytesDone, p.bytesTotal);
    };
    control.askOverwrite = [&progress](const std::string& destination) {
      return askOverwrite(progress.QuestionOwner(), destination);
    };
    report = CopyFiles(items, control);
  }
  ShowMessage(window, CopyOutcomeMessage(migrationFolder, report),
              report.AllCopied() ? PromptIcon::Information : PromptIcon::Exclamation);
}

}  // namespace

void InstallExportCommand() {
  // The engine yields after every file it archives or copies; letting messages run at most every
  // 10 ms keeps the windows just as responsive without repainting for every file.
  SetPumpHook([last = DWORD{0}]() mutable {
    const DWORD now = GetTickCount();
    if (now - last < kPumpEveryMs)
      return;
    last = now;
    PumpPending();
  });
  frmScan::SetExportCommand(&cmdExport_Click);
}

void SetExportFileSource(const platform::FileSource* files) {
  gExportFileSource = files;
}

void cmdExport_Click(frmScan& window) {
  EnableWindow(window.cmdExport, FALSE);
  window.mbExporting = true;
  bool saved = false;
  try {
    saved = ExportFiles(window);
  } catch (const std::exception& e) {
    ShowMessage(window.hWnd(), failedText(e.what()), PromptIcon::Exclamation);
  } catch (...) {
    ShowMessage(window.hWnd(), failedText("unknown error"), PromptIcon::Exclamation);
  }
  if (saved)
    window.mbSaved = true;
  showStatus("Done");
  EnableWindow(window.cmdExport, TRUE);
  window.mbExporting = false;
}

bool ExportFiles(frmScan& window) {
  const std::optional<std::string> archivePath = askArchivePath(window.hWnd());
  if (!archivePath)
    return false;
  CGZipFiles zip;
  zip.SetZipFileName(*archivePath);

  showStatus("Adding files to zip");
  const std::vector<std::string> files = listedFiles(*window.mList);
  for (const std::string& file : files) {
    try {
      zip.AddFile(file);
    } catch (const ZipBuilderError& e) {
      ShowMessage(window.hWnd(), failedText(e.Description() + "\n\n" + file),
                  PromptIcon::Exclamation);
      return false;
    }
  }

  showStatus("Creating zip file");
  const ZipReport report = makeArchive(window, zip);
  if (report.cancelled)
    return false;  // nothing was written; as if the dialog had been cancelled

  if (report.archiveWritten) {
    ShowMessage(
        window.hWnd(), ArchiveOutcomeMessage(*archivePath, files.size(), report),
        ArchivedAll(report, files.size()) ? PromptIcon::Information : PromptIcon::Exclamation);
    return true;
  }
  if (ShowMessage(window.hWnd(), std::string(kZipFailedQuestion), PromptIcon::Question,
                  PromptButtons::YesNo) == PromptAnswer::Yes) {
    copyToMigrationFolder(window.hWnd(), files, *archivePath);
  }
  return true;
}

}  // namespace tarnwick::win
