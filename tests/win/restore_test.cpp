// The restore window: opened from "Restore..." on an archive the engine made, the plan in its
// owner-data list, a restore into a folder with its outcome, conflicts answered by the script
// (one "for all"), the status column completed off the window's thread, and Cancel.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/restore/restore_texts.h"
#include "core/export/zip_engine.h"
#include "core/settings/startup.h"
#include "support/temp_dir.h"
#include "win/app/app_main.h"
#include "win/common/text.h"
#include "win/resource_ids.h"
#include "win/restore/frm_restore.h"
#include "win/restore/restore_command.h"
#include "win/ui_support.h"
#include "win/windows/frm_main.h"

namespace tarnwick::win::test {
namespace {

namespace fs = std::filesystem;
using tarnwick::test::TempDir;

// Relative path -> content of every file below `root`, temporary files included.
std::map<std::string, std::string> filesBelow(const fs::path& root) {
  std::map<std::string, std::string> out;
  if (!fs::exists(root))
    return out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file())
      out[tarnwick::test::Utf8(fs::path(fs::relative(e.path(), root).generic_u8string()))] =
          TempDir::read(e.path());
  }
  return out;
}

std::string cell(HWND list, int row, int column) {
  wchar_t buffer[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 1024;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return Utf8(buffer);
}

class RestoreWindowTest : public UiTest {
 protected:
  void TearDown() override {
    window.reset();
    UiTest::TearDown();
  }
  // Makes "old.zip" from the files below "src" with the engine's own writer and manifest.
  std::string makeArchive(const std::map<std::string, std::string>& files) {
    std::vector<std::string> paths;
    for (const auto& [rel, content] : files)
      paths.push_back(tarnwick::test::Utf8(dir.write("src/" + rel, content)));
    ManifestInput manifest;
    manifest.header = ThisComputerHeader();
    manifest.header.computer = "OLDPC";
    manifest.header.scanFolder = dir.str("src");
    ZipOptions options;
    options.RootDir = "\\";
    ZipRunControl control;
    control.manifest = &manifest;
    ZipReport report;
    const std::string zip = dir.str("old.zip");
    EXPECT_EQ(RunZip(zip, paths, options, control, &report), kZipOk) << report.failure;
    return zip;
  }
  void open(const std::map<std::string, std::string>& files) {
    auto session = std::make_unique<app::RestoreSession>();
    ASSERT_TRUE(session->Open({makeArchive(files)})) << session->Error();
    window = std::make_unique<frmRestore>(nullptr, std::move(session), "old.zip");
    window->Show();
  }
  // "Restore into a folder", the folder typed into its box: Restore is pressed before the box is
  // left, as Enter there does.
  void intoFolder(const std::string& folder) {
    Click(window->Item(IDC_OPT_INTO_FOLDER));
    EXPECT_FALSE(IsWindowEnabled(window->Item(IDC_CMD_RESTORE_START)));  // no folder yet
    SetWindowTextUtf8(window->Item(IDC_TXT_RESTORE_FOLDER), folder);
    EXPECT_TRUE(IsWindowEnabled(window->Item(IDC_CMD_RESTORE_START)));
  }
  void chooseConflicts(const char* choice) {
    HWND combo = window->Item(IDC_CBO_CONFLICT);
    SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(Wide(choice).c_str()));
    SendMessageW(window->hWnd(), WM_COMMAND, MAKEWPARAM(IDC_CBO_CONFLICT, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }
  void runToTheEnd() {
    Click(window->Item(IDC_CMD_RESTORE_START));
    PumpUntil([this] { return window->LastOutcome().has_value(); });
  }
  HWND plan() const { return window->mPlan->hWnd(); }
  int planRows() const { return static_cast<int>(SendMessageW(plan(), LVM_GETITEMCOUNT, 0, 0)); }

  TempDir dir;
  std::unique_ptr<frmRestore> window;
};

TEST_F(RestoreWindowTest, RestoreOnTheMainWindowOpensTheArchiveAndShowsItsPlan) {
  ASSERT_TRUE(LoadProgramState(dir.str()));
  frmMain main(SettingsPath(dir.str()));
  HWND button = GetDlgItem(main.hWnd(), IDC_CMD_RESTORE);
  EXPECT_EQ(Text(button), "Restore...");
  EXPECT_FALSE(IsWindowEnabled(button));
  main.SetRestoreCommand(cmdRestore_Click);
  ASSERT_TRUE(IsWindowEnabled(button));
  main.Show();

  const std::string zip = makeArchive({{"Documents/a.doc", "alpha"}, {"b.pdf", "beta"}});
  prompts.openPaths = {{zip}};
  int rows = -1;
  std::string from, status, caption;
  Later([&] {
    HWND restore = GetLastActivePopup(main.hWnd());
    caption = Text(restore);
    HWND list = GetDlgItem(restore, IDC_LVW_PLAN);
    rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    from = cell(list, 0, 0);
    // The files are where they were made: compared off the window's thread, then "already there".
    PumpUntil([&] { return cell(list, 0, 2) != app::kCheckingStatus; });
    status = cell(list, 0, 2);
    SendMessageW(restore, WM_CLOSE, 0, 0);
  });
  Click(button);  // returns when the restore window has closed
  ASSERT_EQ(prompts.openRequests.size(), 1u);
  EXPECT_EQ(prompts.openRequests[0].title, "Open the archive to restore");
  EXPECT_EQ(prompts.openRequests[0].filter, "Zip files (*.zip)");
  EXPECT_EQ(prompts.openRequests[0].filterPattern, "*.zip");
  EXPECT_EQ(caption, "Restore - old.zip");
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(from, dir.str("src/Documents/a.doc"));
  EXPECT_EQ(status, "already there");
  EXPECT_TRUE(IsWindowEnabled(main.hWnd()));

  // What is not an archive is said so, and no window opens.
  prompts.openPaths = {{tarnwick::test::Utf8(dir.write("notes.zip", "not a zip"))}};
  Click(button);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Exclamation);
}

TEST_F(RestoreWindowTest, RestoresIntoAFolderAndShowsTheOutcomeWithItsDetails) {
  const std::map<std::string, std::string> files = {
      {"Documents/letter.doc", std::string(3000, 'x')}, {"b.pdf", "beta"}};
  open(files);
  ASSERT_EQ(planRows(), 2);
  intoFolder(dir.str("dest"));
  runToTheEnd();
  EXPECT_EQ(filesBelow(dir / "dest"), files);
  EXPECT_EQ(cell(plan(), 0, 2), "restored");
  EXPECT_EQ(cell(plan(), 0, 1), dir.str("dest") + "\\Documents\\letter.doc");
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text,
            "2 restored, 0 already there, 0 kept both, 0 skipped, 0 failed.");
  EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Information);
  ASSERT_EQ(prompts.details.size(), 1u);
  EXPECT_NE(prompts.details[0].find("restored: " + dir.str("dest") + "\\b.pdf"), std::string::npos)
      << prompts.details[0];
  EXPECT_EQ(SendMessageW(window->Item(IDC_PRG_RESTORE), PBM_GETPOS, 0, 0), 1000);
  EXPECT_TRUE(IsWindowEnabled(window->Item(IDC_CMD_RESTORE_START)));
  EXPECT_FALSE(IsWindowEnabled(window->Item(IDC_CMD_RESTORE_CANCEL)));

  // A second restore changes nothing.
  prompts.asked.clear();
  runToTheEnd();
  EXPECT_EQ(window->LastOutcome()->alreadyThere, 2u);
  EXPECT_EQ(filesBelow(dir / "dest"), files);
}

