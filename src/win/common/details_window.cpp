#include "win/common/details_window.h"

#include <cstring>
#include <memory>

#include "app/questions/details_file.h"
#include "app/questions/texts.h"
#include "win/common/form_dialog_proc.h"
#include "win/common/layout.h"
#include "win/common/message_loop.h"
#include "win/common/prompts.h"
#include "win/common/text.h"
#include "win/resource_ids.h"

namespace tarnwick::win {
namespace {

struct GlobalDeleter {
  void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};
using GlobalHandle = UniqueHandle<HGLOBAL, GlobalDeleter>;

// The clipboard, open for the calling window while this lives.
class OpenClipboardFor {
 public:
  explicit OpenClipboardFor(HWND window) : open_(OpenClipboard(window) != FALSE) {}
  ~OpenClipboardFor() {
    if (open_)
      CloseClipboard();
  }
  OpenClipboardFor(const OpenClipboardFor&) = delete;
  OpenClipboardFor& operator=(const OpenClipboardFor&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

}  // namespace

std::wstring DetailsText(const std::string& details) {
  const std::wstring wide = Wide(details);
  std::wstring text;
  text.reserve(wide.size() + wide.size() / 16);
  for (const wchar_t c : wide) {
    if (c == L'\n')
      text += L'\r';
    text += c;
  }
  return text;
}

DetailsWindow::DetailsWindow(HWND owner, std::string details)
    : mOwner(owner), mDetails(std::move(details)), mShown(DetailsText(mDetails)) {
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DETAILS), owner, DialogProc,
                     reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DetailsWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  return FormDialogProc<DetailsWindow>(dialog, message, wParam, lParam);
}

void DetailsWindow::Form_Load() {
  HWND window = mhWnd.get();
  mFont = MakeFont(WindowDpi(window));
  SetFontOnChildren(window, mFont.get());
  SetWindowTextUtf8(window, app::texts::kDetailsTitle);
  SetDlgItemTextW(window, IDC_DET_COPY, Wide(app::texts::kDetailsCopy).c_str());
  SetDlgItemTextW(window, IDC_DET_SAVE, Wide(app::texts::kDetailsSave).c_str());
  SetDlgItemTextW(window, IDCANCEL, Wide(app::texts::kDetailsClose).c_str());
  HWND list = GetDlgItem(window, IDC_DET_LIST);
  // A text box holds 32,767 characters unless told otherwise; the list may be much longer.
  SendMessageW(list, EM_SETLIMITTEXT, 0, 0);
  SetWindowTextW(list, mShown.c_str());
}

INT_PTR DetailsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_DET_COPY:
          Copy();
          return TRUE;
        case IDC_DET_SAVE:
          Save();
          return TRUE;
        case IDCANCEL:
          mbClosed = true;
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      mbClosed = true;
      return TRUE;
    default:
      return FALSE;
  }
}

void DetailsWindow::ShowModal() {
  HWND window = mhWnd.get();
  if (window == nullptr)
    return;
  CentreWindow(window, mOwner);
  ShowWindow(window, SW_SHOW);
  SetFocus(GetDlgItem(window, IDCANCEL));
  RunModalLoop(mOwner, [this] { return mbClosed || !mhWnd; });
  if (mOwner != nullptr)
    SetActiveWindow(mOwner);
  mhWnd.reset();
}

bool DetailsWindow::Copy() {
  const std::size_t bytes = (mShown.size() + 1) * sizeof(wchar_t);
  GlobalHandle memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory)
    return false;
  void* data = GlobalLock(memory.get());
  if (data == nullptr)
    return false;
  std::memcpy(data, mShown.c_str(), bytes);
  GlobalUnlock(memory.get());
  const OpenClipboardFor clipboard(mhWnd.get());
  if (!clipboard || !EmptyClipboard())
    return false;
  if (SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr)
    return false;
  (void)memory.release();  // the clipboard owns it now
  return true;
}

void DetailsWindow::Save() {
  const std::optional<std::string> path =
      CurrentPrompts().SaveFile(mhWnd.get(), app::DetailsSaveQuestion());
  if (!path || path->empty())
    return;
  const std::string failure = app::SaveDetailsFile(*path, mDetails);
  if (!failure.empty())
    CurrentPrompts().Message(mhWnd.get(), app::MakeQuestion(failure, app::Icon::Exclamation));
}

}  // namespace tarnwick::win
