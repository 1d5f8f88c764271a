// The progress window of a long export: how many files and bytes of the total are done, and a
// Cancel button. Modal over the scan window while it is up, so the user can cancel but not start
// anything else there; it appears only when the work lasts longer than a moment.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "win/common/handles.h"

namespace tarnwick::win {

class ProgressWindow {
 public:
  // `action` names the work ("Archiving files", "Copying files"); `filesTotal` is known before
  // the work starts, the bytes come with the first report. Cancel sets `cancel`.
  ProgressWindow(HWND owner, std::string action, std::uint64_t filesTotal,
                 std::atomic<bool>& cancel);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Shows how far the work is. Cheap to call often: redrawn at most every 50 ms.
  void Update(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
              std::uint64_t bytesTotal);
  // The owner for a question asked while the work runs: this window when it is on screen.
  HWND QuestionOwner() const;
  HWND hWnd() const { return mhWnd.get(); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  std::atomic<bool>& cancel_;
  HWND owner_;
  std::string action_;
  std::string decimalSeparator_;
  DWORD started_;
  DWORD lastRedraw_ = 0;
  bool ownerDisabled_ = false;
  WindowHandle mhWnd;
  FontHandle font_;
};

// "Archiving files: 3 of 10" and below it "1.5 MB of 20 MB" (the bytes line once the total is
// known).
std::string ProgressText(const std::string& action, std::uint64_t filesDone,
                         std::uint64_t filesTotal, std::uint64_t bytesDone,
                         std::uint64_t bytesTotal, const std::string& decimalSeparator);

}  // namespace tarnwick::win
