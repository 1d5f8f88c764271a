// Editing the pattern list through Add, Edit, Remove and the "File Extension" dialog.
#include <gtest/gtest.h>

#include "core/settings/app_state.h"
#include "core/settings/startup.h"
#include "support/temp_dir.h"
#include "win/app/app_main.h"
#include "win/common/text.h"
#include "win/resource_ids.h"
#include "win/ui_support.h"
#include "win/windows/frm_ext_dialog.h"
#include "win/windows/frm_main.h"
#include "win/windows/list_box.h"

namespace tarnwick::win::test {
namespace {

class PatternEditingTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ASSERT_TRUE(LoadProgramState(dir.str()));
    window = std::make_unique<frmMain>(SettingsPath(dir.str()));
    window->Show();
  }
  void TearDown() override {
    window.reset();
    UiTest::TearDown();
  }
  HWND Item(int id) const { return GetDlgItem(window->hWnd(), id); }
  HWND DialogItem(int id) const { return GetDlgItem(window->ExtDialog()->hWnd(), id); }
  HWND List() const { return Item(IDC_LST_EXT); }
  // Selects an entry as a click does: the list box tells the window.
  void SelectEntry(int index) {
    ListBoxSelect(List(), index);
    SendMessageW(window->hWnd(), WM_COMMAND, MAKEWPARAM(IDC_LST_EXT, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(List()));
  }

  // Opens the dialog with `button`, and while it is up types `text` and presses `confirm`
  // (then Cancel, should the dialog still be up after the messages).
  void UseDialog(int button, const std::string& text, int confirm) {
    Later([this, text, confirm] {
      SetWindowTextUtf8(DialogItem(IDC_TXT_EXT), text);
      Click(DialogItem(confirm));
      if (IsWindowVisible(window->ExtDialog()->hWnd())) {
        dialogStayedOpen = true;
        Click(DialogItem(IDCANCEL));
      }
    });
    Click(Item(button));
  }

  tarnwick::test::TempDir dir;
  std::unique_ptr<frmMain> window;
  bool dialogStayedOpen = false;
};

TEST_F(PatternEditingTest, AddStoresTheLowerCasedPatternLastAndSelectsIt) {
  UseDialog(IDC_CMD_EXT_ADD, "*.PDFX", IDC_CMD_ADD);
  ASSERT_EQ(ListBoxCount(List()), 36);
  EXPECT_EQ(ListBoxText(List(), 35), "*.pdfx");
  EXPECT_EQ(ListBoxSelection(List()), 35);
  EXPECT_EQ(gExtList.size(), 36u);
  EXPECT_EQ(gExtList.back(), "*.pdfx");
  EXPECT_TRUE(gExtensions.ends_with(";*.xps;*.pdfx"));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_CMD_EXT_EDIT)));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_CMD_EXT_RMV)));
  EXPECT_TRUE(prompts.asked.empty());
  // The dialog's text box is empty again for the next use.
  EXPECT_EQ(Text(DialogItem(IDC_TXT_EXT)), "");
}

TEST_F(PatternEditingTest, RefusesWhatIsNotStarDotLettersAndDuplicatesWithTheirMessages) {
  struct Case {
    const char* typed;
    const char* message;
  };
  const Case cases[] = {
      {"*.mp3", "Please enter a valid file extension"},
      {"*.tar.gz", "Please enter a valid file extension"},
      {"*.*", "Please enter a valid file extension"},
      {"*. doc", "Please enter a valid file extension"},
      {"*.DOC", "The file extension '*.doc' is already in the list."},
  };
  for (const Case& c : cases) {
    prompts.asked.clear();
    dialogStayedOpen = false;
    UseDialog(IDC_CMD_EXT_ADD, c.typed, IDC_CMD_ADD);
    EXPECT_TRUE(dialogStayedOpen) << c.typed;
    ASSERT_EQ(prompts.asked.size(), 1u) << c.typed;
    EXPECT_EQ(prompts.asked[0].text, c.message);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(ListBoxCount(List()), 35);
  }
}

