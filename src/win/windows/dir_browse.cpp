#include "win/windows/dir_browse.h"

#include "win/common/product_texts.h"
#include "win/common/prompts.h"

namespace tarnwick::win {

std::string BrowseForFolder(HWND owner, const std::string& initialFolder) {
  return CurrentPrompts().BrowseFolder(owner, kBrowseTitle, initialFolder).value_or("");
}

}  // namespace tarnwick::win
