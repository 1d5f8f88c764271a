#include "win/export/progress_window.h"

#include <commctrl.h>

#include <algorithm>

#include "core/scan/format_size.h"
#include "win/common/layout.h"
#include "win/common/text.h"
#include "win/resource_ids.h"
#include "win/scan/scan_globals.h"

namespace tarnwick::win {
namespace {

constexpr int kSteps = 1000;
constexpr DWORD kShowAfterMs = 500;
constexpr DWORD kRedrawEveryMs = 50;

int stepsDone(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
              std::uint64_t bytesTotal) {
  // By bytes, so one large file moves the bar too; by files when every file is empty.
  const std::uint64_t done = bytesTotal > 0 ? bytesDone : filesDone;
  const std::uint64_t total = bytesTotal > 0 ? bytesTotal : filesTotal;
  if (total == 0)
    return 0;
  return static_cast<int>(static_cast<double>(std::min(done, total)) / static_cast<double>(total) *
                          kSteps);
}

}  // namespace

std::string ProgressText(const std::string& action, std::uint64_t filesDone,
                         std::uint64_t filesTotal, std::uint64_t bytesDone,
                         std::uint64_t bytesTotal, const std::string& decimalSeparator) {
  std::string text =
      action + ": " + std::to_string(filesDone) + " of " + std::to_string(filesTotal);
  if (bytesTotal > 0) {
    text += "\n" + FormatSize(bytesDone, decimalSeparator) + " of " +
            FormatSize(bytesTotal, decimalSeparator);
  }
  return text;
}

ProgressWindow::ProgressWindow(HWND owner, std::string action, std::uint64_t filesTotal,
                               std::atomic<bool>& cancel)
    : cancel_(cancel),
      owner_(owner),
      action_(std::move(action)),
      decimalSeparator_(UserDecimalSeparator()),
      started_(GetTickCount()) {
  mhWnd.reset(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROGRESS), owner,
                                 DialogProc, reinterpret_cast<LPARAM>(this)));
  if (!mhWnd)
    return;
  font_ = MakeFont(WindowDpi(mhWnd.get()));
  SetFontOnChildren(mhWnd.get(), font_.get());
  SendDlgItemMessageW(mhWnd.get(), IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, kSteps);
  SetDlgItemTextW(mhWnd.get(), IDC_PROGRESS_TEXT,
                  Wide(ProgressText(action_, 0, filesTotal, 0, 0, decimalSeparator_)).c_str());
  CentreWindow(mhWnd.get(), owner);
}

ProgressWindow::~ProgressWindow() {
  if (ownerDisabled_)
    EnableWindow(owner_, TRUE);
  mhWnd.reset();
  if (ownerDisabled_)
    SetActiveWindow(owner_);
}

INT_PTR CALLBACK ProgressWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    return TRUE;
  }
  auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr)
    return FALSE;
  // Cancel, Escape and the close box all come here.
  if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
    self->cancel_ = true;
    EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
    return TRUE;
  }
  return FALSE;
}

void ProgressWindow::Update(std::uint64_t filesDone, std::uint64_t filesTotal,
                            std::uint64_t bytesDone, std::uint64_t bytesTotal) {
  if (!mhWnd || cancel_)
    return;
  const DWORD now = GetTickCount();
  const bool finished = filesDone >= filesTotal;
  if (!finished && now - lastRedraw_ < kRedrawEveryMs)
    return;
  lastRedraw_ = now;
  SetDlgItemTextW(
      mhWnd.get(), IDC_PROGRESS_TEXT,
      Wide(ProgressText(action_, filesDone, filesTotal, bytesDone, bytesTotal, decimalSeparator_))
          .c_str());
  SendDlgItemMessageW(mhWnd.get(), IDC_PROGRESS_BAR, PBM_SETPOS,
                      static_cast<WPARAM>(stepsDone(filesDone, filesTotal, bytesDone, bytesTotal)),
                      0);
  if (!IsWindowVisible(mhWnd.get()) && now - started_ >= kShowAfterMs && !finished) {
    if (owner_ != nullptr && IsWindowEnabled(owner_)) {
      EnableWindow(owner_, FALSE);
      ownerDisabled_ = true;
    }
    ShowWindow(mhWnd.get(), SW_SHOW);
  }
}

HWND ProgressWindow::QuestionOwner() const {
  return mhWnd && IsWindowVisible(mhWnd.get()) ? mhWnd.get() : owner_;
}

}  // namespace tarnwick::win
