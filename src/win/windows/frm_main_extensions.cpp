// The main window's pattern list: Add, Edit and Remove through the app layer's pattern list, which
// the list box shows.
#include "win/resource_ids.h"
#include "win/windows/frm_ext_dialog.h"
#include "win/windows/frm_main.h"
#include "win/windows/list_box.h"

namespace tarnwick::win {

// Shows the pattern list in the list box, with its selection, and enables Edit and Remove exactly
// when the list has entries. (The list itself keeps gExtList and gExtensions.)
void frmMain::RefreshExtensions() {
  HWND list = Item(IDC_LST_EXT);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& pattern : mPatterns.Entries())
    ListBoxAppend(list, pattern);
  const auto selected = mPatterns.Selected();
  ListBoxSelect(list, selected ? static_cast<int>(*selected) : -1);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  EnableWindow(Item(IDC_CMD_EXT_EDIT), mPatterns.CanEditOrRemove());
  EnableWindow(Item(IDC_CMD_EXT_RMV), mPatterns.CanEditOrRemove());
}

void frmMain::lstExt_Click() {
  const int selected = ListBoxSelection(Item(IDC_LST_EXT));
  mPatterns.Select(selected < 0 ? std::nullopt : std::optional<std::size_t>(selected));
  EnableWindow(Item(IDC_CMD_EXT_EDIT), TRUE);
  EnableWindow(Item(IDC_CMD_EXT_RMV), TRUE);
}

// The one pattern dialog, made on first use. Its buttons only hide it, so it keeps its text; once
// closed through its close box it is discarded and the next use starts afresh.
frmExtDialog& frmMain::UseExtDialog() {
  if (!mExtDialog || mExtDialog->ClosedByCloseBox())
    mExtDialog = std::make_unique<frmExtDialog>(mhWnd.get(), mPatterns);
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
  const auto selected = mPatterns.Selected();
  if (!selected)
    return;
  frmExtDialog& dialog = UseExtDialog();
  dialog.SetMode(frmExtDialog::Mode::Edit);
  dialog.SetText(mPatterns.Entry(*selected));
  ShowExtDialog();
  RefreshExtensions();
}

void frmMain::cmdExtRmv_Click() {
  mPatterns.RemoveSelected();
  RefreshExtensions();
}

}  // namespace tarnwick::win
