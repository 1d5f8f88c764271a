#include "gui/controls/status_bar.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QStatusBar>
#include <QWidget>

#include "gui/controls/common_controls.h"

namespace tarnwick::gui {
namespace {

QLabel* part0(QStatusBar* bar) {
  return bar->findChild<QLabel*>("statusPart0");
}

TEST(StatusBar, StartsWithOneEmptySunkenPart) {
  EXPECT_TRUE(InitComCtl(ICC_BAR_CLASSES));
  QWidget window;
  QStatusBar* bar = CreateStatusBar(&window);
  ASSERT_NE(part0(bar), nullptr);
  EXPECT_EQ(bar->parentWidget(), &window);
  EXPECT_EQ(GetStatusText(bar, 0), "");
  EXPECT_EQ(GetStatusTextStyle(bar, 0), SBT_SUNKEN);
  EXPECT_EQ(part0(bar)->frameShadow(), QFrame::Sunken);
  EXPECT_EQ(part0(bar)->textFormat(), Qt::PlainText);
}

TEST(StatusBar, TextAndBorderStyleFollowEachWrite) {
  QWidget window;
  QStatusBar* bar = CreateStatusBar(&window);
  struct Case {
    std::uint16_t style;
    int frame;
  };
  const Case cases[] = {{SBT_POPOUT, QFrame::Panel | QFrame::Raised},
                        {SBT_NOBORDERS, QFrame::NoFrame},
                        {SBT_SUNKEN, QFrame::Panel | QFrame::Sunken}};
  for (const Case& c : cases) {
    SetStatusText(bar, 0, c.style, QString("style %1").arg(c.style));
    EXPECT_EQ(GetStatusText(bar, 0), QString("style %1").arg(c.style));
    EXPECT_EQ(GetStatusTextStyle(bar, 0), c.style);
    EXPECT_EQ(part0(bar)->frameStyle(), c.frame) << c.style;
  }
}

TEST(StatusBar, LongTextIsKeptWholeAndDoesNotWidenTheWindow) {
  QWidget window;
  window.setFixedSize(620, 416);
  QStatusBar* bar = CreateStatusBar(&window);
  bar->setGeometry(0, 394, 620, 22);
  window.show();
  const QString path = "/home/user/" + QString("very long folder name/").repeated(40);
  SetStatusText(bar, 0, SBT_SUNKEN, path);
  EXPECT_EQ(GetStatusText(bar, 0), path);
  EXPECT_EQ(window.width(), 620);
  EXPECT_LE(part0(bar)->width(), 620);
  // Folder names are shown as they are, never read as markup.
  SetStatusText(bar, 0, SBT_SUNKEN, "<b>bold</b>");
  EXPECT_EQ(part0(bar)->textFormat(), Qt::PlainText);
}

TEST(StatusBar, NullBarAndOtherPartsDoNothing) {
  SetStatusText(nullptr, 0, SBT_POPOUT, "x");
  EXPECT_EQ(GetStatusTextStyle(nullptr, 0), 0);
  EXPECT_EQ(GetStatusText(nullptr, 0), "");
  QWidget window;
  QStatusBar* bar = CreateStatusBar(&window);
  SetStatusText(bar, 1, SBT_POPOUT, "x");
  EXPECT_EQ(GetStatusText(bar, 0), "");
  EXPECT_EQ(GetStatusTextStyle(bar, 0), SBT_SUNKEN);
  EXPECT_EQ(GetStatusTextStyle(bar, 1), 0);
}

}  // namespace
}  // namespace tarnwick::gui
