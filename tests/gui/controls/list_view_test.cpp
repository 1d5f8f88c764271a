#include "gui/controls/list_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QWidget>
#include <memory>

namespace tarnwick::gui {
namespace {

// A list set up the way the scan window sets it up, inside a shown parent window.
class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_.resize(620, 416);
    parent_.show();
    ASSERT_TRUE(list_.Init(&parent_));
    list_.View(LVS_REPORT);
    list_.GridLines(true);
    list_.FullRowSelect(true);
    list_.Move(8, 8, 605, 350);
    list_.ColumnAdd("Filename", 150, LVCFMT_LEFT);
    list_.ColumnAdd("Path", 375, LVCFMT_LEFT);
    list_.ColumnAdd("Size", 75, LVCFMT_LEFT);
  }

  // Adds a row the way the scan does: first text, then the other cells of the index returned.
  int addRow(int index, const QString& name, const QString& folder, const QString& size) {
    const int row = list_.ItemAdd(index, name, 0, 0);
    list_.SubItemText(row, 1, folder);
    list_.SubItemText(row, 2, size);
    return row;
  }

  QWidget parent_;
  clsListView list_;
};

TEST(ListViewWithoutWindow, ReadsEmptyAndIgnoresWrites) {
  clsListView never;
  clsListView failed;
  EXPECT_FALSE(failed.Init(nullptr));
  for (clsListView* list : {&never, &failed}) {
    EXPECT_EQ(list->hWnd(), nullptr);
    EXPECT_EQ(list->ItemAdd(0, "x"), -1);
    list->SubItemText(0, 0, "x");
    EXPECT_EQ(list->SubItemText(0, 0), "");
    EXPECT_EQ(list->ListCount(), 0);
    list->ColumnAdd("Filename", 150);
    EXPECT_EQ(list->ColumnCount(), 1);
    list->ScrollBottom();
    list->Clear();
  }
}

TEST(ListViewInit, CreatesAVisibleChildAtTheTopLeftInIconView) {
  QWidget parent;
  parent.resize(300, 300);
  parent.show();
  clsListView list;
  ASSERT_TRUE(list.Init(&parent));
  ASSERT_NE(list.hWnd(), nullptr);
  EXPECT_EQ(list.hWnd()->parentWidget(), &parent);
  EXPECT_TRUE(list.hWnd()->isVisible());
  EXPECT_EQ(list.hWnd()->geometry(), QRect(0, 0, 200, 100));
  EXPECT_EQ(list.View(), 0);
  EXPECT_FALSE(list.hWnd()->horizontalHeader()->isVisible());
  EXPECT_FALSE(list.FullRowSelect());
  EXPECT_FALSE(list.GridLines());
  EXPECT_FALSE(list.hWnd()->showGrid());

  // A second Init makes a second list and leaves the first with the parent.
  QTableView* first = list.hWnd();
  ASSERT_TRUE(list.Init(&parent));
  EXPECT_NE(list.hWnd(), first);
  EXPECT_EQ(first->parentWidget(), &parent);
}

TEST_F(ListViewTest, SetUpAsTheScanWindowShowsAReportWithThreeColumns) {
  QTableView* view = list_.hWnd();
  EXPECT_EQ(view->geometry(), QRect(8, 8, 605, 350));
  EXPECT_TRUE(view->horizontalHeader()->isVisible());
  EXPECT_TRUE(view->showGrid());
  EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
  ASSERT_EQ(list_.ColumnCount(), 3);
  const QStringList captions{"Filename", "Path", "Size"};
  const int widths[] = {150, 375, 75};
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(view->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
              captions[c]);
    EXPECT_EQ(view->columnWidth(c), widths[c]);
    EXPECT_FALSE(view->isColumnHidden(c));
  }
}

TEST_F(ListViewTest, ExtendedStylesAreCachedAndIndependent) {
  EXPECT_TRUE(list_.GridLines());
  EXPECT_TRUE(list_.FullRowSelect());
  list_.FullRowSelect(false);
  EXPECT_FALSE(list_.FullRowSelect());
  EXPECT_TRUE(list_.GridLines());
  EXPECT_EQ(list_.hWnd()->selectionBehavior(), QAbstractItemView::SelectItems);
  EXPECT_TRUE(list_.hWnd()->showGrid());
  list_.FlatScrollBar(true);
  EXPECT_TRUE(list_.FlatScrollBar());
  list_.GridLines(false);
  EXPECT_FALSE(list_.hWnd()->showGrid());
  EXPECT_TRUE(list_.FlatScrollBar());
}

TEST_F(ListViewTest, ViewShowsHeadersAndColumnsOnlyInReportView) {
  QTableView* view = list_.hWnd();
  for (int value : {LVS_LIST, LVS_ICON, LVS_SMALLICON, LVS_REPORT}) {
    list_.View(value);
    EXPECT_EQ(list_.View(), value);
    const bool report = value == LVS_REPORT;
    EXPECT_EQ(view->horizontalHeader()->isVisible(), report) << value;
    EXPECT_EQ(view->isColumnHidden(1), !report) << value;
    EXPECT_FALSE(view->isColumnHidden(0));
  }
}

