// clsImgList: an image list of small (16 by 16) icons, filled with the shell's icon for a file,
// that a list view can show beside its rows. The object owns the image list.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string_view>

#include "win/common/handles.h"

namespace tarnwick::win {

class clsImgList {
 public:
  clsImgList();

  // Icon used for files the shell gives no icon for. Borrowed: the caller keeps it.
  void NullIcon(HICON icon) { mhNullIcon = icon; }
  HIMAGELIST hWnd() const { return mhImageList.get(); }
  int Count() const;
  // Removes every image; the next one added gets index 0.
  void Clear();
  // Appends a copy of `icon`; a null icon is refused and nothing is added.
  void AddIcon(HICON icon);
  // Appends the small shell icon of the file at `path` (the fallback icon when it has none) and
  // returns the index of the last image held: -1 while the list is empty.
  int AddIconFromFile(std::string_view path);

 private:
  ImageListHandle mhImageList;
  HICON mhNullIcon = nullptr;
};

}  // namespace tarnwick::win
