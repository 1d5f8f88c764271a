// The main window's pattern list: Add, Edit and Remove on the app layer's pattern list, which the
// list box shows.
#include <QListWidget>
#include <QPushButton>
#include <memory>
#include <optional>

#include "gui/windows/frm_ext_dialog.h"
#include "gui/windows/frm_main.h"
#include "gui/windows/list_selection.h"

namespace tarnwick::gui {

// Makes the list box show the pattern list and its selection, changing only the entries that
// differ, and enables Edit and Remove as the list says.
void frmMain::ShowPatterns() {
  const int n = static_cast<int>(mPatterns.Count());
  while (lstExt->count() > n)
    std::unique_ptr<QListWidgetItem>(lstExt->takeItem(lstExt->count() - 1)).reset();
  for (int i = 0; i < n; ++i) {
    const QString text = QString::fromStdString(mPatterns.Entry(static_cast<std::size_t>(i)));
    if (i == lstExt->count())
      lstExt->addItem(text);
    else if (lstExt->item(i)->text() != text)
      lstExt->item(i)->setText(text);
  }
  const auto selected = mPatterns.Selected();
  const int position = selected ? static_cast<int>(*selected) : -1;
  if (SelectedPosition(*lstExt) != position)
    SelectPosition(*lstExt, position);
  cmdExtEdit->setEnabled(mPatterns.CanEditOrRemove());
  cmdExtRmv->setEnabled(mPatterns.CanEditOrRemove());
}

// The user selects in the list box; the pattern list learns the selection when a command runs.
void frmMain::TakeSelection() {
  const int selected = SelectedPosition(*lstExt);
  mPatterns.Select(selected < 0 ? std::nullopt
                                : std::optional<std::size_t>(static_cast<std::size_t>(selected)));
}

void frmMain::lstExt_Click() {
  cmdExtEdit->setEnabled(true);
  cmdExtRmv->setEnabled(true);
}

// The one pattern dialog, made on first use. Its buttons only hide it, so it keeps its text; once
// closed through its close box it is discarded and the next use starts afresh.
frmExtDialog& frmMain::ExtDialog() {
  if (mExtDialog == nullptr)
    mExtDialog = new frmExtDialog(mPatterns, this);
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
  TakeSelection();
  ExtDialog().SetMode(frmExtDialog::Mode::Add);
  ShowExtDialog();
  ShowPatterns();
}

// With no entry selected there is nothing to edit, and nothing happens.
void frmMain::cmdExtEdit_Click() {
  TakeSelection();
  const auto selected = mPatterns.Selected();
  if (!selected)
    return;
  frmExtDialog& dialog = ExtDialog();
  dialog.SetMode(frmExtDialog::Mode::Edit);
  dialog.SetText(QString::fromStdString(mPatterns.Entry(*selected)));
  ShowExtDialog();
  ShowPatterns();
}

// Removes the selected entry without asking (the pattern list then selects the entry that
// followed it, or the new last one). With no entry selected nothing happens.
void frmMain::cmdExtRmv_Click() {
  TakeSelection();
  if (!mPatterns.Selected())
    return;
  mPatterns.RemoveSelected();
  ShowPatterns();
}

}  // namespace tarnwick::gui
