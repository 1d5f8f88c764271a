// The export of the scan's results: the save dialog, the ".zip" rule, the archive run, the
// outcome text, the question whether to copy the files instead when no archive was made, the copy
// into the migration folder with its overwrite question, and "Done". The desktop programs run
// Export(); the command line runs the same archive and copy steps with its own answers.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/common/run_observer.h"
#include "app/questions/question.h"
#include "core/export/file_copy.h"
#include "core/export/zip_engine.h"
#include "core/platform/input_file.h"

namespace tarnwick::app {

class ScanSession;

// The save dialog's request: "Archive scanned files", the zip filter and extension, opening in
// the program's folder and proposing the computer's name, confirming before replacing a file.
SaveFileQuestion ArchivePathQuestion();

// What the front end shows while an export runs, and how it answers the export's questions.
class ExportView : public Answerer, public ProgressView {
 public:
  // The status bar text ("Adding files to zip", the engine's "adding" lines, "Done").
  virtual void ShowStatus(const std::string& text) = 0;
  // Every line the archive engine prints, as printed (the command line shows them; a window
  // need not).
  virtual void OnZipLine(std::string_view /*line*/) {}
};

// What became of the archive step.
struct ArchiveOutcome {
  bool addFailed = false;  // a row could not be added: reported, nothing was written
  // Folders the scan could not read (for the outcome and the manifest).
  std::vector<ManifestNote> unreadableFolders;
  ZipReport report;  // what the engine did (when it ran)
  std::int32_t resultCode = kZipOk;
  std::size_t listed = 0;  // rows handed to the archive
};

// What became of the copy step.
struct CopyOutcome {
  std::string migrationFolder;
  CopyReport report;
  // Folders the scan could not read (for the outcome).
  std::vector<ManifestNote> unreadableFolders;
};

// Options that differ between callers; the desktop programs use the defaults.
struct ExportOptions {
  // A row that cannot be added: the desktop programs report it and stop; the command line
  // reports it through `onAddFailed` and archives the others.
  std::function<void(const std::string& path, const std::string& why)> onAddFailed;
  const platform::FileSource* files = nullptr;  // where files are read (tests inject failures)
  unsigned threads = 0;                         // compressing threads; 0: one per processor
  bool verify = true;          // read the archive back and check it before it is put in place
  bool includeOnline = false;  // read files kept online only (downloading them)
  // Where the target drive's free space and file size limit come from; the system's when null
  // (tests give a small or a FAT32 drive). Not owned.
  const platform::VolumeProbe* volumes = nullptr;
  // The manifest's header and what the scan knew; when null, Export() fills one from the scan
  // and Archive() writes one from this computer and the process-wide settings. Not owned.
  const ManifestInput* manifest = nullptr;
  // Folders the scan could not read, named in the outcomes (and the manifest when `manifest` is
  // null). Export() takes them from the scan session instead.
  std::vector<ManifestNote> unreadableFolders;
};

class ExportSession {
 public:
  explicit ExportSession(ExportView& view, ExportOptions options = {});

  // "Save to zip file" in the scan window: disables nothing itself; marks the scan session as
  // exporting while it runs and as saved once the user confirmed where to save and an archive
  // or the copy question followed. Any failure is reported, never thrown. Ends with "Done".
  void Export(ScanSession& scan);

  // The steps, for callers with their own flow. `files` are full paths, in row order.
  // Asks for the archive's path with the ".zip" rule applied; nothing when cancelled.
  std::optional<std::string> AskArchivePath();
  // Makes the archive at `archivePath` from `files` with a progress window ("Archiving files").
  ArchiveOutcome Archive(const std::string& archivePath, const std::vector<std::string>& files);
  // The text after an archive was written, and its icon (Information when every file is in it
  // and every folder was read), with the whole list as its details. When files were left out
  // because they are kept online only, and this session did not read such files, it offers
  // kDownloadOnlineCheckBox.
  Question ArchiveOutcomeQuestion(const std::string& archivePath,
                                  const ArchiveOutcome& outcome) const;
  // Copies `files` below `destinationFolder`, keeping their structure below `scanFolder`, with a
  // progress window ("Copying files"); an existing file is asked about through the view.
  CopyOutcome Copy(const std::vector<std::string>& files, const std::string& scanFolder,
                   const std::string& destinationFolder);
  // The copy's outcome, its details and the same offer as ArchiveOutcomeQuestion().
  Question CopyOutcomeQuestion(const CopyOutcome& outcome) const;

  // Asks an outcome question; when the user ticked kDownloadOnlineCheckBox, the session reads
  // files kept online only from then on and saves again:
  // - after an archive: the same archive is made again from every one of `files` (the first one
  //   is replaced only once the new one is whole and checked, as any archive is) and its outcome
  //   is asked about; cancelled, the first archive stays and nothing more is said; not made, the
  //   first archive stays and the reason is shown;
  // - after the copy: only the files that were left online only are copied, into the same
  //   migration folder (a file that is there already is asked about as usual), and that copy's
  //   outcome is asked about.
  void AskArchiveOutcome(const std::string& archivePath, const std::vector<std::string>& files,
                         const ArchiveOutcome& outcome);
  void AskCopyOutcome(const CopyOutcome& outcome, const std::string& scanFolder);

 private:
  bool exportFiles(const std::vector<std::string>& files, const std::string& scanFolder);
  // Whether an outcome with these files left online only offers to download them.
  bool offersDownload(const std::vector<std::string>& onlineOnly) const;

  ExportView& view_;
  ExportOptions options_;
  std::vector<ManifestNote> unreadable_;  // of the scan being exported
};

// "Failed to zip files: " + why.
std::string FailedText(const std::string& why);

}  // namespace tarnwick::app
