// Every question the desktop program asks the user goes through this one interface: message
// boxes, the save dialog and the folder browser. The real implementation shows Qt dialogs; tests
// install a scripted one that answers from a queue and records what was asked.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "app/questions/question.h"

class QWidget;

namespace tarnwick::gui {

// The app layer's question kinds, under the names the Qt shell has always used.
using PromptIcon = app::Icon;
using PromptButtons = app::Buttons;
using PromptAnswer = app::Answer;

struct MessageRequest {
  QString text;
  QString caption;
  PromptIcon icon = PromptIcon::None;
  PromptButtons buttons = PromptButtons::Ok;
  bool foreground = false;  // bring the box to the front (the start-up failure)
  // The whole list behind the text (UTF-8, "path<TAB>reason" a line): when not empty the box
  // offers "Details...", which opens the Details window over it.
  std::string details;
  QString checkBox;  // a check box under the text (empty: none); see MessageWithCheckBox
};

struct SaveFileRequest {
  QString title;
  QString filter;         // e.g. "Zip File (*.zip)"
  QString defaultSuffix;  // e.g. "zip"
  QString initialFolder;
  QString proposedName;
  bool confirmOverwrite = true;
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual PromptAnswer Message(QWidget* parent, const MessageRequest& request) = 0;
  // A message that may carry a check box: the answer and whether the box was ticked.
  virtual app::Reply MessageWithCheckBox(QWidget* parent, const MessageRequest& request) {
    return {Message(parent, request), false};
  }
  // The path the user chose, exactly as entered (no suffix rule applied), or nothing on cancel.
  virtual std::optional<QString> SaveFile(QWidget* parent, const SaveFileRequest& request) = 0;
  // The folder the user chose, or nothing on cancel.
  virtual std::optional<QString> BrowseFolder(QWidget* parent, const QString& title,
                                              const QString& initialFolder) = 0;
};

// The prompts in use: the dialog implementation unless a test installed another.
Prompts& CurrentPrompts();
// Installs `prompts` (not owned; it must outlive its use); nullptr restores the dialogs.
void InstallPrompts(Prompts* prompts);

// Answers the app layer's questions with the prompts in use, parented to `parent` (a window, or
// what `parent` returns at the time of asking).
class PromptAnswerer : public app::Answerer {
 public:
  explicit PromptAnswerer(QWidget* parent) : parent_([parent] { return parent; }) {}
  explicit PromptAnswerer(std::function<QWidget*()> parent) : parent_(std::move(parent)) {}
  app::Answer Ask(const app::Question& question) override;
  app::Reply AskWithCheckBox(const app::Question& question) override;
  std::optional<std::string> AskSaveFile(const app::SaveFileQuestion& question) override;
  std::optional<std::string> AskFolder(const app::FolderQuestion& question) override;

 private:
  std::function<QWidget*()> parent_;
};

// Shorthand for a message box captioned with the application title.
PromptAnswer ShowMessage(QWidget* parent, const QString& text, PromptIcon icon,
                         PromptButtons buttons = PromptButtons::Ok);

}  // namespace tarnwick::gui
