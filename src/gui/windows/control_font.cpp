#include "gui/windows/control_font.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace tarnwick::gui {
namespace {

const QString kTahoma = QStringLiteral("Tahoma");

bool HasTahoma() {
  return QFontDatabase::families().contains(kTahoma, Qt::CaseInsensitive);
}

QString ControlFamily() {
  if (HasTahoma())
    return kTahoma;
  for (const char* file :
       {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
    const QString path = QString::fromLatin1(file);
    if (QFile::exists(path))
      QFontDatabase::addApplicationFont(path);
  }
  if (HasTahoma())
    return kTahoma;
  return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

}  // namespace

QFont ControlFont(qreal pointSize, bool bold) {
  static const QString family = ControlFamily();
  QFont font(family);
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

}  // namespace tarnwick::gui