TEST_F(RestoreWindowTest, ConflictsAreAskedUntilAnAnswerIsForAll) {
  open({{"a.doc", "A"}, {"b.doc", "B"}, {"c.doc", "C"}});
  // Files of the same size but other content: the window compares them off its thread.
  dir.write("dest/a.doc", "1");
  dir.write("dest/b.doc", "2");
  dir.write("dest/c.doc", "3");
  intoFolder(dir.str("dest"));
  SendMessageW(window->hWnd(), WM_COMMAND, MAKEWPARAM(IDC_TXT_RESTORE_FOLDER, EN_KILLFOCUS),
               reinterpret_cast<LPARAM>(window->Item(IDC_TXT_RESTORE_FOLDER)));
  EXPECT_EQ(cell(plan(), 0, 2), app::kCheckingStatus);
  PumpUntil([this] { return !window->Checking(); });
  EXPECT_EQ(cell(plan(), 0, 2), "a different file is there");

  chooseConflicts(app::kAskChoice);
  prompts.conflictAnswers = {{restore::ConflictChoice::KeepBoth, false},
                             {restore::ConflictChoice::Replace, true}};
  runToTheEnd();
  ASSERT_EQ(prompts.conflicts.size(), 2u);
  EXPECT_EQ(prompts.conflicts[0].existing, dir.str("dest") + "\\a.doc");
  EXPECT_EQ(filesBelow(dir / "dest"), (std::map<std::string, std::string>{
                                          {"a.doc", "1"},
                                          {"a (from OLDPC).doc", "A"},
                                          {"b.doc", "B"},
                                          {"c.doc", "C"},
                                      }));
  EXPECT_EQ(cell(plan(), 1, 2), "restored: replaced the file that was there");
  EXPECT_EQ(cell(plan(), 0, 1), dir.str("dest") + "\\a (from OLDPC).doc");
}

TEST_F(RestoreWindowTest, CancelStopsTheRunOffTheWindowThreadWithNothingHalfWritten) {
  std::map<std::string, std::string> big;
  for (int i = 0; i < 3; ++i)
    big["big" + std::to_string(i) + ".doc"] = std::string(6 << 20, static_cast<char>('a' + i));
  open(big);
  intoFolder(dir.str("dest"));
  Click(window->Item(IDC_CMD_RESTORE_START));
  // The click returned while the files are still being written: the window's thread is free.
  EXPECT_TRUE(window->Running());
  EXPECT_TRUE(IsWindowEnabled(window->Item(IDC_CMD_RESTORE_CANCEL)));
  EXPECT_FALSE(IsWindowEnabled(window->Item(IDCANCEL)));
  Click(window->Item(IDC_CMD_RESTORE_CANCEL));
  PumpUntil([this] { return window->LastOutcome().has_value(); });
  EXPECT_TRUE(window->LastOutcome()->cancelled);
  for (const auto& [name, content] : filesBelow(dir / "dest")) {
    EXPECT_NE(name.rfind(".tw", 0), 0u) << "a temporary file is left: " << name;
    EXPECT_EQ(content, big[name]) << name;
  }
  EXPECT_EQ(prompts.asked.size(), 1u);
  SendMessageW(window->hWnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(window->Closed());
}

}  // namespace
}  // namespace tarnwick::win::test
