#include "gui/app/frm_splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QScreen>

#include "gui/app/resources.h"
#include "gui/app/wait_pumping.h"
#include "gui/windows/twips.h"

namespace tarnwick::gui {

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setFixedSize(Twips(5580), Twips(1950));

  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);

  auto* imgLogo = new QLabel(this);
  imgLogo->setObjectName(QStringLiteral("imgLogo"));
  imgLogo->setGeometry(TwipsRect(60, 60, 5415, 1800));
  imgLogo->setPixmap(QPixmap(SplashLogoPath()));

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void ShowSplash() {
  frmSplash splash;
  splash.show();
  WaitPumping(kSplashMilliseconds);
  splash.close();
}

}  // namespace tarnwick::gui
