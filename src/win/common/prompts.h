// Every question the Windows program asks the user goes through this one interface: message
// boxes, the save dialog and the folder browser, as the app layer describes them. The real
// implementation shows the system's dialogs; tests install a scripted one that answers from a
// queue and records what was asked.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/questions/question.h"
#include "app/restore/restore_session.h"

namespace tarnwick::win {

// The open dialog's request: its title and the one file type it lists.
struct OpenFilesRequest {
  std::string title;
  std::string filter;         // "Zip files (*.zip)"
  std::string filterPattern;  // "*.zip"
};

class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual app::Answer Message(HWND owner, const app::Question& question) = 0;
  // A message that may carry a check box: the answer and whether the box was ticked.
  virtual app::Reply MessageWithCheckBox(HWND owner, const app::Question& question) {
    return {Message(owner, question), false};
  }
  // The path the user chose, as the dialog gives it, or nothing on cancel.
  virtual std::optional<std::string> SaveFile(HWND owner,
                                              const app::SaveFileQuestion& question) = 0;
  // The folder the user chose, or nothing on cancel.
  virtual std::optional<std::string> BrowseFolder(HWND owner,
                                                  const app::FolderQuestion& question) = 0;
  // The files the user chose (one or more), or none on cancel.
  virtual std::vector<std::string> OpenFiles(HWND owner, const OpenFilesRequest& request) = 0;
  // A different file is already where a restored one goes: keep both, skip or replace, and
  // whether for all the conflicts after it.
  virtual app::ConflictAnswer AskConflict(HWND owner, const app::ConflictQuestion& question) = 0;
  // A message with a longer text behind it ("Details..." opens it).
  virtual void MessageWithDetails(HWND owner, const app::Question& question,
                                  const std::string& details) = 0;
};

// The prompts in use: the system's dialogs unless a test installed another.
Prompts& CurrentPrompts();
// Installs `prompts` (not owned; it must outlive its use); nullptr restores the dialogs.
void InstallPrompts(Prompts* prompts);

// Answers the app layer's questions with the prompts in use, over the window `owner` returns at
// the time of asking.
class PromptAnswerer final : public app::Answerer {
 public:
  explicit PromptAnswerer(HWND owner) : owner_([owner] { return owner; }) {}
  explicit PromptAnswerer(std::function<HWND()> owner) : owner_(std::move(owner)) {}
  app::Answer Ask(const app::Question& question) override;
  app::Reply AskWithCheckBox(const app::Question& question) override;
  std::optional<std::string> AskSaveFile(const app::SaveFileQuestion& question) override;
  std::optional<std::string> AskFolder(const app::FolderQuestion& question) override;

 private:
  std::function<HWND()> owner_;
};

}  // namespace tarnwick::win
