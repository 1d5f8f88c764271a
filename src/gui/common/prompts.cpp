#include "gui/common/prompts.h"

#include "gui/common/app_title.h"
#include "gui/common/dialog_prompts.h"

namespace tarnwick::gui {
namespace {
Prompts* gInstalled = nullptr;

MessageRequest toRequest(const app::Question& question) {
  return MessageRequest{QString::fromStdString(question.text),
                        QString::fromStdString(question.caption),
                        question.icon,
                        question.buttons,
                        question.foreground,
                        question.details,
                        QString::fromStdString(question.checkBox)};
}
}  // namespace

Prompts& CurrentPrompts() {
  static DialogPrompts dialogs;
  return gInstalled != nullptr ? *gInstalled : dialogs;
}

void InstallPrompts(Prompts* prompts) {
  gInstalled = prompts;
}

app::Answer PromptAnswerer::Ask(const app::Question& question) {
  return CurrentPrompts().Message(parent_(), toRequest(question));
}

app::Reply PromptAnswerer::AskWithCheckBox(const app::Question& question) {
  return CurrentPrompts().MessageWithCheckBox(parent_(), toRequest(question));
}

std::optional<std::string> PromptAnswerer::AskSaveFile(const app::SaveFileQuestion& question) {
  SaveFileRequest request;
  request.title = QString::fromStdString(question.title);
  request.filter = QString::fromStdString(question.filter);
  request.defaultSuffix = QString::fromStdString(question.defaultExtension);
  request.initialFolder = QString::fromStdString(question.initialFolder);
  request.proposedName = QString::fromStdString(question.proposedName);
  request.confirmOverwrite = question.confirmOverwrite;
  const std::optional<QString> chosen = CurrentPrompts().SaveFile(parent_(), request);
  if (!chosen)
    return std::nullopt;
  return chosen->toStdString();
}

std::optional<std::string> PromptAnswerer::AskFolder(const app::FolderQuestion& question) {
  const std::optional<QString> chosen =
      CurrentPrompts().BrowseFolder(parent_(), QString::fromStdString(question.title),
                                    QString::fromStdString(question.initialFolder));
  if (!chosen)
    return std::nullopt;
  return chosen->toStdString();
}

PromptAnswer ShowMessage(QWidget* parent, const QString& text, PromptIcon icon,
                         PromptButtons buttons) {
  return CurrentPrompts().Message(parent,
                                  MessageRequest{text, AppTitle(), icon, buttons, false, {}, {}});
}

}  // namespace tarnwick::gui
