#include "win/controls/image_list.h"

#include <shellapi.h>

#include "win/common/text.h"

namespace tarnwick::win {

clsImgList::clsImgList() : mhImageList(ImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 1, 1)) {}

int clsImgList::Count() const {
  return mhImageList ? ImageList_GetImageCount(mhImageList.get()) : 0;
}

void clsImgList::Clear() {
  if (mhImageList)
    ImageList_SetImageCount(mhImageList.get(), 0);
}

void clsImgList::AddIcon(HICON icon) {
  if (mhImageList && icon != nullptr)
    ImageList_ReplaceIcon(mhImageList.get(), -1, icon);
}

int clsImgList::AddIconFromFile(std::string_view path) {
  SHFILEINFOW info{};
  SHGetFileInfoW(Wide(path).c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON);
  if (info.hIcon != nullptr) {
    // The image list keeps its own copy.
    const IconHandle shellIcon(info.hIcon);
    AddIcon(shellIcon.get());
  } else {
    AddIcon(mhNullIcon);
  }
  return Count() - 1;
}

}  // namespace tarnwick::win
