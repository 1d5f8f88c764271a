#include "app/export/export_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/export/outcome_texts.h"
#include "app/questions/details_file.h"
#include "app/questions/texts.h"
#include "app/scan/scan_session.h"
#include "app/support/scripted_answers.h"
#include "core/export/faulty_files.h"
#include "core/platform/system.h"
#include "core/scan/search_state.h"
#include "support/fake_drive.h"
#include "support/temp_dir.h"

namespace tarnwick::app {
namespace {

using test::TempDir;

// Records what the front end is shown and answers from a script.
class RecordingExportView final : public ExportView {
 public:
  testing::ScriptedAnswers answers;
  std::vector<std::string> status;
  std::vector<std::string> progress;  // "open TITLE N", "close"
  std::string lines;

  Answer Ask(const Question& q) override { return answers.Ask(q); }
  Reply AskWithCheckBox(const Question& q) override { return answers.AskWithCheckBox(q); }
  std::optional<std::string> AskSaveFile(const SaveFileQuestion& q) override {
    return answers.AskSaveFile(q);
  }
  std::optional<std::string> AskFolder(const FolderQuestion& q) override {
    return answers.AskFolder(q);
  }
  std::uint64_t stopAfterFiles = 0;  // presses Cancel once this many files are done
  void Open(std::string_view title, std::uint64_t files, StopToken& stop) override {
    stop_ = &stop;
    progress.push_back("open " + std::string(title) + " " + std::to_string(files));
  }
  void Update(const RunProgress& done) override {
    if (stopAfterFiles && done.filesDone >= stopAfterFiles && stop_)
      stop_->RequestStop();  // Cancel pressed in the progress window
  }
  void Close() override { progress.push_back("close"); }
  void ShowStatus(const std::string& text) override { status.push_back(text); }
  void OnZipLine(std::string_view line) override { lines += line; }

 private:
  StopToken* stop_ = nullptr;
};

// A scan session holding rows for two files of `dir`, below gRootFolder = dir.
class ScannedRows : public ScanSession {
 public:
  explicit ScannedRows(const TempDir& dir) : ScanSession(".", params_, root_, running_) {
    root_ = dir.str() + platform::kPathSeparator;
    gRootFolder = root_;
    dir.write("a.doc", "alpha");
    dir.write("sub/b.doc", "bravo");
    testing::ScriptedAnswers none;
    struct NoView final : ScanView {
      void OnRow(std::size_t, const ScanRow&, const std::string&) override {}
      void OnStatus(const std::string&) override {}
      void Yield() override {}
    } view;
    Run(view, none);
  }

 protected:
  void RunSearch(SearchParams&, const std::string&, SearchSink& sink) override {
    const std::string sep(1, platform::kPathSeparator);
    sink.OnMatch("a.doc", root_, 5);
    sink.OnMatch("b.doc", root_ + "sub" + sep, 5);
  }

 private:
  SearchParams params_;
  std::string root_;
  std::atomic<bool> running_{false};
};

// A scan session holding one row per path, in the given order, and the folders it could not read.
class ListedRows : public ScanSession {
 public:
  explicit ListedRows(std::vector<std::filesystem::path> files,
                      std::vector<UnreadableFolder> unreadable = {})
      : ScanSession(".", params_, root_, running_),
        files_(std::move(files)),
        unreadable_(std::move(unreadable)) {
    testing::ScriptedAnswers none;
    struct NoView final : ScanView {
      void OnRow(std::size_t, const ScanRow&, const std::string&) override {}
      void OnStatus(const std::string&) override {}
      void Yield() override {}
    } view;
    Run(view, none);
  }

 protected:
  void RunSearch(SearchParams&, const std::string&, SearchSink& sink) override {
    for (const auto& file : files_) {
      sink.OnMatch(test::Utf8(file.filename()),
                   test::Utf8(file.parent_path()) + platform::kPathSeparator, 1);
    }
    for (const auto& folder : unreadable_)
      sink.OnUnreadable(folder.path, folder.reason);
  }

