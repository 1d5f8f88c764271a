// The main window's commands: browse for the folder, start a scan, open the web address, and
// the closing of the window with the exit sequence.
#include "app/main/main_commands.h"
#include "app/main/maker_texts.h"
#include "app/questions/texts.h"
#include "core/scan/search_state.h"
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
  app::PrepareScan(WindowTextUtf8(Item(IDC_TXT_FOLDER)),
                   IsDlgButtonChecked(dialog, IDC_CHK_IGNORE_TEMP) == BST_CHECKED,
                   IsDlgButtonChecked(dialog, IDC_CHK_IGNORE_SYS) == BST_CHECKED, gSearch,
                   gRootFolder);
  mOpenScanWindow(dialog);
}

void frmMain::lblWebsite_Click() {
  mOpenLink(app::texts::kWebsiteScheme + WindowTextUtf8(Item(IDC_LBL_WEBSITE)));
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
  PromptAnswerer answers(mhWnd.get());
  cancel = !app::ConfirmExit(answers);
}

// The exit sequence as the app layer orders it: the three settings, then the window hidden and
// the splash shown.
void frmMain::Form_Unload() {
  class ExitView final : public app::ExitView {
   public:
    explicit ExitView(frmMain& window) : window_(window) {}
    void Hide() override { ShowWindow(window_.mhWnd.get(), SW_HIDE); }
    void ShowSplash(int milliseconds) override { window_.mShowSplash(milliseconds); }

   private:
    frmMain& window_;
  };
  HWND dialog = mhWnd.get();
  ExitView view(*this);
  app::RunExitSequence(mSettingsFile,
                       IsDlgButtonChecked(dialog, IDC_CHK_IGNORE_TEMP) == BST_CHECKED,
                       IsDlgButtonChecked(dialog, IDC_CHK_IGNORE_SYS) == BST_CHECKED, view);
}

}  // namespace tarnwick::win
