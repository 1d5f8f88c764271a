// The main window: the folder to scan with the two exclusion switches, the file-name pattern list
// with its Add, Edit and Remove buttons, the "GO" button that starts a scan, and the maker's
// notice and web address. Closing it asks for confirmation, saves the settings and shows the
// splash.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/patterns/pattern_list.h"
#include "win/common/handles.h"

namespace tarnwick::win {

class frmExtDialog;

class frmMain {
 public:
  // Opens the scan window modally over `owner` and returns when it has closed.
  using ScanWindowOpener = std::function<void(HWND owner)>;
  // Shows the splash for the given milliseconds at the end of the run and returns when it has
  // gone.
  using SplashShower = std::function<void(int milliseconds)>;
  // Opens a web address in the user's browser.
  using LinkOpener = std::function<void(const std::string& address)>;
  // The "Restore..." command, run with the main window as owner.
  using RestoreCommand = std::function<void(HWND owner)>;

  // `settingsFile` is the settings file the exit sequence writes to. The window is made at once
  // (hidden) and loads from the process-wide settings state.
  explicit frmMain(std::string settingsFile);
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  HWND hWnd() const { return mhWnd.get(); }
  void Show();
  // True once the window has been closed for good and the exit sequence has run.
  bool Unloaded() const { return mbUnloaded; }
  // Called once the exit sequence has run (the program then ends).
  void SetOnUnloaded(std::function<void()> done) { mOnUnloaded = std::move(done); }

  // Replace how the scan window, the splash and web addresses are shown (tests check what leads
  // up to them).
  void SetScanWindowOpener(ScanWindowOpener opener) { mOpenScanWindow = std::move(opener); }
  void SetSplashShower(SplashShower shower) { mShowSplash = std::move(shower); }
  void SetLinkOpener(LinkOpener opener) { mOpenLink = std::move(opener); }
  // Installs "Restore..."; the button is disabled until one is installed.
  void SetRestoreCommand(RestoreCommand command);
  // The pattern dialog while it exists (tests drive it).
  frmExtDialog* ExtDialog() const { return mExtDialog.get(); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  template <class Form>
  friend INT_PTR CALLBACK FormDialogProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ApplyLayout(int dpi);
  void Form_Load();
  void OnClose();
  void Form_QueryUnload(bool& cancel);
  void Form_Unload();
  void cmdBrowse_Click();
  void cmdScan_Click();
  void lblWebsite_Click();
  bool OnCommand(int id, int code);

  // The pattern list (frm_main_extensions.cpp). The list box shows mPatterns.
  void RefreshExtensions();
  void cmdExtAdd_Click();
  void cmdExtEdit_Click();
  void cmdExtRmv_Click();
  void lstExt_Click();
  frmExtDialog& UseExtDialog();
  void ShowExtDialog();

  HWND Item(int id) const { return GetDlgItem(mhWnd.get(), id); }

  std::string mSettingsFile;
  app::PatternList mPatterns;
  ScanWindowOpener mOpenScanWindow;
  SplashShower mShowSplash;
  LinkOpener mOpenLink;
  RestoreCommand mRestoreCommand;
  std::function<void()> mOnUnloaded;
  std::unique_ptr<frmExtDialog> mExtDialog;
  bool mbUnloaded = false;
  WindowHandle mhWnd;
  FontHandle mFont;
  FontHandle mGoFont;
  FontHandle mLinkFont;
  IconHandle mIconSmall;
  IconHandle mIconLarge;
};

}  // namespace tarnwick::win
