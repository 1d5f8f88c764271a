#include "win/common/prompts.h"

#include "win/common/dialog_prompts.h"

namespace tarnwick::win {
namespace {
Prompts* gInstalled = nullptr;
}  // namespace

Prompts& CurrentPrompts() {
  static DialogPrompts dialogs;
  return gInstalled != nullptr ? *gInstalled : dialogs;
}

void InstallPrompts(Prompts* prompts) {
  gInstalled = prompts;
}

app::Answer PromptAnswerer::Ask(const app::Question& question) {
  return CurrentPrompts().Message(owner_(), question);
}

app::Reply PromptAnswerer::AskWithCheckBox(const app::Question& question) {
  return CurrentPrompts().MessageWithCheckBox(owner_(), question);
}

std::optional<std::string> PromptAnswerer::AskSaveFile(const app::SaveFileQuestion& question) {
  return CurrentPrompts().SaveFile(owner_(), question);
}

std::optional<std::string> PromptAnswerer::AskFolder(const app::FolderQuestion& question) {
  return CurrentPrompts().BrowseFolder(owner_(), question);
}

}  // namespace tarnwick::win
