#include "gui/common/prompts.h"

#include "gui/common/app_title.h"
#include "gui/common/dialog_prompts.h"

namespace tarnwick::gui {
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

PromptAnswer ShowMessage(QWidget* parent, const QString& text, PromptIcon icon,
                         PromptButtons buttons) {
  return CurrentPrompts().Message(parent, MessageRequest{text, AppTitle(), icon, buttons, false});
}

}  // namespace tarnwick::gui
