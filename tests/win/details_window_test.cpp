// The outcome's message box as the user meets it: "Details..." opens the Details window over the
// box (which stays open), the window shows the whole list, Copy and Save... hand it on whole, and
// the check box's state comes back with the answer.
#include <gtest/gtest.h>

#include "app/questions/texts.h"
#include "support/temp_dir.h"
#include "win/common/details_window.h"
#include "win/common/dialog_prompts.h"
#include "win/common/text.h"
#include "win/resource_ids.h"
#include "win/ui_support.h"

namespace tarnwick::win::test {
namespace {

// The visible window of this thread that holds a control `id` (the message box or the Details
// window), or null.
HWND WindowHolding(int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (IsWindowVisible(window) && GetDlgItem(window, s->id) != nullptr) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr))
    return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// 300 files not archived, far more than the message shows, and a name that is not ASCII.
std::string LongList() {
  std::string details = "C:\\Users\\ana\\Résumé.doc\tnot found\n";
  for (int i = 1; i < 300; ++i)
    details +=
        "C:\\Users\\ana\\f" + std::to_string(i) + ".doc\tstored online only, not downloaded\n";
  return details;
}

class DetailsWindowTest : public UiTest {};

TEST_F(DetailsWindowTest, OpensOverTheOutcomeWithTheWholeListToCopyAndSave) {
  tarnwick::test::TempDir out;
  prompts.savePaths.push_back(out.str("list.txt"));
  app::Question question =
      app::MakeQuestion("Archived 1 of 300 files into C:\\o\\PC1.zip.", app::Icon::Exclamation);
  question.details = LongList();
  question.checkBox = app::texts::kDownloadOnlineCheckBox;

  bool detailsSeen = false;
  Later([&] {
    HWND box = WindowHolding(IDC_MSG_DETAILS);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Text(box), "Tarnwick");
    EXPECT_EQ(Text(GetDlgItem(box, IDC_MSG_TEXT)), question.text);
    EXPECT_EQ(Text(GetDlgItem(box, IDC_MSG_DETAILS)), app::texts::kDetailsButton);
    EXPECT_EQ(Text(GetDlgItem(box, IDC_MSG_CHECK)), app::texts::kDownloadOnlineCheckBox);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDOK)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDYES)));
    EXPECT_NE(SendDlgItemMessageW(box, IDC_MSG_ICON, STM_GETICON, 0, 0), 0);
    Later([&, box] {
      HWND window = WindowHolding(IDC_DET_LIST);
      ASSERT_NE(window, nullptr);
      EXPECT_EQ(GetWindow(window, GW_OWNER), box);
      EXPECT_FALSE(IsWindowEnabled(box));  // modal over the box
      HWND list = GetDlgItem(window, IDC_DET_LIST);
      EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & ES_READONLY);
      EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
      EXPECT_EQ(WindowTextW(list), DetailsText(question.details));
      EXPECT_EQ(SendMessageW(list, EM_GETLINECOUNT, 0, 0), 301);  // 300 lines, then an empty one
      Click(GetDlgItem(window, IDC_DET_COPY));
      EXPECT_EQ(ClipboardText(), DetailsText(question.details));
      Click(GetDlgItem(window, IDC_DET_SAVE));
      Click(GetDlgItem(window, IDCANCEL));
      detailsSeen = true;
      Later([box] {  // back in the box, which stayed open: tick the offer and press OK
        EXPECT_TRUE(IsWindowVisible(box));
        Click(GetDlgItem(box, IDC_MSG_CHECK));
        Click(GetDlgItem(box, IDOK));
      });
    });
    Click(GetDlgItem(box, IDC_MSG_DETAILS));
  });
  const app::Reply reply = DialogPrompts().MessageWithCheckBox(nullptr, question);

  EXPECT_TRUE(detailsSeen);
  EXPECT_EQ(reply.answer, PromptAnswer::Ok);
  EXPECT_TRUE(reply.checked);
  ASSERT_EQ(prompts.saveRequests.size(), 1u);
  EXPECT_EQ(prompts.saveRequests[0].defaultExtension, "txt");
  EXPECT_EQ(tarnwick::test::TempDir::read(out / "list.txt"), question.details);
}

// A Yes/No question with details: Escape answers No, and the box is gone.
TEST_F(DetailsWindowTest, EscapeAnswersNoInAYesNoBox) {
  app::Question question = app::MakeQuestion("Copy?", app::Icon::Question, app::Buttons::YesNo);
  question.details = "C:\\a.doc\tnot found\n";
  Later([] {
    HWND box = WindowHolding(IDC_MSG_DETAILS);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDYES)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDOK)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDC_MSG_CHECK)));
    PressKey(GetDlgItem(box, IDYES), VK_ESCAPE);
  });
  const app::Reply reply = DialogPrompts().MessageWithCheckBox(nullptr, question);
  EXPECT_EQ(reply.answer, PromptAnswer::No);
  EXPECT_FALSE(reply.checked);
  EXPECT_EQ(WindowHolding(IDC_MSG_DETAILS), nullptr);
}

}  // namespace
}  // namespace tarnwick::win::test
