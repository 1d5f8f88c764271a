// The main window's commands: browse for the folder, start a scan, open the web address, and
// the closing of the window with the exit sequence.
#include "core/platform/system.h"
#include "core/scan/search_state.h"
#include "core/settings/app_state.h"
#include "core/settings/settings.h"
#include "win/common/product_texts.h"
#include "win/common/prompts.h"
#include "win/common/text.h"
#include "win/resource_ids.h"
#include "win/windows/dir_browse.h"
#include "win/windows/frm_main.h"

namespace tarnwick::win {

void frmMain::cmdBrowse_Click() {
  const std::string chosen = BrowseForFolder(mhWnd.get(), WindowTextUtf8(Item(IDC_TXT_FOLDER)));
  if (!chosen.empty())
    SetWindowTextUtf8(Item(IDC_TXT_FOLDER), chosen);
}

// Starts a scan at once, with no checks: the folder as typed (an empty box scans the root), the
// switches as the boxes show them and the pattern list as it is now.
void frmMain::cmdScan_Click() {
  HWND dialog = mhWnd.get();
  gSearch.Recurse = true;
  gSearch.IgnoreTemp = IsDlgButtonChecked(dialog, IDC_CHK_IGNORE_TEMP) == BST_CHECKED;
  gSearch.IgnoreSys = IsDlgButtonChecked(dialog, IDC_CHK_IGNORE_SYS) == BST_CHECKED;
  gSearch.Pattern = JoinPatterns(gExtList);
  gSearch.MatchCount = 0;
  gSearch.ScannedCount = 0;
  gSearch.TotalBytes = 0;

  std::string root = WindowTextUtf8(Item(IDC_TXT_FOLDER));
  if (root.empty() || !platform::IsPathSeparator(root.back()))
    root += platform::kPathSeparator;
  gRootFolder = root;

  mOpenScanWindow(dialog);
}

void frmMain::lblWebsite_Click() {
  mOpenLink("http://" + WindowTextUtf8(Item(IDC_LBL_WEBSITE)));
}

// Every way of closing the window (close box, system menu, Alt+F4) comes here first.
void frmMain::OnClose() {
  if (mbUnloaded)
    return;
  bool cancel = false;
  Form_QueryUnload(cancel);
  if (cancel)
    return;
  mbUnloaded = true;
  Form_Unload();
  if (mOnUnloaded)
    mOnUnloaded();
}

void frmMain::Form_QueryUnload(bool& cancel) {
  cancel = ShowMessage(mhWnd.get(), kExitQuestion, PromptIcon::Question, PromptButtons::YesNo) ==
           PromptAnswer::No;
}

// The exit sequence: the three settings are written back (a failed write is silent), then the
// window is hidden and the splash shown.
void frmMain::Form_Unload() {
  HWND dialog = mhWnd.get();
  const auto ticked = [dialog](int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? "1" : "0";
  };
  WriteSetting(mSettingsFile, kSettingsSection, "extensions", gExtensions);
  WriteSetting(mSettingsFile, kSettingsSection, "ignoretemp", ticked(IDC_CHK_IGNORE_TEMP));
  WriteSetting(mSettingsFile, kSettingsSection, "ignoresys", ticked(IDC_CHK_IGNORE_SYS));
  ShowWindow(dialog, SW_HIDE);
  mShowSplash();
}

}  // namespace tarnwick::win
