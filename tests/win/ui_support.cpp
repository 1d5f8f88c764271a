#include "win/ui_support.h"

#include <memory>

#include "core/common/process_state.h"
#include "core/common/ui_hooks.h"
#include "win/common/message_loop.h"
#include "win/common/text.h"
#include "win/scan/frm_scan.h"

namespace tarnwick::win::test {
namespace {

constexpr UINT kRunLater = WM_APP + 7;

LRESULT CALLBACK LaterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunLater) {
    std::unique_ptr<std::function<void()>> action(reinterpret_cast<std::function<void()>*>(lParam));
    (*action)();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A message-only window whose messages run the queued actions.
HWND LaterWindow() {
  static HWND window = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = LaterProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarnwickTestLater";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           wc.hInstance, nullptr);
  }();
  return window;
}

}  // namespace

PromptAnswer ScriptedPrompts::Message(HWND, const app::Question& request) {
  const Asked question{request.text, request.caption, request.icon, request.buttons};
  asked.push_back(question);
  if (onMessage)
    onMessage(question);
  if (answers.empty()) {
    if (request.buttons != PromptButtons::Ok)
      ADD_FAILURE() << "no answer scripted for: " << request.text;
    return request.buttons == PromptButtons::Ok      ? PromptAnswer::Ok
           : request.buttons == PromptButtons::YesNo ? PromptAnswer::No
                                                     : PromptAnswer::Cancel;
  }
  const PromptAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedPrompts::SaveFile(HWND, const app::SaveFileQuestion& request) {
  saveRequests.push_back(request);
  if (savePaths.empty()) {
    ADD_FAILURE() << "no save path scripted";
    return std::nullopt;
  }
  auto path = savePaths.front();
  savePaths.pop_front();
  return path;
}

std::optional<std::string> ScriptedPrompts::BrowseFolder(HWND, const app::FolderQuestion&) {
  if (folders.empty()) {
    ADD_FAILURE() << "no folder scripted";
    return std::nullopt;
  }
  auto folder = folders.front();
  folders.pop_front();
  return folder;
}

std::vector<std::string> ScriptedPrompts::OpenFiles(HWND, const OpenFilesRequest& request) {
  openRequests.push_back(request);
  if (openPaths.empty()) {
    ADD_FAILURE() << "no file to open scripted";
    return {};
  }
  auto paths = openPaths.front();
  openPaths.pop_front();
  return paths;
}

app::ConflictAnswer ScriptedPrompts::AskConflict(HWND, const app::ConflictQuestion& question) {
  conflicts.push_back(question);
  if (conflictAnswers.empty()) {
    ADD_FAILURE() << "no conflict answer scripted for: " << question.text;
    return {restore::ConflictChoice::Skip, true};
  }
  const app::ConflictAnswer answer = conflictAnswers.front();
  conflictAnswers.pop_front();
  return answer;
}

void ScriptedPrompts::MessageWithDetails(HWND owner, const app::Question& question,
                                         const std::string& text) {
  details.push_back(text);
  Message(owner, question);
}

std::vector<std::string> ScriptedPrompts::Texts() const {
  std::vector<std::string> texts;
  for (const Asked& a : asked)
    texts.push_back(a.text);
  return texts;
}

void OnWindowThread(std::function<void()> action) {
  SendMessageW(LaterWindow(), kRunLater, 0,
               reinterpret_cast<LPARAM>(new std::function<void()>(std::move(action))));
}

void Later(std::function<void()> action) {
  PostMessageW(LaterWindow(), kRunLater, 0,
               reinterpret_cast<LPARAM>(new std::function<void()>(std::move(action))));
}

void PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) {
      ADD_FAILURE() << "timed out";
      return;
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    PumpPending();
  }
}

void Click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
}

void PressKey(HWND control, WPARAM key) {
  MSG down{control, WM_KEYDOWN, key, 0, GetTickCount(), {}};
  DispatchOne(down);
  MSG up{control, WM_KEYUP, key, 0xC0000001, GetTickCount(), {}};
  DispatchOne(up);
}

std::string Text(HWND window) {
  return WindowTextUtf8(window);
}

void UiTest::SetUp() {
  ResetProcessState();
  InstallPrompts(&prompts);
  LaterWindow();
}

void UiTest::TearDown() {
  PumpPending();
  InstallPrompts(nullptr);
  frmScan::SetSearchRunner({});
  frmScan::SetExportCommand({});
  SetPumpHook({});
  SetStatusHook({});
  ResetProcessState();
}

}  // namespace tarnwick::win::test
