#include "gui/controls/image_list.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include "gui/controls/list_view.h"
#include "support/temp_dir.h"

namespace tarnwick::gui {
namespace {

QIcon solidIcon(Qt::GlobalColor color) {
  QPixmap picture(16, 16);
  picture.fill(color);
  return QIcon(picture);
}

TEST(ImageList, IndexesFollowTheOrderOfAddingAndRestartAfterClear) {
  test::TempDir dir;
  const auto a = dir.write("a.doc", "x");
  const auto b = dir.write("b.txt", "y");
  clsImgList images;
  const QIcon fallback = solidIcon(Qt::red);
  images.NullIcon(fallback);
  EXPECT_EQ(images.AddIconFromFile(QString::fromStdString(a.string())), 0);
  EXPECT_EQ(images.AddIconFromFile(QString::fromStdString(b.string())), 1);
  // A missing file gets a copy of the fallback icon, which stays usable for later calls.
  EXPECT_EQ(images.AddIconFromFile(QString::fromStdString((dir / "missing.doc").string())), 2);
  EXPECT_EQ(images.AddIconFromFile("/no/such/file"), 3);
  EXPECT_FALSE(fallback.isNull());
  EXPECT_EQ(images.hWnd()->at(2).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));

  images.Clear();
  EXPECT_EQ(images.Count(), 0);
  images.AddIcon(solidIcon(Qt::blue));
  EXPECT_EQ(images.Count(), 1);
}

TEST(ImageList, WithoutAFallbackAMissingFileAddsNothing) {
  clsImgList images;
  EXPECT_EQ(images.AddIconFromFile("/no/such/file"), -1);
  images.AddIcon(QIcon());  // a null icon is refused
  EXPECT_EQ(images.Count(), 0);
  images.AddIcon(solidIcon(Qt::green));
  EXPECT_EQ(images.AddIconFromFile("/no/such/file"), 0);
  EXPECT_EQ(images.Count(), 1);
}

TEST(ImageList, ListViewShowsTheRowsImage) {
  QWidget parent;
  clsListView list;
  ASSERT_TRUE(list.Init(&parent));
  list.View(LVS_REPORT);
  list.ColumnAdd("Filename", 150);
  list.ColumnAdd("Path", 150);
  auto images = std::make_unique<clsImgList>();
  images->AddIcon(solidIcon(Qt::red));
  images->AddIcon(solidIcon(Qt::blue));
  list.ImageList(LVSIL_SMALL, *images);
  list.ItemAdd(0, "red", 0, 0);
  list.ItemAdd(1, "blue", 0, 1);
  list.ItemAdd(2, "none", 0, 7);
  images.reset();  // the list keeps its own reference to the icons
  QApplication::processEvents();
  QAbstractItemModel* model = list.hWnd()->model();
  const auto colorOf = [&](int row) {
    return model->index(row, 0)
        .data(Qt::DecorationRole)
        .value<QIcon>()
        .pixmap(16, 16)
        .toImage()
        .pixelColor(8, 8);
  };
  EXPECT_EQ(colorOf(0), QColor(Qt::red));
  EXPECT_EQ(colorOf(1), QColor(Qt::blue));
  EXPECT_EQ(list.ItemImage(1), 1);
  EXPECT_FALSE(model->index(2, 0).data(Qt::DecorationRole).isValid());
  EXPECT_FALSE(model->index(0, 1).data(Qt::DecorationRole).isValid());
}

}  // namespace
}  // namespace tarnwick::gui
