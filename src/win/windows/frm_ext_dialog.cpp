#include "win/windows/frm_ext_dialog.h"
#include "win/common/form_dialog_proc.h"

#include <array>

#include "app/questions/texts.h"
#include "win/common/layout.h"
#include "win/common/message_loop.h"
#include "win/common/prompts.h"
#include "win/common/text.h"
#include "win/resource_ids.h"

namespace tarnwick::win {
namespace {

constexpr int kClientWidth = 4170;
constexpr int kClientHeight = 1440;
constexpr std::array<TwipsPlace, 5> kPlaces{{
    {IDC_LBL_EXT, 180, 180, 1215, 255},
    {IDC_TXT_EXT, 120, 480, 3915, 345},
    {IDC_CMD_ADD, 1440, 960, 1215, 375},
    {IDC_CMD_OK, 1440, 960, 1215, 375},
    {IDCANCEL, 2820, 960, 1215, 375},
}};

}  // namespace

frmExtDialog::frmExtDialog(HWND owner, app::PatternList& patterns)
    : mOwner(owner), mPatterns(patterns) {
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_EXT), owner, DialogProc,
                     reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK frmExtDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return FormDialogProc<frmExtDialog>(dialog, message, wParam, lParam);
}

INT_PTR frmExtDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        Form_Activate();
        return TRUE;  // the focus is placed here, not restored by the dialog manager
      }
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_TXT_EXT:
          if (HIWORD(wParam) == EN_CHANGE)
            UpdateButtons();
          return TRUE;
        case IDC_CMD_ADD:
          cmdAdd_Click();
          return TRUE;
        case IDC_CMD_OK:
          cmdOK_Click();
          return TRUE;
        case IDCANCEL:
          Hide();
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      mbClosedByCloseBox = true;
      DestroyWindow(mhWnd.get());
      return TRUE;
    default:
      return FALSE;
  }
}

void frmExtDialog::Form_Load() {
  const int dpi = WindowDpi(mhWnd.get());
  mFont = MakeFont(dpi);
  SetFontOnChildren(mhWnd.get(), mFont.get());
  SetClientSize(mhWnd.get(), TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi));
  PlaceControls(mhWnd.get(), kPlaces, dpi);
  SetWindowTextUtf8(mhWnd.get(), app::texts::kPatternDialogTitle);
}

void frmExtDialog::SetMode(Mode mode) {
  const int shown = mode == Mode::Add ? IDC_CMD_ADD : IDC_CMD_OK;
  const int hidden = mode == Mode::Add ? IDC_CMD_OK : IDC_CMD_ADD;
  ShowWindow(Item(hidden), SW_HIDE);
  ShowWindow(Item(shown), SW_SHOW);
  SendMessageW(mhWnd.get(), DM_SETDEFID, static_cast<WPARAM>(shown), 0);
}

void frmExtDialog::SetText(const std::string& text) {
  SetWindowTextUtf8(Item(IDC_TXT_EXT), text);
  SendMessageW(Item(IDC_TXT_EXT), EM_SETSEL, 0, 0);
}

void frmExtDialog::ShowModal() {
  HWND dialog = mhWnd.get();
  CentreWindow(dialog, mOwner);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  RunModalLoop(mOwner, [this] { return !mhWnd || !IsWindowVisible(mhWnd.get()); });
}

// Each time the dialog becomes active the text box takes the focus and its text is selected from
// the start of its selection to the end: all of it after a handler set it.
void frmExtDialog::Form_Activate() {
  HWND text = Item(IDC_TXT_EXT);
  SetFocus(text);
  DWORD start = 0;
  SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  SendMessageW(text, EM_SETSEL, start, GetWindowTextLengthW(text));
}

// Both confirming buttons are enabled only for "*." followed by at least one more character.
void frmExtDialog::UpdateButtons() {
  const bool ok = app::PatternCanBeConfirmed(WindowTextUtf8(Item(IDC_TXT_EXT)));
  EnableWindow(Item(IDC_CMD_ADD), ok);
  EnableWindow(Item(IDC_CMD_OK), ok);
}

bool frmExtDialog::ValidateExtension(bool editing) {
  const std::optional<app::Question> refusal =
      mPatterns.Refusal(WindowTextUtf8(Item(IDC_TXT_EXT)), editing);
  if (!refusal)
    return true;
  Refuse(*refusal);
  return false;
}

// Shows why the text was refused and hands it back for correction, selected whole.
void frmExtDialog::Refuse(const app::Question& refusal) {
  PromptAnswerer(mhWnd.get()).Ask(refusal);
  SetFocus(Item(IDC_TXT_EXT));
  SendMessageW(Item(IDC_TXT_EXT), EM_SETSEL, 0, -1);
}

void frmExtDialog::cmdAdd_Click() {
  HWND button = Item(IDC_CMD_ADD);
  if (!IsWindowVisible(button) || !IsWindowEnabled(button))
    return;
  if (!ValidateExtension(false))
    return;
  Hide();
  PromptAnswerer answers(mhWnd.get());
  mPatterns.Add(WindowTextUtf8(Item(IDC_TXT_EXT)), answers);
  SetText("");
}

void frmExtDialog::cmdOK_Click() {
  HWND button = Item(IDC_CMD_OK);
  if (!IsWindowVisible(button) || !IsWindowEnabled(button))
    return;
  if (!ValidateExtension(true))
    return;
  Hide();
  PromptAnswerer answers(mhWnd.get());
  mPatterns.EditSelected(WindowTextUtf8(Item(IDC_TXT_EXT)), answers);
  SetText("");
}

void frmExtDialog::Hide() {
  ShowWindow(mhWnd.get(), SW_HIDE);
}

}  // namespace tarnwick::win
