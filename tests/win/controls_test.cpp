// The control wrappers: the owner-data result list with a million rows, its selection as the
// control reports it, the status bar's styles, and the message-pumping wait on the real queue
// (its deadline arithmetic is the app layer's, tested there).
#include <gtest/gtest.h>

#include "win/app/wait_pumping.h"
#include "win/common/handles.h"
#include "win/common/message_loop.h"
#include "win/controls/list_view.h"
#include "win/controls/selection_ranges.h"
#include "win/controls/status_bar.h"

namespace tarnwick::win::test {
namespace {

// A plain top-level window to hold the controls; the list's notifications go to `list`.
clsListView* gNotified = nullptr;
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && gNotified != nullptr) {
    LRESULT result = 0;
    if (gNotified->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result))
      return result;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

WindowHandle MakeHost() {
  static const ATOM registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarnwickTestHost";
    return RegisterClassW(&wc);
  }();
  (void)registered;
  WindowHandle host(CreateWindowExW(0, L"TarnwickTestHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 700,
                                    500, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  ShowWindow(host.get(), SW_SHOW);
  return host;
}

void SetSelected(HWND list, int row, bool on) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = on ? LVIS_SELECTED : 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Rows made from their index, so a million of them need no store.
class CountedRows final : public RowSource {
 public:
  explicit CountedRows(int count) : count_(count) {}
  int Count() const override { return count_; }
  std::string Cell(int row, int column) const override {
    switch (column) {
      case 0:
        return "file" + std::to_string(row) + ".doc";
      case 1:
        return "C:\\" + std::string(300, 'p') + "\\";
      default:
        return "1 KB";
    }
  }
  int count_;
};

TEST(ListViewTest, ShowsAMillionRowsAndGivesTheControlTheTextsItDraws) {
  const WindowHandle host = MakeHost();
  clsListView list;
  gNotified = &list;
  ASSERT_TRUE(list.Init(host.get()));
  list.View(LVS_REPORT);
  list.GridLines(true);
  list.FullRowSelect(true);
  EXPECT_TRUE(list.GridLines());
  EXPECT_TRUE(list.FullRowSelect());
  const DWORD ex = ListView_GetExtendedListViewStyle(list.hWnd());
  EXPECT_EQ(ex & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
            static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
  EXPECT_EQ(GetWindowLongPtrW(list.hWnd(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  list.Move(8, 8, 605, 350);
  list.ColumnAdd("Filename", 150);
  list.ColumnAdd("Path", 375);
  list.ColumnAdd("Size", 75);
  EXPECT_EQ(list.ColumnCount(), 3);

  CountedRows rows(0);
  list.SetRows(&rows);
  constexpr int kRows = 1'000'000;
  // Rows arrive in bursts; the control learns their number when the list publishes.
  for (int burst = 1; burst <= 10; ++burst) {
    rows.count_ = burst * kRows / 10;
    list.ScrollBottom();
    list.Publish();
    PumpPending();
  }
  EXPECT_EQ(list.ListCount(), kRows);
  EXPECT_EQ(ListView_GetItemCount(list.hWnd()), kRows);
  EXPECT_EQ(list.SubItemText(kRows - 1, 0), "file999999.doc");
  EXPECT_EQ(list.SubItemText(kRows - 1, 1).size(), 304u);  // whole, not cut
  EXPECT_EQ(list.SubItemText(kRows, 0), "");
  // The last row was scrolled into view.
  EXPECT_GE(ListView_GetTopIndex(list.hWnd()) + ListView_GetCountPerPage(list.hWnd()), kRows - 1);

  // The control asks the list for what it draws.
  wchar_t buffer[64] = {};
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = buffer;
  item.cchTextMax = 64;
  SendMessageW(list.hWnd(), LVM_GETITEMTEXTW, 42, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(buffer, L"file42.doc");
  item.iSubItem = 2;
  SendMessageW(list.hWnd(), LVM_GETITEMTEXTW, 42, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(buffer, L"1 KB");
  gNotified = nullptr;
}

// Wine selects every row of a virtual list one by one, so this list is smaller.
TEST(ListViewTest, FollowsTheSelectionThroughTheControlsNotifications) {
  const WindowHandle host = MakeHost();
  clsListView list;
  gNotified = &list;
  ASSERT_TRUE(list.Init(host.get()));
  list.View(LVS_REPORT);
  list.ColumnAdd("Filename", 150);
  constexpr int kRows = 2000;
  CountedRows rows(kRows);
  list.SetRows(&rows);
  SetSelected(list.hWnd(), -1, true);  // every row
  EXPECT_EQ(list.Selection().Count(), kRows);
  SetSelected(list.hWnd(), 500, false);
  EXPECT_EQ(list.Selection().Count(), kRows - 1);
  EXPECT_FALSE(list.Selection().Contains(500));
  SetSelected(list.hWnd(), -1, false);
  EXPECT_EQ(list.Selection().Count(), 0);
  SetSelected(list.hWnd(), 7, true);
  SetSelected(list.hWnd(), 9, true);
  EXPECT_EQ(list.Selection().Ranges(), (std::vector<std::pair<int, int>>{{7, 8}, {9, 10}}));
  gNotified = nullptr;
}

TEST(ListViewTest, WithoutAControlOrRowsReadsAreEmpty) {
  clsListView list;
  EXPECT_EQ(list.SubItemText(0, 0), "");
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_FALSE(list.FullRowSelect());
  EXPECT_EQ(list.View(), 0);
  list.Publish();
}

TEST(SelectionRangesTest, MergesSplitsAndCounts) {
  SelectionRanges s;
  s.Set(0, 10, true);
  s.Set(10, 20, true);
  EXPECT_EQ(s.Ranges(), (std::vector<std::pair<int, int>>{{0, 20}}));
  s.Set(5, 7, false);
  EXPECT_EQ(s.Ranges(), (std::vector<std::pair<int, int>>{{0, 5}, {7, 20}}));
  EXPECT_EQ(s.Count(), 18);
  s.Set(3, 9, true);
  EXPECT_EQ(s.Ranges(), (std::vector<std::pair<int, int>>{{0, 20}}));
  s.Set(30, 31, true);
  s.Set(0, 40, false);
  EXPECT_EQ(s.Count(), 0);
  EXPECT_FALSE(s.Contains(30));
}

TEST(StatusBarTest, TextsAndStylesAsTheBarKeepsThem) {
  const WindowHandle host = MakeHost();
  HWND bar = CreateStatusBar(host.get());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetStatusTextStyle(bar, 0), 0);
  SetStatusText(bar, 0, SBT_POPOUT, "C:\\Some folder\\with a long name");
  EXPECT_EQ(GetStatusTextStyle(bar, 0), SBT_POPOUT);
  EXPECT_EQ(GetStatusText(bar, 0), "C:\\Some folder\\with a long name");
  SetStatusText(bar, 0, SBT_NOBORDERS, "Ω");
  EXPECT_EQ(GetStatusTextStyle(bar, 0), SBT_NOBORDERS);
  EXPECT_EQ(GetStatusText(bar, 0), "Ω");
  SetStatusText(nullptr, 0, SBT_SUNKEN, "nothing");
  EXPECT_EQ(GetStatusTextStyle(nullptr, 0), 0);
}

TEST(WaitPumpingTest, TheRealWaitLastsItsIntervalWhileMessagesArrive) {
  const WindowHandle host = MakeHost();
  const DWORD start = GetTickCount();
  for (int i = 0; i < 20; ++i)
    PostMessageW(host.get(), WM_NULL, 0, 0);
  EXPECT_EQ(WaitPumping(300), app::kWaitTimeout);
  const DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 290u);
  EXPECT_LT(took, 2000u);
}

}  // namespace
}  // namespace tarnwick::win::test
