#include "win/common/message_window.h"

#include <algorithm>
#include <array>

#include "app/questions/texts.h"
#include "win/common/details_window.h"
#include "win/common/dialog_prompts.h"
#include "win/common/form_dialog_proc.h"
#include "win/common/layout.h"
#include "win/common/message_loop.h"
#include "win/common/text.h"
#include "win/resource_ids.h"

namespace tarnwick::win {
namespace {

// The box's measures in pixels at 96 dots per inch, close to the system's message box.
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kGap = 10;
constexpr int kTextWidthMax = 520;
constexpr int kTextWidthMin = 200;
constexpr int kButtonWidth = 80;
constexpr int kDetailsButtonWidth = 90;
constexpr int kButtonHeight = 24;
constexpr int kCheckHeight = 20;

PCWSTR systemIcon(app::Icon icon) {
  switch (icon) {
    case app::Icon::Information:
      return IDI_INFORMATION;
    case app::Icon::Question:
      return IDI_QUESTION;
    case app::Icon::Exclamation:
      return IDI_WARNING;
    case app::Icon::Error:
      return IDI_ERROR;
    case app::Icon::None:
      break;
  }
  return nullptr;
}

// The size `text` takes in `font` when broken into lines no wider than `maxWidth`.
SIZE measureText(HWND window, HFONT font, const std::wstring& text, int maxWidth) {
  RECT rect{0, 0, maxWidth, 0};
  HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, font);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_EDITCONTROL);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void place(HWND control, int left, int top, int width, int height) {
  SetWindowPos(control, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

MessageWindow::MessageWindow(HWND owner, app::Question question)
    : mOwner(owner), mQuestion(std::move(question)) {
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGE), owner, DialogProc,
                     reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK MessageWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  return FormDialogProc<MessageWindow>(dialog, message, wParam, lParam);
}

void MessageWindow::Form_Load() {
  HWND window = mhWnd.get();
  mFont = MakeFont(WindowDpi(window));
  SetFontOnChildren(window, mFont.get());
  SetWindowTextUtf8(window, mQuestion.caption);
  SetWindowTextUtf8(Item(IDC_MSG_TEXT), mQuestion.text);
  if (const PCWSTR icon = systemIcon(mQuestion.icon)) {
    const int size = PixelsAt(kIconSize, WindowDpi(window));
    SendMessageW(
        Item(IDC_MSG_ICON), STM_SETICON,
        reinterpret_cast<WPARAM>(LoadImageW(nullptr, icon, IMAGE_ICON, size, size, LR_SHARED)), 0);
  } else {
    ShowWindow(Item(IDC_MSG_ICON), SW_HIDE);
  }
  if (!mQuestion.checkBox.empty()) {
    SetWindowTextUtf8(Item(IDC_MSG_CHECK), mQuestion.checkBox);
    ShowWindow(Item(IDC_MSG_CHECK), SW_SHOW);
  }
  if (!mQuestion.details.empty()) {
    SetWindowTextUtf8(Item(IDC_MSG_DETAILS), app::texts::kDetailsButton);
    ShowWindow(Item(IDC_MSG_DETAILS), SW_SHOW);
  }
  const bool yesNo = mQuestion.buttons == app::Buttons::YesNo;
  ShowWindow(Item(IDOK), yesNo ? SW_HIDE : SW_SHOW);
  ShowWindow(Item(IDYES), yesNo ? SW_SHOW : SW_HIDE);
  ShowWindow(Item(IDNO), yesNo ? SW_SHOW : SW_HIDE);
  SendMessageW(window, DM_SETDEFID, yesNo ? IDYES : IDOK, 0);
  Layout();
}

// Icon at the top left, the text beside it as wide as it needs (within bounds), the check box
// under the text, and a row of buttons: "Details..." on the left, the answers on the right.
void MessageWindow::Layout() {
  HWND window = mhWnd.get();
  const int dpi = WindowDpi(window);
  const auto px = [dpi](int at96) { return PixelsAt(at96, dpi); };
  const bool hasIcon = IsWindowVisible(Item(IDC_MSG_ICON)) ||
                       (GetWindowLongW(Item(IDC_MSG_ICON), GWL_STYLE) & WS_VISIBLE) != 0;
  const int textLeft = px(kMargin) + (hasIcon ? px(kIconSize) + px(kGap) : 0);
  const SIZE text = measureText(window, mFont.get(), Wide(mQuestion.text), px(kTextWidthMax));
  const bool yesNo = mQuestion.buttons == app::Buttons::YesNo;
  const bool details = !mQuestion.details.empty();
  const int buttonsWidth = (yesNo ? 2 * px(kButtonWidth) + px(kGap) : px(kButtonWidth)) +
                           (details ? px(kDetailsButtonWidth) + px(kGap) : 0);
  int textWidth = std::max<int>(text.cx, px(kTextWidthMin));
  SIZE check{0, 0};
  if (!mQuestion.checkBox.empty()) {
    check = measureText(window, mFont.get(), Wide(mQuestion.checkBox), px(kTextWidthMax));
    textWidth = std::max<int>(textWidth, check.cx + px(24));  // the box and its gap
  }
  const int clientWidth =
      std::max(textLeft + textWidth + px(kMargin), buttonsWidth + 2 * px(kMargin));
  int y = px(kMargin);
  if (hasIcon)
    place(Item(IDC_MSG_ICON), px(kMargin), y, px(kIconSize), px(kIconSize));
  place(Item(IDC_MSG_TEXT), textLeft, y, textWidth, text.cy);
  y += std::max<int>(text.cy, hasIcon ? px(kIconSize) : 0) + px(kGap);
  if (!mQuestion.checkBox.empty()) {
    place(Item(IDC_MSG_CHECK), textLeft, y, textWidth, std::max<int>(check.cy, px(kCheckHeight)));
    y += std::max<int>(check.cy, px(kCheckHeight)) + px(kGap);
  }
  const int buttonsTop = y;
  place(Item(IDC_MSG_DETAILS), px(kMargin), buttonsTop, px(kDetailsButtonWidth), px(kButtonHeight));
  const int right = clientWidth - px(kMargin);
  if (yesNo) {
    place(Item(IDNO), right - px(kButtonWidth), buttonsTop, px(kButtonWidth), px(kButtonHeight));
    place(Item(IDYES), right - 2 * px(kButtonWidth) - px(kGap), buttonsTop, px(kButtonWidth),
          px(kButtonHeight));
  } else {
    place(Item(IDOK), right - px(kButtonWidth), buttonsTop, px(kButtonWidth), px(kButtonHeight));
  }
  SetClientSize(window, clientWidth, buttonsTop + px(kButtonHeight) + px(kMargin));
}

INT_PTR MessageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          Answer(app::Answer::Ok);
          return TRUE;
        case IDYES:
          Answer(app::Answer::Yes);
          return TRUE;
        case IDNO:
          Answer(app::Answer::No);
          return TRUE;
        case IDCANCEL:  // Escape
          Answer(mQuestion.buttons == app::Buttons::YesNo ? app::Answer::No : app::Answer::Ok);
          return TRUE;
        case IDC_MSG_DETAILS: {
          DetailsWindow details(mhWnd.get(), mQuestion.details);
          details.ShowModal();
          return TRUE;
        }
        default:
          return FALSE;
      }
    case WM_CLOSE:
      Answer(mQuestion.buttons == app::Buttons::YesNo ? app::Answer::No : app::Answer::Ok);
      return TRUE;
    default:
      return FALSE;
  }
}

void MessageWindow::Answer(app::Answer answer) {
  mReply.answer = answer;
  mReply.checked = IsDlgButtonChecked(mhWnd.get(), IDC_MSG_CHECK) == BST_CHECKED;
  mbAnswered = true;
}

app::Reply MessageWindow::ShowModal() {
  HWND window = mhWnd.get();
  if (window == nullptr)
    return {mQuestion.buttons == app::Buttons::YesNo ? app::Answer::No : app::Answer::Ok, false};
  CentreWindow(window, mOwner);
  // The sound the system's message box makes for the icon.
  MessageBeep(MessageBoxStyle(mQuestion.icon, app::Buttons::Ok, false));
  ShowWindow(window, SW_SHOW);
  if (mQuestion.foreground)
    SetForegroundWindow(window);
  SetFocus(Item(mQuestion.buttons == app::Buttons::YesNo ? IDYES : IDOK));
  RunModalLoop(mOwner, [this] { return mbAnswered || !mhWnd; });
  if (mOwner != nullptr)
    SetActiveWindow(mOwner);
  mhWnd.reset();
  return mReply;
}

}  // namespace tarnwick::win
