// The main window's pattern list: Add, Edit and Remove, and keeping the process-wide pattern
// list equal to the list box.
#include <QListWidget>
#include <QPushButton>
#include <memory>

#include "core/settings/app_state.h"
#include "gui/windows/frm_ext_dialog.h"
#include "gui/windows/frm_main.h"
#include "gui/windows/list_selection.h"

namespace tarnwick::gui {

// Makes gExtList and gExtensions follow the list box, and enables Edit and Remove exactly when
// the list has entries.
void frmMain::RefreshExtensions() {
  const int n = lstExt->count();
  gExtList.clear();
  gExtList.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    gExtList.push_back(lstExt->item(i)->text().toStdString());
  cmdExtEdit->setEnabled(n > 0);
  cmdExtRmv->setEnabled(n > 0);
  gExtensions = JoinPatterns(gExtList);
}

void frmMain::lstExt_Click() {
  cmdExtEdit->setEnabled(true);
  cmdExtRmv->setEnabled(true);
}

// The one pattern dialog, made on first use. Its buttons only hide it, so it keeps its text; once
// closed through its close box it is discarded and the next use starts afresh.
frmExtDialog& frmMain::ExtDialog() {
  if (mExtDialog == nullptr)
    mExtDialog = new frmExtDialog(lstExt, this);
  return *mExtDialog;
}

void frmMain::ShowExtDialog() {
  frmExtDialog& dialog = ExtDialog();
  dialog.exec();
  if (dialog.ClosedByCloseBox()) {
    dialog.deleteLater();
    mExtDialog = nullptr;
  }
}

void frmMain::cmdExtAdd_Click() {
  ExtDialog().SetMode(frmExtDialog::Mode::Add);
  ShowExtDialog();
  RefreshExtensions();
}

// With no entry selected there is nothing to edit, and nothing happens.
void frmMain::cmdExtEdit_Click() {
  const int selected = SelectedPosition(*lstExt);
  if (selected < 0)
    return;
  frmExtDialog& dialog = ExtDialog();
  dialog.SetMode(frmExtDialog::Mode::Edit);
  dialog.SetText(lstExt->item(selected)->text());
  ShowExtDialog();
  RefreshExtensions();
}

// Removes the selected entry without asking, then selects the entry that followed it, or the new
// last one. With no entry selected nothing happens.
void frmMain::cmdExtRmv_Click() {
  const int p = SelectedPosition(*lstExt);
  if (p < 0)
    return;
  std::unique_ptr<QListWidgetItem>(lstExt->takeItem(p)).reset();
  if (p < lstExt->count()) {
    SelectPosition(*lstExt, p);
  } else {
    SelectPosition(*lstExt, lstExt->count() - 1);
  }
  RefreshExtensions();
}

}  // namespace tarnwick::gui
