// Every question the Windows program asks the user goes through this one interface: message
// boxes, the save dialog and the folder browser. The real implementation shows the system's
// dialogs; tests install a scripted one that answers from a queue and records what was asked.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tarnwick::win {

enum class PromptIcon { None, Information, Question, Exclamation, Error };
enum class PromptButtons { Ok, YesNo, YesNoYesToAllCancel };
enum class PromptAnswer { Ok, Yes, No, YesToAll, Cancel };

struct MessageRequest {
  std::string text;
  std::string caption;
  PromptIcon icon = PromptIcon::None;
  PromptButtons buttons = PromptButtons::Ok;
  bool foreground = false;  // bring the box to the front (the start-up failure)
};

struct SaveFileRequest {
  std::string title;
  std::string filterName;     // "Zip File (*.zip)"
  std::string filterPattern;  // "*.zip"
  std::string defaultExtension;
  std::string initialFolder;
  std::string proposedName;
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual PromptAnswer Message(HWND owner, const MessageRequest& request) = 0;
  // The path the user chose, as the dialog gives it, or nothing on cancel.
  virtual std::optional<std::string> SaveFile(HWND owner, const SaveFileRequest& request) = 0;
  // The folder the user chose, or nothing on cancel.
  virtual std::optional<std::string> BrowseFolder(HWND owner, const std::string& title,
                                                  const std::string& initialFolder) = 0;
};

// The prompts in use: the system's dialogs unless a test installed another.
Prompts& CurrentPrompts();
// Installs `prompts` (not owned; it must outlive its use); nullptr restores the dialogs.
void InstallPrompts(Prompts* prompts);

}  // namespace tarnwick::win

namespace tarnwick::win {

// A message box captioned with the application title, through the prompts in use.
PromptAnswer ShowMessage(HWND owner, const std::string& text, PromptIcon icon,
                         PromptButtons buttons = PromptButtons::Ok);

}  // namespace tarnwick::win
