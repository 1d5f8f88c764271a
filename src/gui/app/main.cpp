// tarnwick: the desktop program.
#include <QApplication>

#include "core/platform/system.h"
#include "gui/app/app_main.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarnwick"));
  return tarnwick::gui::Main(app, QString::fromStdString(tarnwick::platform::ExecutableFolder()));
}
