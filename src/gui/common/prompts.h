// Every question the desktop program asks the user goes through this one interface: message
// boxes, the save dialog and the folder browser. The real implementation shows Qt dialogs; tests
// install a scripted one that answers from a queue and records what was asked.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace tarnwick::gui {

enum class PromptIcon { None, Information, Question, Exclamation, Error };
enum class PromptButtons { Ok, YesNo, YesNoYesToAllCancel };
enum class PromptAnswer { Ok, Yes, No, YesToAll, Cancel };

struct MessageRequest {
  QString text;
  QString caption;
  PromptIcon icon = PromptIcon::None;
  PromptButtons buttons = PromptButtons::Ok;
  bool foreground = false;  // bring the box to the front (the start-up failure)
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

// Shorthand for a message box captioned with the application title.
PromptAnswer ShowMessage(QWidget* parent, const QString& text, PromptIcon icon,
                         PromptButtons buttons = PromptButtons::Ok);

}  // namespace tarnwick::gui
