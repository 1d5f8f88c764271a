// The restore window: the archive, the plan in a list (From, To, Status), the choice between the
// same places and one folder, the mappings (double-click one to send it elsewhere), the conflict
// choice, and the run with progress and Cancel, then the outcome with its details. What it does
// is the app layer's restore session. The run goes on a worker thread that hands its progress,
// each row's outcome and the conflict question to the window (WindowTasks), so the window never
// waits for a file; so does the comparison of files already there for the status column.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/restore/plan_status_checker.h"
#include "app/restore/restore_session.h"
#include "win/common/handles.h"
#include "win/common/window_tasks.h"
#include "win/controls/list_view.h"
#include "win/restore/restore_rows.h"

namespace tarnwick::win {

class frmRestore {
 public:
  // Makes the window (hidden) over `owner` for an opened session; `archiveName` is shown in the
  // caption and at the top.
  frmRestore(HWND owner, std::unique_ptr<app::RestoreSession> session, std::string archiveName);
  ~frmRestore();
  frmRestore(const frmRestore&) = delete;
  frmRestore& operator=(const frmRestore&) = delete;

  void Show();
  // Shows the window with its owner disabled and returns once it has closed.
  void ShowModal();
  HWND hWnd() const { return mhWnd.get(); }
  HWND Item(int id) const { return GetDlgItem(mhWnd.get(), id); }
  bool Closed() const { return !mhWnd; }
  // True while the restore runs.
  bool Running() const { return mWorker.joinable(); }
  // True while files already at the targets are compared for the status column.
  bool Checking() const { return mChecker != nullptr; }
  // The outcome of the last run, once it has ended.
  const std::optional<app::RestoreOutcome>& LastOutcome() const { return mOutcome; }
  const app::RestoreSession& Session() const { return *mSession; }

  // The two lists: made when the window loads.
  std::unique_ptr<clsListView> mPlan;
  std::unique_ptr<clsListView> mMappings;

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  template <class Form>
  friend INT_PTR CALLBACK FormDialogProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void ApplyLayout(int dpi);
  void InitLists();
  bool OnCommand(int id, int code);
  void RefreshMappings();
  void RefreshPlan();
  void StopChecking();
  void SetRunning(bool running);
  void optMode_Click();
  void txtFolder_Change();
  void cmdBrowse_Click();
  void lvwMappings_DoubleClick(int row);
  void cmdRestore_Click();
  void cmdCancel_Click();
  void TryClose();
  void OnProgress(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
                  std::uint64_t bytesTotal);
  void OnOutcome(const app::OutcomeLine& line);
  void OnFinished(app::RestoreOutcome outcome);

  HWND mOwner;
  std::unique_ptr<app::RestoreSession> mSession;
  std::string mArchiveName;
  app::PlanRows mRows;
  PlanRowSource mPlanSource{mRows.rows};
  std::unique_ptr<MappingRowSource> mMappingSource;
  std::optional<app::RestoreOutcome> mOutcome;
  WindowTasks mTasks;
  std::unique_ptr<app::PlanStatusChecker> mChecker;
  std::uint64_t mPlanNumber = 0;  // tasks of the checker carry it; a stale one is dropped
  std::atomic<bool> mStop{false};
  std::thread mWorker;
  bool mbCloseWhenDone = false;
  WindowHandle mhWnd;
  FontHandle mFont;
  IconHandle mIcon;
};

}  // namespace tarnwick::win
