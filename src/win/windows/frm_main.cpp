#include "win/windows/frm_main.h"
#include "win/common/form_dialog_proc.h"

#include <shellapi.h>

#include <array>

#include "app/main/main_commands.h"
#include "app/main/maker_texts.h"
#include "app/questions/texts.h"
#include "app/restore/restore_texts.h"
#include "core/settings/app_state.h"
#include "win/app/frm_splash.h"
#include "win/common/layout.h"
#include "win/common/text.h"
#include "win/resource_ids.h"
#include "win/scan/frm_scan.h"
#include "win/windows/frm_ext_dialog.h"
#include "win/windows/list_box.h"

namespace tarnwick::win {
namespace {

constexpr int kClientWidth = 5835;
constexpr int kClientHeight = 4185;
// Places in the window's client area; the check boxes and the pattern list with its buttons lie
// in their frames (frame place + place in the frame).
constexpr std::array<TwipsPlace, 14> kPlaces{{
    {IDC_FRA_DRIVE, 120, 120, 5595, 1275},
    {IDC_TXT_FOLDER, 360, 480, 3795, 315},
    {IDC_CMD_BROWSE, 4320, 450, 1215, 375},
    {IDC_CHK_IGNORE_TEMP, 120 + 240, 120 + 840, 2235, 315},
    {IDC_CHK_IGNORE_SYS, 120 + 2820, 120 + 840, 1995, 315},
    {IDC_CMD_SCAN, 4560, 2220, 1035, 855},
    // Restoring on the new computer: a small button below "GO", in the space the layout leaves.
    {IDC_CMD_RESTORE, 4560, 3180, 1035, 375},
    {IDC_FRA_EXT, 120, 1500, 4215, 2235},
    {IDC_LST_EXT, 120 + 180, 1500 + 300, 3855, 1230},
    {IDC_CMD_EXT_ADD, 120 + 180, 1500 + 1680, 1215, 375},
    {IDC_CMD_EXT_EDIT, 120 + 1500, 1500 + 1680, 1215, 375},
    {IDC_CMD_EXT_RMV, 120 + 2820, 1500 + 1680, 1215, 375},
    {IDC_LBL_WEBSITE, 4320, 3900, 1425, 195},
    {IDC_LBL_COPYRIGHT, 120, 3900, 3255, 255},
}};
constexpr COLORREF kLinkColour = RGB(0, 0, 192);

void OpenScanWindow(HWND owner) {
  frmScan scan(owner);
  scan.ShowModal();
}

void OpenInBrowser(const std::string& address) {
  // A failure to open the browser is not reported.
  ShellExecuteW(GetDesktopWindow(), L"open", Wide(address).c_str(), nullptr, nullptr,
                SW_SHOWNORMAL);
}

IconHandle LoadProgramIcon(int size) {
  return IconHandle(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TARNWICK),
                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

frmMain::frmMain(std::string settingsFile)
    : mSettingsFile(std::move(settingsFile)),
      mOpenScanWindow(OpenScanWindow),
      mShowSplash(ShowSplash),
      mOpenLink(OpenInBrowser) {
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN), nullptr, DialogProc,
                     reinterpret_cast<LPARAM>(this));
}

frmMain::~frmMain() {
  mExtDialog.reset();
  mhWnd.reset();
}

void frmMain::SetRestoreCommand(RestoreCommand command) {
  mRestoreCommand = std::move(command);
  EnableWindow(Item(IDC_CMD_RESTORE), static_cast<bool>(mRestoreCommand));
}

void frmMain::Show() {
  ShowWindow(mhWnd.get(), SW_SHOW);
  SetForegroundWindow(mhWnd.get());
}

INT_PTR CALLBACK frmMain::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return FormDialogProc<frmMain>(dialog, message, wParam, lParam);
}

