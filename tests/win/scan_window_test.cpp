// The scan window: the walk's rows and summary, Cancel and its question, and the close rules.
#include <gtest/gtest.h>

#include "core/scan/search_state.h"
#include "support/temp_dir.h"
#include "win/controls/status_bar.h"
#include "win/scan/frm_scan.h"
#include "win/ui_support.h"

namespace tarnwick::win::test {
namespace {

class ScanWindowTest : public UiTest {
 protected:
  void Prepare(const std::string& root) {
    gSearch = SearchParams{};
    gSearch.Recurse = true;
    gSearch.Pattern = "*.doc;*.pdf";
    gRootFolder = root;
  }
  // Opens the window and pumps until the scan has ended.
  void OpenAndScan() {
    scan = std::make_unique<frmScan>(nullptr);
    scan->Show();
    PumpUntil([this] { return scan->ScanEnded(); });
  }
  std::string Status() const { return GetStatusText(scan->StatusBar(), 0); }
  void RequestClose() { SendMessageW(scan->hWnd(), WM_CLOSE, 0, 0); }

  std::unique_ptr<frmScan> scan;
};

TEST_F(ScanWindowTest, ListsEveryMatchWritesTheSummaryAndOffersTheExport) {
  tarnwick::test::TempDir dir;
  dir.write("a.doc", std::string(1536, 'x'));
  dir.write("sub/b.PDF", "12");
  dir.write("sub/c.txt", "no");
  Prepare(dir.str() + "\\");
  OpenAndScan();
  EXPECT_EQ(Text(scan->hWnd()), "Tarnwick");
  ASSERT_EQ(scan->mList->ListCount(), 2);
  EXPECT_EQ(ListView_GetItemCount(scan->mList->hWnd()), 2);
  std::vector<std::string> names{scan->mList->SubItemText(0, 0), scan->mList->SubItemText(1, 0)};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.doc", "b.PDF"}));
  for (int row = 0; row < 2; ++row) {
    const std::string path = scan->mList->SubItemText(row, 1);
    EXPECT_TRUE(path.ends_with("\\")) << path;
  }
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Scanning is complete."});
  EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Information);
  EXPECT_TRUE(Status().starts_with("2 matches from a total of "));
  EXPECT_TRUE(Status().ends_with(" scanned files - 1.5 KB"));
  EXPECT_FALSE(IsWindowVisible(scan->cmdCancel));
  EXPECT_TRUE(IsWindowVisible(scan->cmdExport));
  EXPECT_EQ(Text(scan->cmdExport), "Save to zip file");
  EXPECT_FALSE(gScanning);
}

TEST_F(ScanWindowTest, AnEmptyResultStillEndsWithTheSummaryAndTheMessage) {
  tarnwick::test::TempDir dir;
  Prepare(dir.str() + "\\");
  OpenAndScan();
  EXPECT_EQ(scan->mList->ListCount(), 0);
  EXPECT_TRUE(Status().starts_with("0 matches from a total of "));
  EXPECT_TRUE(Status().ends_with(" - 0 KB"));
  EXPECT_EQ(prompts.Texts(), std::vector<std::string>{"Scanning is complete."});
}

// A walk that reports matches one by one and hands each to the window, for as long as the scan
// has not been cancelled; `between` runs on the window's thread after the first match, while the
// walk waits.
void ScriptedWalk(int matches, std::function<void()> between) {
  frmScan::SetSearchRunner(
      [matches, between](SearchParams& params, const std::string& root, SearchSink& sink) {
        for (int i = 0; i < matches && gScanning; ++i) {
          ++params.MatchCount;
          ++params.ScannedCount;
          params.TotalBytes += 1024;
          sink.OnMatch("f" + std::to_string(i) + ".doc", root, 1024);
          sink.Yield();
          if (i == 0 && between)
            OnWindowThread(between);
        }
      });
}

TEST_F(ScanWindowTest, CancelAnsweredYesStopsTheWalkWithoutTheMessageButKeepsTheRows) {
  Prepare("C:\\data\\");
  ScriptedWalk(100, [this] {
    prompts.answers = {PromptAnswer::Yes};
    Click(scan->cmdCancel);
  });
  OpenAndScan();
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0].text, "Are you sure you want to cancel the scanning process?");
  EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(scan->mList->ListCount(), 1);
  EXPECT_EQ(Status(), "1 matches from a total of 1 scanned files - 1 KB");
  EXPECT_TRUE(IsWindowVisible(scan->cmdExport));
  // Unsaved results: closing asks, and No keeps the window with its rows.
  prompts.answers = {PromptAnswer::No};
  RequestClose();
  EXPECT_EQ(prompts.Texts().back(), "Files have not been saved, are you sure you want to exit?");
  EXPECT_FALSE(scan->Closed());
  EXPECT_EQ(scan->mList->ListCount(), 1);
  prompts.answers = {PromptAnswer::Yes};
  RequestClose();
  EXPECT_TRUE(scan->Closed());
  EXPECT_EQ(scan->mList, nullptr);
}

