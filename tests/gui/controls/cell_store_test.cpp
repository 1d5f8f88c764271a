#include "gui/controls/cell_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick::gui {
namespace {

TEST(CellStore, KeepsEveryTextAcrossChunksAndSharedCells) {
  CellStore store;
  store.insertColumn(1);
  store.insertColumn(2);
  // Enough text to fill several chunks, with runs of equal texts in column 1 (shared bytes),
  // lengths on both sides of the one-byte length prefix, and one text larger than a chunk.
  std::vector<std::string> names;
  std::vector<std::string> folders;
  for (int i = 0; i < 30000; ++i) {
    names.push_back("file-" + std::to_string(i) +
                    std::string(static_cast<std::size_t>(i % 200), 'x'));
    folders.push_back("/data/folder-" + std::to_string(i / 7) + "/");
  }
  names[12345] = std::string(3u << 20, 'L');
  for (int i = 0; i < 30000; ++i) {
    store.insertRow(i, names[static_cast<std::size_t>(i)], {i, 0, 0});
    store.setCell(i, 1, folders[static_cast<std::size_t>(i)]);
  }
  ASSERT_EQ(store.rowCount(), 30000);
  for (int i = 0; i < 30000; ++i) {
    ASSERT_EQ(store.cell(i, 0), names[static_cast<std::size_t>(i)]) << i;
    ASSERT_EQ(store.cell(i, 1), folders[static_cast<std::size_t>(i)]) << i;
    ASSERT_EQ(store.cell(i, 2), "");
    ASSERT_EQ(store.rowInfo(i).itemData, i);
  }
}

TEST(CellStore, InsertsRowsAndColumnsInTheMiddleAndOverwritesCells) {
  CellStore store;
  store.insertColumn(1);
  store.insertRow(0, "a", {});
  store.insertRow(1, "c", {});
  store.insertRow(1, "b", {7, 2, 1});
  store.setCell(0, 1, "same");
  store.setCell(1, 1, "same");
  store.setCell(0, 1, "changed");  // a shared text changes in one row only
  store.insertColumn(1);
  EXPECT_EQ(store.cell(1, 0), "b");
  EXPECT_EQ(store.rowInfo(1).itemData, 7);
  EXPECT_EQ(store.rowInfo(1).image, 2);
  EXPECT_EQ(store.cell(0, 1), "");
  EXPECT_EQ(store.cell(0, 2), "changed");
  EXPECT_EQ(store.cell(1, 2), "same");
  EXPECT_EQ(store.cell(2, 0), "c");
  EXPECT_EQ(store.cell(3, 0), "");
  EXPECT_EQ(store.cell(0, 3), "");

  store.clearRows();
  EXPECT_EQ(store.rowCount(), 0);
  EXPECT_EQ(store.columnCount(), 3);
  store.insertRow(0, "again", {});
  store.setCell(0, 2, "same");
  EXPECT_EQ(store.cell(0, 2), "same");
}

}  // namespace
}  // namespace tarnwick::gui
