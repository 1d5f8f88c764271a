#include "gui/app/resources.h"

#include <QtGlobal>

// The resource file is compiled into a static library, so its registration has to be called
// explicitly; it is not pulled in by any other reference. Q_INIT_RESOURCE cannot stand inside a
// namespace.
static void RegisterPictures() {
  Q_INIT_RESOURCE(tarnwick);
}

namespace tarnwick::gui {
namespace {

void EnsurePictures() {
  static const bool registered = [] {
    RegisterPictures();
    return true;
  }();
  (void)registered;
}

}  // namespace

QIcon ProgramIcon() {
  EnsurePictures();
  QIcon icon;
  for (const char* size : {"16", "32", "256"}) {
    icon.addFile(QStringLiteral(":/tarnwick/icon-%1.png").arg(QLatin1String(size)));
  }
  return icon;
}

QString SplashLogoPath() {
  EnsurePictures();
  return QStringLiteral(":/tarnwick/splash-logo.png");
}

}  // namespace tarnwick::gui
