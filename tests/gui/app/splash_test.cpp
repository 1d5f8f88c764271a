#include "gui/app/frm_splash.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace tarnwick::gui {
namespace {

QStringList VisibleWindows() {
  QStringList names;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible())
      names << w->objectName();
  }
  return names;
}

// The splash is up, white and centred with its logo for the whole three seconds while events run,
// and afterwards no window is left.
TEST(Splash, ShowsTheLogoForThreeSecondsThenLeavesNoWindow) {
  QStringList seen;
  QColor background;
  QPoint centreOffset;
  bool logoLoaded = false;
  QTimer probe;
  probe.setSingleShot(true);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    seen = VisibleWindows();
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() != QLatin1String("frmSplash") || !w->isVisible())
        continue;
      background = w->palette().color(QPalette::Window);
      centreOffset =
          w->geometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
      const auto* logo = w->findChild<QLabel*>(QStringLiteral("imgLogo"));
      logoLoaded = logo != nullptr && !logo->pixmap().isNull();
    }
  });
  probe.start(2500);

  QElapsedTimer elapsed;
  elapsed.start();
  ShowSplash();

  EXPECT_GE(elapsed.elapsed(), kSplashMilliseconds - 1);
  EXPECT_EQ(seen, QStringList{QStringLiteral("frmSplash")});
  EXPECT_EQ(background, QColor(Qt::white));
  EXPECT_LE(centreOffset.manhattanLength(), 2);
  EXPECT_TRUE(logoLoaded);
  EXPECT_TRUE(VisibleWindows().isEmpty());
}

}  // namespace
}  // namespace tarnwick::gui
