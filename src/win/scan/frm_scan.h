// The scan window: runs one scan with live rows and progress as soon as it is shown (the walk on a
// thread of its own, the rows handed to the window on the engine's clock), writes the
// summary line, then offers the export ("Save to zip file") in place of "Cancel". It refuses to
// close while the scan or an export runs, and asks before closing unsaved results. What it does
// is the app layer's scan session; the window shows it.
//
// The main window fills gSearch and gRootFolder, then opens it modally: frmScan(owner).ShowModal().
#pragma once

#include <windows.h>
// An old macro of the Windows headers that would hide SearchSink::Yield.
#undef Yield

#include <functional>
#include <memory>
#include <string>

#include "app/scan/background_walk.h"
#include "app/scan/scan_session.h"
#include "win/common/handles.h"
#include "win/controls/list_view.h"
#include "win/scan/scan_rows.h"

namespace tarnwick::win {

class frmScan {
 public:
  // What "Save to zip file" runs, with the window (its session holds the rows and the flags).
  using ExportCommand = std::function<void(frmScan&)>;
  // Installs the export command for every scan window opened afterwards (empty: none, and the
  // button stays disabled).
  static void SetExportCommand(ExportCommand command);
  // Runs the walk, on the walk's own thread; tests replace it to script what the walk reports
  // (empty: the real walk).
  using SearchRunner = std::function<void(SearchParams&, const std::string& root, SearchSink&)>;
  static void SetSearchRunner(SearchRunner runner);

  // Makes the window (hidden) over `owner`; it loads at once.
  explicit frmScan(HWND owner);
  ~frmScan();
  frmScan(const frmScan&) = delete;
  frmScan& operator=(const frmScan&) = delete;

  // Shows the window; the scan starts from the message loop once it is on screen.
  void Show();
  // Shows the window with its owner disabled and returns once it has closed.
  void ShowModal();
  HWND hWnd() const { return mhWnd.get(); }
  // True once the window has closed.
  bool Closed() const { return !mhWnd; }
  // True once the scan has ended and the summary is shown.
  bool ScanEnded() const;

  app::ScanSession& Session();
  // The result list: created when the window loads, released when it closes.
  std::unique_ptr<clsListView> mList;
  HWND cmdCancel = nullptr;
  HWND cmdExport = nullptr;
  HWND StatusBar() const { return mStatusBar; }

 private:
  class WindowSession;
  class WindowScanView;
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  template <class Form>
  friend INT_PTR CALLBACK FormDialogProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void ApplyLayout(int dpi);
  void InitListView();
  void Form_Activate();
  void TakeFound();
  void cmdCancel_Click();
  void cmdExport_Click();
  void TryClose();

  HWND mOwner;
  std::unique_ptr<WindowSession> mSession;
  // The walk while it runs; made after the session and gone before it.
  std::unique_ptr<app::BackgroundWalk> mWalk;
  std::unique_ptr<ScanRows> mRows;
  WindowHandle mhWnd;
  FontHandle mFont;
  IconHandle mIcon;
  HWND mStatusBar = nullptr;
  bool mbActivated = false;
};

}  // namespace tarnwick::win
