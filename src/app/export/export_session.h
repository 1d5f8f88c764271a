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
  // The text after an archive was written, and its icon (Information when every file is in it).
  Question ArchiveOutcomeQuestion(const std::string& archivePath,
                                  const ArchiveOutcome& outcome) const;
  // Copies `files` below `destinationFolder`, keeping their structure below `scanFolder`, with a
  // progress window ("Copying files"); an existing file is asked about through the view.
  CopyOutcome Copy(const std::vector<std::string>& files, const std::string& scanFolder,
                   const std::string& destinationFolder);
  Question CopyOutcomeQuestion(const CopyOutcome& outcome) const;

 private:
  bool exportFiles(const std::vector<std::string>& files, const std::string& scanFolder);

  ExportView& view_;
  ExportOptions options_;
  std::vector<ManifestNote> unreadable_;  // of the scan being exported
};

// "Failed to zip files: " + why.
std::string FailedText(const std::string& why);

}  // namespace tarnwick::app