TEST_F(ListViewTest, RowsAreAddedReadBackAndCarryTheirRequestedIndex) {
  // The scan asks for the new match count as the index: always past the last row, so appended.
  EXPECT_EQ(addRow(1, "a.doc", "/data/", "1 KB"), 0);
  EXPECT_EQ(addRow(2, "b.doc", "/data/", "2 KB"), 1);
  EXPECT_EQ(addRow(99, "c.doc", "/data/x/", "3 KB"), 2);
  // An index among the rows inserts there.
  EXPECT_EQ(addRow(0, "first.doc", "/", "0 KB"), 0);
  EXPECT_EQ(list_.ItemAdd(-1, "refused"), -1);
  ASSERT_EQ(list_.ListCount(), 4);
  const char* expected[4][3] = {{"first.doc", "/", "0 KB"},
                                {"a.doc", "/data/", "1 KB"},
                                {"b.doc", "/data/", "2 KB"},
                                {"c.doc", "/data/x/", "3 KB"}};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c)
      EXPECT_EQ(list_.SubItemText(r, c), expected[r][c]) << r << c;
  }
  EXPECT_EQ(list_.ItemData(0), 0);
  EXPECT_EQ(list_.ItemData(1), 1);
  EXPECT_EQ(list_.ItemData(3), 99);
  // Cells outside the table read empty, and writes to them change nothing.
  list_.SubItemText(4, 0, "nothing");
  list_.SubItemText(0, 3, "nothing");
  EXPECT_EQ(list_.ListCount(), 4);
  EXPECT_EQ(list_.SubItemText(4, 0), "");
  EXPECT_EQ(list_.SubItemText(0, 3), "");

  // The view sees every row once events have run.
  QApplication::processEvents();
  EXPECT_EQ(list_.hWnd()->model()->rowCount(), 4);
  EXPECT_EQ(list_.hWnd()->model()->index(3, 1).data().toString(), "/data/x/");
}

TEST_F(ListViewTest, LongAndNonUtf8TextsComeBackWhole) {
  // Full paths are read back by the export: no length limit, no change of bytes.
  const QString longPath = "/" + QString(300, QChar(u'\u00e9')) + "/";
  const std::string rawName = "caf\xe9 \xff.doc";  // not UTF-8: a name as a Linux folder may hold
  const int row = list_.ItemAddUtf8(1, rawName);
  list_.SubItemText(row, 1, longPath);
  EXPECT_EQ(list_.SubItemUtf8(row, 0), rawName);
  EXPECT_EQ(list_.SubItemText(row, 1), longPath);
  EXPECT_EQ(list_.SubItemText(row, 1).size(), 302);
  // Fitting a column counts rows not yet shown by the view.
  list_.AutoSizeColumn(1);
  EXPECT_GT(list_.hWnd()->columnWidth(1), 375);
}

TEST_F(ListViewTest, ClearKeepsTheColumns) {
  addRow(1, "a.doc", "/data/", "1 KB");
  addRow(2, "b.doc", "/data/", "1 KB");
  QApplication::processEvents();
  list_.Clear();
  EXPECT_EQ(list_.ListCount(), 0);
  EXPECT_EQ(list_.hWnd()->model()->rowCount(), 0);
  EXPECT_EQ(list_.ColumnCount(), 3);
  EXPECT_EQ(list_.hWnd()->model()->columnCount(), 3);
  EXPECT_EQ(addRow(1, "c.doc", "/data/", "1 KB"), 0);
  EXPECT_EQ(list_.SubItemText(0, 1), "/data/");
}

TEST_F(ListViewTest, ScrollBottomShowsTheLastRowAfterEventsRun) {
  for (int i = 1; i <= 500; ++i) {
    addRow(i, QString("file%1.doc").arg(i), "/data/", "1 KB");
    list_.ScrollBottom();
  }
  QApplication::processEvents();
  QScrollBar* bar = list_.hWnd()->verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  const QRect last = list_.hWnd()->visualRect(list_.hWnd()->model()->index(499, 0));
  EXPECT_TRUE(list_.hWnd()->viewport()->rect().intersects(last));
}

TEST_F(ListViewTest, MoveRoundsHalvesToEvenAndVisibleHidesAndShows) {
  list_.Move(2.5f, 3.5f, 100.4f, 50.6f);
  EXPECT_EQ(list_.hWnd()->geometry(), QRect(2, 4, 100, 51));
  list_.Visible(false);
  EXPECT_FALSE(list_.hWnd()->isVisible());
  list_.Visible(true);
  EXPECT_TRUE(list_.hWnd()->isVisible());
}

TEST(ListViewWithoutWindow, ListGoesAwayWithItsParent) {
  auto parent = std::make_unique<QWidget>();
  clsListView list;
  ASSERT_TRUE(list.Init(parent.get()));
  parent.reset();
  EXPECT_EQ(list.hWnd(), nullptr);
  EXPECT_EQ(list.ItemAdd(0, "x"), -1);
  EXPECT_EQ(list.SubItemText(0, 0), "");
}

}  // namespace
}  // namespace tarnwick::gui
