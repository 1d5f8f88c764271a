#include "app/export/export_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/scan/scan_session.h"
#include "app/support/scripted_answers.h"
#include "core/platform/system.h"
#include "core/scan/search_state.h"
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
  std::optional<std::string> AskSaveFile(const SaveFileQuestion& q) override {
    return answers.AskSaveFile(q);
  }
  std::optional<std::string> AskFolder(const FolderQuestion& q) override {
    return answers.AskFolder(q);
  }
  void Open(std::string_view title, std::uint64_t files, StopToken&) override {
    progress.push_back("open " + std::string(title) + " " + std::to_string(files));
  }
  void Update(const RunProgress&) override {}
  void Close() override { progress.push_back("close"); }
  void ShowStatus(const std::string& text) override { status.push_back(text); }
  void OnZipLine(std::string_view line) override { lines += line; }
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
                                            out.str("PC1/a.doc") +
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

}  // namespace
}  // namespace tarnwick::app