// A walk stuck in one folder (a slow network drive) holds up neither the rows found so far nor
// Cancel: the window runs its messages while the walk waits.
TEST_F(ScanWindowTest, TheWindowShowsRowsAndTakesCancelWhileTheWalkIsBusy) {
  Prepare("C:\\data\\");
  frmScan::SetSearchRunner([](SearchParams& params, const std::string& root, SearchSink& sink) {
    ++params.MatchCount;
    sink.OnMatch("early.doc", root, 10);
    sink.Yield();
    for (int waited = 0; gScanning && waited < 10000; waited += 5)
      Sleep(5);
  });
  scan = std::make_unique<frmScan>(nullptr);
  scan->Show();
  PumpUntil([this] { return ListView_GetItemCount(scan->mList->hWnd()) == 1; });
  EXPECT_FALSE(scan->ScanEnded());
  EXPECT_EQ(scan->mList->SubItemText(0, 0), "early.doc");
  prompts.answers = {PromptAnswer::Yes};
  Click(scan->cmdCancel);
  PumpUntil([this] { return scan->ScanEnded(); }, 5000);
  EXPECT_EQ(prompts.Texts(),
            std::vector<std::string>{"Are you sure you want to cancel the scanning process?"});
  EXPECT_EQ(Status(), "1 matches from a total of 0 scanned files - 0 KB");
}

TEST_F(ScanWindowTest, CancelAnsweredNoAndClosingDuringTheScanLetTheWalkGoOn) {
  Prepare("C:\\data\\");
  ScriptedWalk(5, [this] {
    prompts.answers = {PromptAnswer::No};
    Click(scan->cmdCancel);
    RequestClose();  // refused silently while the scan runs
    PressKey(scan->mList->hWnd(), VK_ESCAPE);
  });
  OpenAndScan();
  EXPECT_FALSE(scan->Closed());
  EXPECT_EQ(scan->mList->ListCount(), 5);
  EXPECT_EQ(prompts.Texts(),
            (std::vector<std::string>{"Are you sure you want to cancel the scanning process?",
                                      "Scanning is complete."}));
}

TEST_F(ScanWindowTest, SavedResultsCloseUnaskedAndAnExportInProgressKeepsTheWindowOpen) {
  Prepare("C:\\data\\");
  ScriptedWalk(1, {});
  bool closedDuringExport = true;
  frmScan::SetExportCommand([&](frmScan& window) {
    window.Session().mbExporting = true;
    SendMessageW(window.hWnd(), WM_CLOSE, 0, 0);
    closedDuringExport = window.Closed();
    window.Session().mbExporting = false;
    window.Session().mbSaved = true;
  });
  OpenAndScan();
  EXPECT_TRUE(IsWindowEnabled(scan->cmdExport));
  Click(scan->cmdExport);
  EXPECT_FALSE(closedDuringExport);
  const std::size_t asked = prompts.asked.size();
  RequestClose();
  EXPECT_TRUE(scan->Closed());
  EXPECT_EQ(prompts.asked.size(), asked);
}

}  // namespace
}  // namespace tarnwick::win::test