 private:
  SearchParams params_;
  std::string root_;
  std::atomic<bool> running_{false};
  std::vector<std::filesystem::path> files_;
  std::vector<UnreadableFolder> unreadable_;
};

// Windows' attribute of a cloud placeholder whose content is downloaded when read.
constexpr std::uint32_t kRecallOnDataAccess = 0x00400000;

TEST(ExportSession, CancelledSaveDialogLeavesTheResultsUnsaved) {
  TempDir dir;
  ScannedRows scan(dir);
  RecordingExportView view;
  view.answers.answerSaveFile(std::nullopt);
  ExportSession(view).Export(scan);
  ASSERT_EQ(view.answers.saveQuestions.size(), 1u);
  const SaveFileQuestion& q = view.answers.saveQuestions[0];
  EXPECT_EQ(q.title, "Archive scanned files");
  EXPECT_EQ(q.filter, "Zip File (*.zip)");
  EXPECT_EQ(q.defaultExtension, "zip");
  EXPECT_EQ(q.initialFolder, platform::ExecutableFolder());
  EXPECT_EQ(q.proposedName, platform::ComputerName());
  EXPECT_TRUE(q.confirmOverwrite);
  EXPECT_TRUE(view.answers.asked.empty());
  EXPECT_EQ(view.status, (std::vector<std::string>{"Done"}));
  EXPECT_FALSE(scan.mbSaved);
  EXPECT_FALSE(scan.mbExporting);
}

// The archive gets ".zip" after any other extension, holds every row, and the user is told so.
TEST(ExportSession, ArchivesEveryRowAndSaysSo) {
  TempDir dir;
  ScannedRows scan(dir);
  TempDir out;
  RecordingExportView view;
  view.answers.answerSaveFile(out.str("PC1.txt"));
  ExportSession(view).Export(scan);
  const std::string archive = out.str("PC1.txt.zip");
  EXPECT_TRUE(std::filesystem::exists(out / "PC1.txt.zip"));
  ASSERT_EQ(view.answers.asked.size(), 1u);
  EXPECT_EQ(view.answers.asked[0].text, "Successfully archived all files into " + archive);
  EXPECT_EQ(view.answers.asked[0].icon, Icon::Information);
  EXPECT_EQ(view.progress, (std::vector<std::string>{"open Archiving files 2", "close"}));
  ASSERT_GE(view.status.size(), 4u);
  EXPECT_EQ(view.status[0], "Adding files to zip");
  EXPECT_EQ(view.status[1], "Creating zip file");
  EXPECT_EQ(view.status[2].rfind("adding", 0), 0u) << view.status[2];
  EXPECT_EQ(view.status.back(), "Done");
  EXPECT_NE(view.lines.find("adding"), std::string::npos);
  EXPECT_TRUE(scan.mbSaved);
  EXPECT_FALSE(scan.mbExporting);
}

// No archive could be made: the copy question; Yes copies into the migration folder, asking
// before replacing a file that is there already.
TEST(ExportSession, FailedArchiveOffersTheCopyWhichAsksBeforeReplacing) {
  TempDir dir;
  ScannedRows scan(dir);
  TempDir out;
  out.write("PC1/a.doc", "old");  // a file the copy would replace
  // The archive's folder is a file: no archive can be written there.
  out.write("blocked", "x");
  const std::string blockedArchive =
      out.str("blocked") + platform::kPathSeparator + std::string("PC1.zip");
  RecordingExportView view;
  view.answers.answerSaveFile(blockedArchive);
  ExportSession session(view);
  // First the run fails; the copy then goes beside the chosen path.
  const ArchiveOutcome failed = session.Archive(blockedArchive, scan.Rows().FullPaths());
  EXPECT_FALSE(failed.report.archiveWritten);

  const std::string migration = out.str("PC1") + platform::kPathSeparator;
  view.answers.answer(Answer::No);  // keep the old a.doc
  const CopyOutcome copied = session.Copy(scan.Rows().FullPaths(), gRootFolder, migration);
  EXPECT_EQ(TempDir::read(out / "PC1/a.doc"), "old");
  EXPECT_EQ(TempDir::read(out / "PC1/sub/b.doc"), "bravo");
  ASSERT_EQ(view.answers.asked.size(), 1u);
  EXPECT_EQ(view.answers.asked[0].text, "The migration folder already holds this file:\n" +
                                            test::Utf8(out / "PC1" / "a.doc") +
                                            "\n\nDo you want to replace it?");
  EXPECT_EQ(view.answers.asked[0].buttons, Buttons::YesNoYesToAllCancel);
  EXPECT_EQ(session.CopyOutcomeQuestion(copied).icon, Icon::Exclamation);

  // The whole flow asks the copy question and counts the results as saved.
  RecordingExportView flow;
  flow.answers.answerSaveFile(blockedArchive);
  flow.answers.answer(Answer::No);
  ExportSession(flow).Export(scan);
  ASSERT_EQ(flow.answers.asked.size(), 1u);
  EXPECT_EQ(flow.answers.asked[0].text,
            "Failed to zip files, do you want to copy the files instead?");
  EXPECT_EQ(flow.answers.asked[0].buttons, Buttons::YesNo);
  EXPECT_TRUE(scan.mbSaved);
}

// A file listed twice cannot be added: the builder's error is shown, nothing is written, and the
// results stay unsaved.
TEST(ExportSession, BuilderErrorIsShownAndNothingIsWritten) {
  TempDir dir;
  const auto file = dir.write("a.doc", "a");
  ListedRows scan({file, file});
  TempDir out;
  RecordingExportView view;
  view.answers.answerSaveFile(out.str("PC1.zip"));
  ExportSession(view).Export(scan);
  ASSERT_EQ(view.answers.asked.size(), 1u);
  EXPECT_EQ(view.answers.asked[0].text,
            "Failed to zip files: File is already in Zip List\n\n" + test::Utf8(file));
  EXPECT_EQ(view.answers.asked[0].icon, Icon::Exclamation);
  EXPECT_TRUE(std::filesystem::is_empty(out.path()));
  EXPECT_FALSE(scan.mbSaved);
  EXPECT_FALSE(scan.mbExporting);
  EXPECT_EQ(view.status.back(), "Done");
}

// Cancel in the progress window: the old archive stays as it was, no partial file is left, no
// question follows, and the next export of the same results makes the archive.
TEST(ExportSession, CancelledArchiveKeepsTheOldOneAndTheNextExportWorks) {
  TempDir dir;
  std::vector<std::filesystem::path> files;
  for (int i = 0; i < 40; ++i)
    files.push_back(dir.write("f" + std::to_string(i) + ".doc", std::string(20000, 'a' + i % 26)));
  ListedRows scan(files);
  TempDir out;
  const auto archive = out.write("PC1.zip", "the archive of an earlier export");
  RecordingExportView view;
  view.stopAfterFiles = 1;
  view.answers.answerSaveFile(test::Utf8(archive));
  ExportSession(view).Export(scan);
  EXPECT_TRUE(view.answers.asked.empty());
  EXPECT_EQ(TempDir::read(archive), "the archive of an earlier export");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_FALSE(scan.mbSaved);
  EXPECT_FALSE(scan.mbExporting);

  RecordingExportView again;
  again.answers.answerSaveFile(test::Utf8(archive));
  ExportSession(again).Export(scan);
  ASSERT_EQ(again.answers.asked.size(), 1u);
  EXPECT_EQ(again.answers.asked[0].text,
            "Successfully archived all files into " + test::Utf8(archive));
  EXPECT_TRUE(scan.mbSaved);
}

// A FAT32 drive (with a small limit): the outcome names every part written; a file too large for
// any part is named before anything is written, and the copy is offered as for any failure.
TEST(ExportSession, OnADriveThatLimitsFileSizeTheOutcomeNamesThePartsOrTheFileTooLarge) {
  TempDir dir;
  std::vector<std::filesystem::path> files;
  for (int i = 0; i < 4; ++i) {
    std::string content(20000, '\0');
    std::uint32_t x = 12345u + static_cast<std::uint32_t>(i);
    for (char& c : content) {
      x = x * 1664525u + 1013904223u;  // bytes that do not deflate
      c = static_cast<char>(x >> 24);
    }
    files.push_back(dir.write("f" + std::to_string(i) + ".doc", content));
  }
  ListedRows scan(files);
  TempDir out;
  const std::string archive = out.str("PC1.zip");

  const test::FakeDrive fat(test::Fat32Drive(48 * 1024, 1ull << 30));
  ExportOptions options;
  options.volumes = &fat;
  RecordingExportView view;
  view.answers.answerSaveFile(archive);
  ExportSession(view, options).Export(scan);
  ASSERT_EQ(view.answers.asked.size(), 1u);
  EXPECT_EQ(view.answers.asked[0].text,
            "Successfully archived all files into 2 archives (the drive's file system, FAT32, "
            "holds at most 48.0 KB in one file):\n" +
                archive + "\n" + out.str("PC1-2.zip"));
  EXPECT_TRUE(scan.mbSaved);

  const test::FakeDrive tiny(test::Fat32Drive(10000, 1ull << 30));
  options.volumes = &tiny;
  RecordingExportView refused;
  refused.answers.answerSaveFile(out.str("PC2.zip"));
  refused.answers.answer(Answer::No);  // no copy
  ExportSession(refused, options).Export(scan);
  const std::string why = test::Utf8(files[0]) +
                          " (19.6 KB) cannot be saved on this drive: its file system (FAT32) "
                          "holds at most 9.7 KB in one file.";
  EXPECT_NE(std::find(refused.status.begin(), refused.status.end(), "Failed to zip files: " + why),
            refused.status.end());
  ASSERT_EQ(refused.answers.asked.size(), 1u);
  EXPECT_EQ(refused.answers.asked[0].text,
            "Failed to zip files, do you want to copy the files instead?");
  EXPECT_FALSE(std::filesystem::exists(out / "PC2.zip"));
  EXPECT_FALSE(std::filesystem::exists(out / "PC2-2.zip"));
}

// A file kept online only is left out and the outcome offers to download it. Ticked, the same
// archive is made again from every row, reading that file, and its outcome (with no offer) follows;
// unticked, nothing more happens and the archive lacks the file.
TEST(ExportSession, OnlineOnlyFilesAreOfferedForDownloadAndSavedAgainWhenTicked) {
  for (const bool ticked : {true, false}) {
    SCOPED_TRACE(ticked ? "ticked" : "unticked");
    TempDir dir;
    const auto local = dir.write("a.doc", "alpha");
    const auto online = dir.write("b.doc", "bravo");
    ListedRows scan({local, online});
    test::FaultyFiles files;
    files.Add(test::Utf8(online), {.attributes = kRecallOnDataAccess});
    TempDir out;
    const std::string archive = out.str("PC1.zip");
    RecordingExportView view;
    view.answers.answerSaveFile(archive);
    view.answers.tickCheckBox(ticked);
    ExportOptions options;
    options.files = &files;
    ExportSession(view, std::move(options)).Export(scan);

    ASSERT_EQ(view.answers.asked.size(), ticked ? 2u : 1u);
    const Question& first = view.answers.asked[0];
    EXPECT_EQ(first.text, "Archived 1 of 2 files into " + archive +
                              ".\n\nThese files are not in the archive:\n" + test::Utf8(online) +
                              " (stored online only, not downloaded)\n");
    EXPECT_EQ(first.checkBox, texts::kDownloadOnlineCheckBox);
    EXPECT_EQ(first.details, test::Utf8(online) + "\tstored online only, not downloaded\n");
    if (ticked) {
      const Question& second = view.answers.asked[1];
      EXPECT_EQ(second.text, "Successfully archived all files into " + archive);
      EXPECT_EQ(second.icon, Icon::Information);
      EXPECT_TRUE(second.checkBox.empty());
      EXPECT_EQ(view.progress, (std::vector<std::string>{"open Archiving files 2", "close",
                                                         "open Archiving files 2", "close"}));
    }
    // The engine's line for the online file ("  adding: .../b.doc (stored 0%)").
    EXPECT_EQ(view.lines.find("b.doc (") != std::string::npos, ticked) << view.lines;
    EXPECT_TRUE(scan.mbSaved);
    EXPECT_TRUE(view.answers.allAnswered());
  }
}

// After the copy the same offer copies only the files that were left online only: the file copied
// before is not asked about again.
TEST(ExportSession, TickedOfferAfterTheCopyCopiesOnlyTheFilesLeftOnline) {
  TempDir dir;
  const auto local = dir.write("a.doc", "alpha");
  const auto online = dir.write("sub/b.doc", "bravo");
  const std::string root = dir.str() + platform::kPathSeparator;
  test::FaultyFiles files;
  files.Add(test::Utf8(online), {.attributes = kRecallOnDataAccess});
  TempDir out;
  const std::string migration = out.str("PC1") + platform::kPathSeparator;
  RecordingExportView view;
  view.answers.tickCheckBox(true);
  ExportOptions options;
  options.files = &files;
  ExportSession session(view, std::move(options));
  const CopyOutcome copied = session.Copy({test::Utf8(local), test::Utf8(online)}, root, migration);
  EXPECT_FALSE(std::filesystem::exists(out / "PC1" / "sub" / "b.doc"));
  session.AskCopyOutcome(copied, root);

  ASSERT_EQ(view.answers.asked.size(), 2u) << ::testing::PrintToString(view.answers.texts());
  EXPECT_EQ(view.answers.asked[0].checkBox, texts::kDownloadOnlineCheckBox);
  EXPECT_EQ(view.answers.asked[0].details,
            test::Utf8(online) + "\tstored online only, not downloaded\n");
  EXPECT_EQ(view.answers.asked[1].text, "Successfully copied all files to the migration folder");
  EXPECT_TRUE(view.answers.asked[1].checkBox.empty());
  EXPECT_EQ(TempDir::read(out / "PC1" / "a.doc"), "alpha");
  EXPECT_EQ(TempDir::read(out / "PC1" / "sub" / "b.doc"), "bravo");
  EXPECT_EQ(view.progress, (std::vector<std::string>{"open Copying files 2", "close",
                                                     "open Copying files 1", "close"}));
}

// Folders the scan could not read are named in the outcome (files in them may be missing, so the
// icon warns even when every listed file is in the archive) and in its details.
TEST(ExportSession, OutcomeNamesTheFoldersTheScanCouldNotRead) {
  TempDir dir;
  const auto file = dir.write("a.doc", "alpha");
  const std::string locked = dir.str("locked") + platform::kPathSeparator;
  ListedRows scan({file}, {{locked, "access denied"}});
  TempDir out;
  const std::string archive = out.str("PC1.zip");
  RecordingExportView view;
  view.answers.answerSaveFile(archive);
  ExportSession(view).Export(scan);
  ASSERT_EQ(view.answers.asked.size(), 1u);
  EXPECT_EQ(view.answers.asked[0].text,
            "Successfully archived all files into " + archive +
                "\n\nThese folders could not be read, so files in them may be missing:\n" + locked +
                " (access denied)\n");
  EXPECT_EQ(view.answers.asked[0].icon, Icon::Exclamation);
  EXPECT_EQ(view.answers.asked[0].details, locked + "\tfolder not read: access denied\n");
  EXPECT_TRUE(view.answers.asked[0].checkBox.empty());
}

// The Details list stays text, one entry a line, whatever the names hold.
TEST(ExportMessages, DetailsGiveNamesThatAreNotPlainTextEscaped) {
  struct Case {
    const char* name;
    std::string path;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {"plain", "/d/Résumé.doc", "/d/Résumé.doc"},
      {"Latin-1 byte", "/d/R\xE9sum\xE9.doc", "/d/R%E9sum%E9.doc"},
      {"tab in the name", "/d/a\tb.doc", "/d/a%09b.doc"},
      {"line break in the name", "/d/a\nb.doc", "/d/a%0Ab.doc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ZipReport report;
    report.archiveWritten = true;
    report.skipped = {{c.path, platform::FileError::NotFound, {}}};
    EXPECT_EQ(ArchiveDetails(report, {}), c.shown + "\tnot found\n");
    CopyReport copy;
    copy.notCopied = {
        {{c.path, "/m/x"}, CopyFailure::SourceUnreadable, platform::FileError::NotFound, {}}};
    EXPECT_EQ(CopyDetails(copy, {{c.path, "gone"}}),
              c.shown + "\tnot found\n" + c.shown + "\tfolder not read: gone\n");
  }
}

// "Save..." in the Details window writes the list as it is, replacing a file the user chose to
// replace; when it cannot, the message says where and why.
TEST(DetailsFile, SavesTheWholeListOrSaysWhyNot) {
  const SaveFileQuestion q = DetailsSaveQuestion();
  EXPECT_EQ(q.filterPattern, "*.txt");
  EXPECT_EQ(q.defaultExtension, "txt");
  EXPECT_TRUE(q.confirmOverwrite);

  TempDir out;
  const auto target = out.write("list.txt", "an older list that is longer than the new one");
  const std::string details = "/d/Résumé.doc\tnot found\n/d/b.doc\tstored online only\n";
  EXPECT_EQ(SaveDetailsFile(test::Utf8(target), details), "");
  EXPECT_EQ(TempDir::read(target), details);

  out.write("file", "x");
  const std::string blocked = out.str("file") + platform::kPathSeparator + "list.txt";
  const std::string message = SaveDetailsFile(blocked, details);
  EXPECT_EQ(message.rfind(std::string(texts::kDetailsSaveFailed) + blocked + "\n\n", 0), 0u)
      << message;
  EXPECT_GT(message.size(), texts::kDetailsSaveFailed.size() + blocked.size() + 2);
}

}  // namespace
}  // namespace tarnwick::app
