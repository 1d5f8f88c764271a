// What the Windows UI tests share: answers to the program's questions from a script, actions run
// from inside the program's own message loops (modal windows included), and a clean process
// state for every test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "win/common/prompts.h"

namespace tarnwick::win::test {

using PromptIcon = app::Icon;
using PromptButtons = app::Buttons;
using PromptAnswer = app::Answer;

// Answers questions from queues and records every question asked. A question with no answer
// queued fails the test and is answered No (or Cancel, or OK).
class ScriptedPrompts final : public Prompts {
 public:
  struct Asked {
    std::string text;
    std::string caption;
    PromptIcon icon;
    PromptButtons buttons;
  };

  std::deque<PromptAnswer> answers;
  std::deque<std::optional<std::string>> savePaths;
  std::deque<std::optional<std::string>> folders;
  std::vector<Asked> asked;
  std::vector<app::SaveFileQuestion> saveRequests;
  // Runs when a message is asked, before it is answered (for actions "while the box is up").
  std::function<void(const Asked&)> onMessage;
  // The open dialog's answers and requests.
  std::deque<std::vector<std::string>> openPaths;
  std::vector<OpenFilesRequest> openRequests;
  // The restore's conflict question: the answers, and the questions asked.
  std::deque<app::ConflictAnswer> conflictAnswers;
  std::vector<app::ConflictQuestion> conflicts;
  // Messages with details: the message (also recorded in `asked`) and its details.
  std::vector<std::string> details;

  PromptAnswer Message(HWND owner, const app::Question& request) override;
  std::optional<std::string> SaveFile(HWND owner, const app::SaveFileQuestion& request) override;
  std::optional<std::string> BrowseFolder(HWND owner, const app::FolderQuestion& request) override;
  std::vector<std::string> OpenFiles(HWND owner, const OpenFilesRequest& request) override;
  app::ConflictAnswer AskConflict(HWND owner, const app::ConflictQuestion& question) override;
  void MessageWithDetails(HWND owner, const app::Question& question,
                          const std::string& details) override;

  std::vector<std::string> Texts() const;
};

// Runs `action` from the next message loop that dispatches messages: the program's, a modal
// window's or the pump of a long scan.
void Later(std::function<void()> action);
// Runs `action` on the thread that made the program's windows and returns once it has run (for a
// scripted walk, which runs on a thread of its own); that thread must be running messages.
void OnWindowThread(std::function<void()> action);
// Dispatches messages until `done` is true (fails the test after `timeoutMs`).
void PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000);
// Clicks a button as the user does (BM_CLICK; nothing happens when it is disabled).
void Click(HWND button);
std::string Text(HWND window);
// Presses a key in `control` as the message loop would deliver it (through the dialog manager,
// so Enter, Escape and Tab act as in a dialog).
void PressKey(HWND control, WPARAM key);

// Every UI test: scripted prompts installed, process state reset before and after.
class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  ScriptedPrompts prompts;
};

}  // namespace tarnwick::win::test
