// "Save to zip file": the save dialog's request, the archive and its message, and the copy when
// no archive results.
#include <gtest/gtest.h>

#include "core/scan/search_state.h"
#include "support/temp_dir.h"
#include "win/controls/status_bar.h"
#include "win/export/export_command.h"
#include "win/scan/frm_scan.h"
#include "win/ui_support.h"

namespace tarnwick::win::test {
namespace {

class ExportTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    InstallExportCommand();
    tree.write("docs/a.doc", "alpha");
    tree.write("docs/deep/b.pdf", "beta");
    gSearch = SearchParams{};
    gSearch.Recurse = true;
    gSearch.Pattern = "*.doc;*.pdf";
    gRootFolder = tree.str("docs") + "\\";
    scan = std::make_unique<frmScan>(nullptr);
    scan->Show();
    PumpUntil([this] { return scan->ScanEnded(); });
    prompts.asked.clear();
    ASSERT_EQ(scan->mList->ListCount(), 2);
  }
  void TearDown() override {
    scan.reset();
    UiTest::TearDown();
  }

  tarnwick::test::TempDir tree;
  tarnwick::test::TempDir out;
  std::unique_ptr<frmScan> scan;
};

TEST_F(ExportTest, ArchivesEveryRowAndSaysSoThenClosesWithoutAsking) {
  prompts.savePaths = {out.str("backup")};
  Click(scan->cmdExport);
  ASSERT_EQ(prompts.saveRequests.size(), 1u);
  const app::SaveFileQuestion& request = prompts.saveRequests[0];
  EXPECT_EQ(request.title, "Archive scanned files");
  EXPECT_EQ(request.filter, "Zip File (*.zip)");
  EXPECT_EQ(request.filterPattern, "*.zip");
  EXPECT_EQ(request.defaultExtension, "zip");
  const std::string archive = out.str("backup") + ".zip";
  EXPECT_TRUE(std::filesystem::is_regular_file(out / "backup.zip"));
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "Successfully archived all files into " + archive);
  EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Information);
  EXPECT_EQ(GetStatusText(scan->StatusBar(), 0), "Done");
  EXPECT_TRUE(scan->Session().mbSaved);
  EXPECT_FALSE(scan->Session().mbExporting);
  EXPECT_TRUE(IsWindowEnabled(scan->cmdExport));
  SendMessageW(scan->hWnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(scan->Closed());
}

TEST_F(ExportTest, ACancelledSaveDialogChangesNothingButTheStatus) {
  prompts.savePaths = {std::nullopt};
  Click(scan->cmdExport);
  EXPECT_TRUE(prompts.asked.empty());
  EXPECT_FALSE(scan->Session().mbSaved);
  EXPECT_EQ(GetStatusText(scan->StatusBar(), 0), "Done");
}

TEST_F(ExportTest, WithNoArchiveTheCopyQuestionLeadsToACopyKeepingTheFolders) {
  // The archive cannot be made where a folder of its name stands.
  out.mkdir("blocked.zip");
  prompts.savePaths = {out.str("blocked.zip")};
  prompts.answers = {PromptAnswer::Yes};
  Click(scan->cmdExport);
  ASSERT_GE(prompts.asked.size(), 2u);
  EXPECT_EQ(prompts.asked[0].text, "Failed to zip files, do you want to copy the files instead?");
  EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(tarnwick::test::TempDir::read(out / "blocked" / "a.doc"), "alpha");
  EXPECT_EQ(tarnwick::test::TempDir::read(out / "blocked" / "deep" / "b.pdf"), "beta");
  EXPECT_EQ(prompts.asked.back().text, "Successfully copied all files to the migration folder");
  EXPECT_TRUE(scan->Session().mbSaved);
}

TEST_F(ExportTest, NoToTheCopyQuestionStillCountsAsSaved) {
  out.mkdir("blocked.zip");
  prompts.savePaths = {out.str("blocked.zip")};
  prompts.answers = {PromptAnswer::No};
  Click(scan->cmdExport);
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(out / "blocked"));
  EXPECT_TRUE(scan->Session().mbSaved);
}

}  // namespace
}  // namespace tarnwick::win::test
