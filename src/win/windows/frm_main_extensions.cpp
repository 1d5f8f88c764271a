// The main window's pattern list: Add, Edit and Remove, and keeping the process-wide pattern
// list equal to the list box.
#include "core/settings/app_state.h"
#include "win/resource_ids.h"
#include "win/windows/frm_ext_dialog.h"
#include "win/windows/frm_main.h"
#include "win/windows/list_box.h"

namespace tarnwick::win {

// Makes gExtList and gExtensions follow the list box, and enables Edit and Remove exactly when
// the list has entries.
void frmMain::RefreshExtensions() {
  gExtList = ListBoxEntries(Item(IDC_LST_EXT));
  const bool any = !gExtList.empty();
  EnableWindow(Item(IDC_CMD_EXT_EDIT), any);
  EnableWindow(Item(IDC_CMD_EXT_RMV), any);
  gExtensions = JoinPatterns(gExtList);
}

void frmMain::lstExt_Click() {
  EnableWindow(Item(IDC_CMD_EXT_EDIT), TRUE);
  EnableWindow(Item(IDC_CMD_EXT_RMV), TRUE);
}

// The one pattern dialog, made on first use. Its buttons only hide it, so it keeps its text; once
// closed through its close box it is discarded and the next use starts afresh.
frmExtDialog& frmMain::UseExtDialog() {
  if (!mExtDialog || mExtDialog->ClosedByCloseBox())
    mExtDialog = std::make_unique<frmExtDialog>(mhWnd.get(), Item(IDC_LST_EXT));
  return *mExtDialog;
}

void frmMain::ShowExtDialog() {
  mExtDialog->ShowModal();
}

void frmMain::cmdExtAdd_Click() {
  UseExtDialog().SetMode(frmExtDialog::Mode::Add);
  ShowExtDialog();
  RefreshExtensions();
}

// With no entry selected there is nothing to edit, and nothing happens.
void frmMain::cmdExtEdit_Click() {
  const int selected = ListBoxSelection(Item(IDC_LST_EXT));
  if (selected < 0)
    return;
  frmExtDialog& dialog = UseExtDialog();
  dialog.SetMode(frmExtDialog::Mode::Edit);
  dialog.SetText(ListBoxText(Item(IDC_LST_EXT), selected));
  ShowExtDialog();
  RefreshExtensions();
}

// Removes the selected entry without asking, then selects the entry that followed it, or the new
// last one. With no entry selected nothing happens.
void frmMain::cmdExtRmv_Click() {
  HWND list = Item(IDC_LST_EXT);
  const int p = ListBoxSelection(list);
  if (p < 0)
    return;
  SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(p), 0);
  const int n = ListBoxCount(list);
  if (p < n) {
    ListBoxSelect(list, p);
  } else if (n > 0) {
    ListBoxSelect(list, n - 1);
  }
  RefreshExtensions();
}

}  // namespace tarnwick::win
