// The main window: the folder to scan with the two exclusion switches, the file-name pattern list
// with its Add, Edit and Remove buttons, the "GO" button that starts a scan, and the maker's
// notice and web address. Closing it asks for confirmation, saves the settings and shows the
// splash.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "app/patterns/pattern_list.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tarnwick::gui {

class frmExtDialog;

class frmMain : public QWidget {
  Q_OBJECT
 public:
  // Opens the scan window modally over `owner` and returns when it has closed.
  using ScanWindowOpener = std::function<void(QWidget* owner)>;
  // Shows the splash at the end of the run and returns when it has gone.
  using SplashShower = std::function<void()>;
  // The "Restore..." command, run with the main window as owner. The button is disabled until one
  // is installed (a build without the archive engine has none).
  using RestoreCommand = std::function<void(QWidget* owner)>;

  // `settingsFile` is the settings file the exit sequence writes to. The window loads at once
  // from the process-wide settings state.
  explicit frmMain(std::string settingsFile, QWidget* parent = nullptr);
  ~frmMain() override;

  // Replace how the scan window and the splash are shown (tests check what leads up to them).
  void SetScanWindowOpener(ScanWindowOpener opener) { mOpenScanWindow = std::move(opener); }
  void SetSplashShower(SplashShower shower) { mShowSplash = std::move(shower); }
  void SetRestoreCommand(RestoreCommand command);

 signals:
  // The window has been closed for good and the exit sequence has run: the program ends.
  void Unloaded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void SetTabOrder();
  void Form_Load();
  void Form_QueryUnload(bool& cancel);
  void Form_Unload();
  void cmdBrowse_Click();
  void cmdScan_Click();
  void lblWebsite_Click();

  // The pattern list (frm_main_extensions.cpp).
  void ShowPatterns();
  void TakeSelection();
  void cmdExtAdd_Click();
  void cmdExtEdit_Click();
  void cmdExtRmv_Click();
  void lstExt_Click();
  frmExtDialog& ExtDialog();
  void ShowExtDialog();

  std::string mSettingsFile;
  ScanWindowOpener mOpenScanWindow;
  SplashShower mShowSplash;
  app::PatternList mPatterns;  // the one pattern list; the list box shows it
  RestoreCommand mRestoreCommand;
  QPointer<frmExtDialog> mExtDialog;
  bool mbUnloaded = false;

  QGroupBox* fraDrive = nullptr;
  QLineEdit* txtFolder = nullptr;
  QPushButton* cmdBrowse = nullptr;
  QCheckBox* chkIgnoreTemp = nullptr;
  QCheckBox* chkIgnoreSys = nullptr;
  QPushButton* cmdScan = nullptr;
  QPushButton* cmdRestore = nullptr;
  QGroupBox* fraExt = nullptr;
  QListWidget* lstExt = nullptr;
  QPushButton* cmdExtAdd = nullptr;
  QPushButton* cmdExtEdit = nullptr;
  QPushButton* cmdExtRmv = nullptr;
  QLabel* lblWebsite = nullptr;
  QLabel* lblCopyright = nullptr;
};

}  // namespace tarnwick::gui
