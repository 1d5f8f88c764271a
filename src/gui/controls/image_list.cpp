#include "gui/controls/image_list.h"

#include <QFileInfo>

namespace tarnwick::gui {

clsImgList::clsImgList() : mhImageList(std::make_shared<std::vector<QIcon>>()) {}

void clsImgList::Clear() {
  mhImageList->clear();
}

void clsImgList::AddIcon(const QIcon& icon) {
  if (icon.isNull())
    return;
  // Keep a 16 by 16 picture of it, as the list shows it, not the icon's other sizes.
  const QPixmap picture = icon.pixmap(kIconSize, kIconSize);
  mhImageList->push_back(picture.isNull() ? icon : QIcon(picture));
}

int clsImgList::AddIconFromFile(const QString& path) {
  const QFileInfo info(path);
  QIcon icon;
  if (info.exists())
    icon = provider_.icon(info);
  AddIcon(icon.isNull() ? mhNullIcon : icon);
  return Count() - 1;
}

}  // namespace tarnwick::gui
