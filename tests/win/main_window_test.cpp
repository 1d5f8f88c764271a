// The main window as the user meets it: what it shows at start, what "GO" hands to the scan,
// and the closing of the program.
#include <gtest/gtest.h>

#include "core/scan/search_state.h"
#include "core/settings/app_state.h"
#include "core/settings/settings.h"
#include "core/settings/startup.h"
#include "support/temp_dir.h"
#include "win/app/app_main.h"
#include "win/common/layout.h"
#include "win/resource_ids.h"
#include "win/ui_support.h"
#include "win/windows/frm_main.h"
#include "win/windows/list_box.h"

namespace tarnwick::win::test {
namespace {

class MainWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ASSERT_TRUE(LoadProgramState(dir.str()));
    window = std::make_unique<frmMain>(SettingsPath(dir.str()));
    window->SetSplashShower([this](int milliseconds) {
      EXPECT_EQ(milliseconds, 3000);
      ++splashes;
    });
    window->Show();
  }
  void TearDown() override {
    window.reset();
    UiTest::TearDown();
  }
  HWND Item(int id) const { return GetDlgItem(window->hWnd(), id); }

  tarnwick::test::TempDir dir;
  std::unique_ptr<frmMain> window;
  int splashes = 0;
};

TEST_F(MainWindowTest, StartsWithTheDefaultPatternsBothSwitchesAndTheWindowsDrive) {
  EXPECT_EQ(tarnwick::test::TempDir::read(dir / "Settings.ini"), DefaultSettingsBytes());
  HWND list = Item(IDC_LST_EXT);
  ASSERT_EQ(ListBoxCount(list), 35);
  EXPECT_EQ(ListBoxText(list, 0), "*.url");
  EXPECT_EQ(ListBoxText(list, 34), "*.xps");
  EXPECT_EQ(IsDlgButtonChecked(window->hWnd(), IDC_CHK_IGNORE_TEMP), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(window->hWnd(), IDC_CHK_IGNORE_SYS), BST_CHECKED);
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CMD_EXT_EDIT)));
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CMD_EXT_RMV)));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_CMD_EXT_ADD)));
  EXPECT_EQ(Text(Item(IDC_TXT_FOLDER)), "C:\\");  // Wine's WINDIR is C:\windows
  EXPECT_EQ(Text(window->hWnd()), "Free and open source - Tarnwick");
  EXPECT_EQ(Text(Item(IDC_CMD_SCAN)), "GO");
  EXPECT_EQ(GetFocus(), Item(IDC_LST_EXT));
}

// "GO" holds a bold Tahoma of 15.75 pt (21 pixels at 96 dots per inch), as the window made it.
TEST_F(MainWindowTest, GoHoldsItsBoldFont) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(Item(IDC_CMD_SCAN), WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW lf{};
  ASSERT_NE(GetObjectW(font, sizeof lf, &lf), 0);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfHeight, -MulDiv(1575, WindowDpi(window->hWnd()), 7200));
  EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
}

TEST_F(MainWindowTest, GoHandsTheFolderWithItsSeparatorTheSwitchesAndThePatternsToTheScan) {
  struct Case {
    const char* folder;
    const char* root;
  };
  for (const Case c : {Case{"C:\\Data", "C:\\Data\\"}, Case{"C:\\", "C:\\"}, Case{"", "\\"}}) {
    SetWindowTextW(Item(IDC_TXT_FOLDER),
                   std::wstring(c.folder, c.folder + strlen(c.folder)).c_str());
    CheckDlgButton(window->hWnd(), IDC_CHK_IGNORE_TEMP, BST_UNCHECKED);
    int opened = 0;
    window->SetScanWindowOpener([&](HWND owner) {
      EXPECT_EQ(owner, window->hWnd());
      ++opened;
    });
    Click(Item(IDC_CMD_SCAN));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(gRootFolder, c.root);
    EXPECT_TRUE(gSearch.Recurse);
    EXPECT_FALSE(gSearch.IgnoreTemp);
    EXPECT_TRUE(gSearch.IgnoreSys);
    EXPECT_EQ(gSearch.Pattern, gExtensions);
    EXPECT_EQ(gSearch.MatchCount, 0);
  }
}

TEST_F(MainWindowTest, BrowseReplacesTheFolderOnlyWhenOneWasChosen) {
  prompts.folders = {std::string("C:\\windows"), std::nullopt};
  Click(Item(IDC_CMD_BROWSE));
  EXPECT_EQ(Text(Item(IDC_TXT_FOLDER)), "C:\\windows");
  Click(Item(IDC_CMD_BROWSE));
  EXPECT_EQ(Text(Item(IDC_TXT_FOLDER)), "C:\\windows");
}

TEST_F(MainWindowTest, ClosingAsksAndNoKeepsEverythingAndWritesNothing) {
  CheckDlgButton(window->hWnd(), IDC_CHK_IGNORE_SYS, BST_UNCHECKED);
  prompts.answers = {PromptAnswer::No};
  SendMessageW(window->hWnd(), WM_CLOSE, 0, 0);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "Are you sure you want to exit?");
  EXPECT_EQ(prompts.asked[0].caption, "Tarnwick");
  EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Question);
  EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNo);
  EXPECT_FALSE(window->Unloaded());
  EXPECT_TRUE(IsWindowVisible(window->hWnd()));
  EXPECT_EQ(ReadSetting(SettingsPath(dir.str()), "app", "ignoresys"), "1");
  EXPECT_EQ(splashes, 0);
}

TEST_F(MainWindowTest, ClosingWithYesWritesTheSettingsHidesTheWindowAndShowsTheSplash) {
  CheckDlgButton(window->hWnd(), IDC_CHK_IGNORE_SYS, BST_UNCHECKED);
  bool done = false;
  window->SetOnUnloaded([&] { done = true; });
  prompts.answers = {PromptAnswer::Yes};
  SendMessageW(window->hWnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(done);
  EXPECT_TRUE(window->Unloaded());
  EXPECT_FALSE(IsWindowVisible(window->hWnd()));
  EXPECT_EQ(splashes, 1);
  const std::string file = SettingsPath(dir.str());
  EXPECT_EQ(ReadSetting(file, "app", "ignoresys"), "0");
  EXPECT_EQ(ReadSetting(file, "app", "ignoretemp"), "1");
  EXPECT_EQ(ReadSetting(file, "app", "extensions"), gExtensions);
}

TEST(StartupTest, AnUnwritableFolderGivesTheAdministratorMessageAndNoWindow) {
  ScriptedPrompts prompts;
  InstallPrompts(&prompts);
  tarnwick::test::TempDir dir;
  // A folder where the settings file should be: it cannot be written.
  dir.mkdir("Settings.ini");
  EXPECT_FALSE(LoadProgramState(dir.str()));
  InstallPrompts(nullptr);
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "You need to be an administrator to run this program.");
  EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Error);
}

}  // namespace
}  // namespace tarnwick::win::test