TEST_F(PatternEditingTest, TheButtonsStayDisabledUntilTheTextIsStarDotAndMore) {
  Later([this] {
    for (const char* text : {"*.", "*d", "doc", ""}) {
      SetWindowTextUtf8(DialogItem(IDC_TXT_EXT), text);
      EXPECT_FALSE(IsWindowEnabled(DialogItem(IDC_CMD_ADD))) << text;
      // Enter presses the default button only when it is enabled.
      PressKey(DialogItem(IDC_TXT_EXT), VK_RETURN);
    }
    SetWindowTextUtf8(DialogItem(IDC_TXT_EXT), "*.d");
    EXPECT_TRUE(IsWindowEnabled(DialogItem(IDC_CMD_ADD)));
    EXPECT_FALSE(IsWindowVisible(DialogItem(IDC_CMD_OK)));
    Click(DialogItem(IDCANCEL));
  });
  Click(Item(IDC_CMD_EXT_ADD));
  EXPECT_EQ(ListBoxCount(List()), 35);
  // A cancelled add keeps its text for the next use.
  EXPECT_EQ(Text(DialogItem(IDC_TXT_EXT)), "*.d");
}

TEST_F(PatternEditingTest, EditReplacesTheSelectedEntryAndMayKeepItsOwnText) {
  SelectEntry(1);  // *.doc
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_CMD_EXT_EDIT)));
  UseDialog(IDC_CMD_EXT_EDIT, "*.DOC", IDC_CMD_OK);
  EXPECT_FALSE(dialogStayedOpen);
  EXPECT_EQ(ListBoxText(List(), 1), "*.doc");
  UseDialog(IDC_CMD_EXT_EDIT, "*.Text", IDC_CMD_OK);
  EXPECT_EQ(ListBoxText(List(), 1), "*.text");
  EXPECT_EQ(ListBoxSelection(List()), 1);
  EXPECT_EQ(gExtList[1], "*.text");
  // Editing into another entry's text is refused.
  UseDialog(IDC_CMD_EXT_EDIT, "*.url", IDC_CMD_OK);
  EXPECT_TRUE(dialogStayedOpen);
  EXPECT_EQ(prompts.Texts().back(), "The file extension '*.url' is already in the list.");
}

TEST_F(PatternEditingTest, RemoveSelectsTheNextOrTheNewLastAndTheEmptyListDisablesEditAndRemove) {
  SelectEntry(0);
  Click(Item(IDC_CMD_EXT_RMV));
  EXPECT_EQ(ListBoxText(List(), 0), "*.doc");
  EXPECT_EQ(ListBoxSelection(List()), 0);
  SelectEntry(ListBoxCount(List()) - 1);
  Click(Item(IDC_CMD_EXT_RMV));
  EXPECT_EQ(ListBoxSelection(List()), ListBoxCount(List()) - 1);
  for (int i = 0; i < 40 && ListBoxCount(List()) > 0; ++i)
    Click(Item(IDC_CMD_EXT_RMV));
  EXPECT_EQ(ListBoxCount(List()), 0);
  EXPECT_TRUE(gExtList.empty());
  EXPECT_EQ(gExtensions, "");
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CMD_EXT_EDIT)));
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CMD_EXT_RMV)));
}

TEST_F(PatternEditingTest, TheCloseBoxDiscardsTheDialogAndTheNextUseStartsAfresh) {
  Later([this] {
    SetWindowTextUtf8(DialogItem(IDC_TXT_EXT), "*.abc");
    SendMessageW(window->ExtDialog()->hWnd(), WM_CLOSE, 0, 0);
  });
  Click(Item(IDC_CMD_EXT_ADD));
  EXPECT_EQ(ListBoxCount(List()), 35);
  Later([this] {
    EXPECT_EQ(Text(DialogItem(IDC_TXT_EXT)), "");
    Click(DialogItem(IDCANCEL));
  });
  Click(Item(IDC_CMD_EXT_ADD));
}

}  // namespace
}  // namespace tarnwick::win::test
