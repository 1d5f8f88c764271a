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

}  // namespace tarnwick::win

#include "win/common/product_texts.h"

namespace tarnwick::win {

PromptAnswer ShowMessage(HWND owner, const std::string& text, PromptIcon icon,
                         PromptButtons buttons) {
  return CurrentPrompts().Message(owner, MessageRequest{text, kAppTitle, icon, buttons, false});
}

}  // namespace tarnwick::win
