#include "win/windows/dir_browse.h"

#include "app/questions/texts.h"
#include "win/common/prompts.h"

namespace tarnwick::win {

std::string BrowseForFolder(HWND owner, const std::string& initialFolder) {
  PromptAnswerer answers(owner);
  return answers
      .AskFolder(app::FolderQuestion{std::string(app::texts::kBrowseTitle), initialFolder})
      .value_or("");
}

}  // namespace tarnwick::win
