// The main window's commands: browse for the folder, start a scan, open the web address, and
// the closing of the window with the exit sequence.
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QUrl>

#include "app/main/main_commands.h"
#include "core/scan/search_state.h"
#include "gui/common/prompts.h"
#include "gui/windows/dir_browse.h"
#include "gui/windows/frm_main.h"

namespace tarnwick::gui {

void frmMain::cmdBrowse_Click() {
  const QString chosen = BrowseForFolder(this, txtFolder->text());
  if (!chosen.isEmpty())
    txtFolder->setText(chosen);
}

// Starts a scan at once, with no checks: the folder as typed (an empty box scans the root), the
// switches as the boxes show them and the pattern list as it is now.
void frmMain::cmdScan_Click() {
  app::PrepareScan(txtFolder->text().toStdString(), chkIgnoreTemp->isChecked(),
                   chkIgnoreSys->isChecked(), gSearch, gRootFolder);
  mOpenScanWindow(this);
}

void frmMain::lblWebsite_Click() {
  // A failure to open the browser is not reported.
  QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + lblWebsite->text()));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblWebsite && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton &&
        lblWebsite->rect().contains(mouse->position().toPoint())) {
      lblWebsite_Click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// Every way of closing the window (close box, system menu, Alt+F4, the session ending) comes
// here first.
void frmMain::closeEvent(QCloseEvent* event) {
  if (mbUnloaded) {
    event->accept();
    return;
  }
  bool cancel = false;
  Form_QueryUnload(cancel);
  if (cancel) {
    event->ignore();
    return;
  }
  mbUnloaded = true;
  Form_Unload();
  event->accept();
  emit Unloaded();
}

void frmMain::Form_QueryUnload(bool& cancel) {
  PromptAnswerer answers(this);
  cancel = !app::ConfirmExit(answers);
}

// The exit sequence as the app layer orders it: the three settings, then the window hidden and
// the splash shown.
void frmMain::Form_Unload() {
  struct View final : app::ExitView {
    frmMain& window;
    explicit View(frmMain& w) : window(w) {}
    void Hide() override { window.hide(); }
    void ShowSplash(int) override { window.mShowSplash(); }
  } view(*this);
  app::RunExitSequence(mSettingsFile, chkIgnoreTemp->isChecked(), chkIgnoreSys->isChecked(), view);
}

}  // namespace tarnwick::gui
