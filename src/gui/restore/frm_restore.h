// The restore window: the plan in a list (from, to, status), the choice between the same places
// and one folder, the mappings the user can change, the conflict choice, and the run with progress
// and Cancel, then the outcome. The restore itself runs on a worker thread, so the window stays
// alive however large the files; the worker reports through queued calls and waits for the
// conflict question's answer.
#pragma once

#include <QDialog>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "app/restore/plan_status_checker.h"
#include "app/restore/restore_session.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTreeWidget;

namespace tarnwick::gui {

class frmRestore : public QDialog {
  Q_OBJECT
 public:
  // Answers a conflict; by default a message box with the three choices and "for all".
  using ConflictAsker = std::function<app::ConflictAnswer(QWidget*, const app::ConflictQuestion&)>;
  // Shows the outcome; by default a message box with the summary and the whole list as details.
  using OutcomeShower = std::function<void(QWidget*, const app::RestoreOutcome&)>;
  // Chooses a folder; by default the folder browser.
  using FolderChooser = std::function<std::optional<std::string>(QWidget*, const std::string&)>;

  frmRestore(std::unique_ptr<app::RestoreSession> session, const QString& archiveName,
             QWidget* parent = nullptr);
  ~frmRestore() override;

  void SetConflictAsker(ConflictAsker asker) { mAskConflict = std::move(asker); }
  void SetOutcomeShower(OutcomeShower shower) { mShowOutcome = std::move(shower); }
  void SetFolderChooser(FolderChooser chooser) { mChooseFolder = std::move(chooser); }

  // Starts the restore (as the Restore button does); returns at once.
  void StartRestore();
  bool Running() const { return mWorker.joinable(); }
  // True while the files already at the targets are being compared for the status column.
  bool Checking() const { return mChecker != nullptr; }
  const app::RestoreSession& Session() const { return *mSession; }

 signals:
  void Finished();
  // The status column is complete (every file already there compared).
  void PlanChecked();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void BuildControls();
  void RefreshMappings();
  void RefreshPlan();
  void StopChecking();
  void SetRunning(bool running);
  void optMode_Toggled();
  void cmdBrowseFolder_Click();
  void tblMappings_DoubleClick(int row);
  void cmdCancel_Click();
  void OnProgress(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
                  std::uint64_t bytesTotal);
  void OnOutcome(const app::OutcomeLine& line);
  void OnFinished(const app::RestoreOutcome& outcome);

  std::unique_ptr<app::RestoreSession> mSession;
  ConflictAsker mAskConflict;
  OutcomeShower mShowOutcome;
  FolderChooser mChooseFolder;
  std::atomic<bool> mStop{false};
  std::thread mWorker;
  // Compares the files already there for the status column; replaced with each new plan. Posts
  // carry the plan's number, so that a late one for an older plan is dropped.
  std::unique_ptr<app::PlanStatusChecker> mChecker;
  std::uint64_t mPlanNumber = 0;
  bool mbCloseWhenDone = false;

  QLabel* lblArchive = nullptr;
  QRadioButton* optSamePlaces = nullptr;
  QRadioButton* optIntoFolder = nullptr;
  QLineEdit* txtFolder = nullptr;
  QPushButton* cmdBrowseFolder = nullptr;
  QTableWidget* tblMappings = nullptr;
  QComboBox* cboConflict = nullptr;
  QTreeWidget* lvwPlan = nullptr;
  QProgressBar* prgRestore = nullptr;
  QLabel* lblStatus = nullptr;
  QPushButton* cmdRestore = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdClose = nullptr;
};

}  // namespace tarnwick::gui