INT_PTR frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND dialog = mhWnd.get();
  switch (message) {
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case WM_QUERYENDSESSION: {
      // Windows is shutting down or the user logs off: the same question as any other closing.
      bool cancel = false;
      if (!mbUnloaded)
        Form_QueryUnload(cancel);
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, cancel ? FALSE : TRUE);
      return TRUE;
    }
    case WM_ENDSESSION:
      if (wParam != 0 && !mbUnloaded) {
        mbUnloaded = true;
        Form_Unload();
      }
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == Item(IDC_LBL_WEBSITE)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kLinkColour);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return FALSE;
    case WM_SETCURSOR:
      // The hand cursor whenever the mouse is over the web address.
      if (reinterpret_cast<HWND>(wParam) == Item(IDC_LBL_WEBSITE)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_DPICHANGED:
      MoveToSuggestedRect(dialog, lParam);
      ApplyLayout(HIWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

bool frmMain::OnCommand(int id, int code) {
  switch (id) {
    case IDC_CMD_BROWSE:
      cmdBrowse_Click();
      return true;
    case IDC_CMD_SCAN:
      cmdScan_Click();
      return true;
    case IDC_CMD_RESTORE:
      if (mRestoreCommand)
        mRestoreCommand(mhWnd.get());
      return true;
    case IDC_CMD_EXT_ADD:
      cmdExtAdd_Click();
      return true;
    case IDC_CMD_EXT_EDIT:
      cmdExtEdit_Click();
      return true;
    case IDC_CMD_EXT_RMV:
      cmdExtRmv_Click();
      return true;
    case IDC_LST_EXT:
      if (code == LBN_SELCHANGE)
        lstExt_Click();
      return true;
    case IDC_LBL_WEBSITE:
      if (code == STN_CLICKED)
        lblWebsite_Click();
      return true;
    case IDCANCEL:
      // Escape does not close the main window; only the ways of closing a window do.
      return true;
    default:
      return false;
  }
}

void frmMain::ApplyLayout(int dpi) {
  HWND dialog = mhWnd.get();
  mFont = MakeFont(dpi);
  mGoFont = MakeFont(dpi, 15.75, true);
  mLinkFont = MakeFont(dpi, kControlPointSize, false, true);
  SetFontOnChildren(dialog, mFont.get());
  SendMessageW(Item(IDC_CMD_SCAN), WM_SETFONT, reinterpret_cast<WPARAM>(mGoFont.get()), TRUE);
  SendMessageW(Item(IDC_LBL_WEBSITE), WM_SETFONT, reinterpret_cast<WPARAM>(mLinkFont.get()), TRUE);
  SetClientSize(dialog, TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi));
  PlaceControls(dialog, kPlaces, dpi);
}

void frmMain::Form_Load() {
  HWND dialog = mhWnd.get();
  const int dpi = WindowDpi(dialog);
  ApplyLayout(dpi);
  CentreWindow(dialog, nullptr);
  mIconSmall = LoadProgramIcon(GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi)));
  mIconLarge = LoadProgramIcon(GetSystemMetricsForDpi(SM_CXICON, static_cast<UINT>(dpi)));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(mIconSmall.get()));
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(mIconLarge.get()));

  SetWindowTextUtf8(Item(IDC_CMD_RESTORE), app::kRestoreCommand);
  SetWindowTextUtf8(Item(IDC_LBL_WEBSITE), app::texts::kWebsiteHost);
  SetWindowTextUtf8(Item(IDC_LBL_COPYRIGHT), app::texts::kNoticeText);
  SetWindowTextUtf8(Item(IDC_TXT_FOLDER), app::StartFolder());
  CheckDlgButton(dialog, IDC_CHK_IGNORE_TEMP, gbIgnoreTemp ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_CHK_IGNORE_SYS, gbIgnoreSys ? BST_CHECKED : BST_UNCHECKED);
  for (const std::string& pattern : mPatterns.Entries())
    ListBoxAppend(Item(IDC_LST_EXT), pattern);
  SetWindowTextUtf8(dialog,
                    std::string(app::texts::kCaptionNotice) + std::string(app::texts::kAppTitle));
}

}  // namespace tarnwick::win
