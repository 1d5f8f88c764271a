// clsImgList: a list of small (16 by 16) icons, filled with the platform's icon for a file, that a
// list view can show beside its rows.
#pragma once

#include <QFileIconProvider>
#include <QIcon>
#include <QString>
#include <memory>
#include <vector>

namespace tarnwick::gui {

// The icons themselves. A list view that shows the list shares them, so they stay valid for the
// view even if the clsImgList object goes first.
using ImageListHandle = std::shared_ptr<const std::vector<QIcon>>;

class clsImgList {
 public:
  static constexpr int kIconSize = 16;

  clsImgList();

  // Icon used for files the platform gives no icon for (none until set).
  void NullIcon(const QIcon& icon) { mhNullIcon = icon; }
  ImageListHandle hWnd() const { return mhImageList; }
  int Count() const { return static_cast<int>(mhImageList->size()); }
  // Removes every icon; the next one added gets index 0.
  void Clear();
  // Appends a copy of `icon`; a null icon is refused and nothing is added.
  void AddIcon(const QIcon& icon);
  // Appends the small icon the platform shows for the file at `path` (the fallback icon when it
  // has none) and returns the index of the last icon held: -1 when the list is still empty.
  int AddIconFromFile(const QString& path);

 private:
  std::shared_ptr<std::vector<QIcon>> mhImageList;
  QIcon mhNullIcon;
  QFileIconProvider provider_;
};

}  // namespace tarnwick::gui
