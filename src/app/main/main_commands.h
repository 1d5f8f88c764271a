// The main window's decisions: the folder it starts with, the request "GO" starts a scan with,
// the exit question and the exit sequence.
#pragma once

#include <string>

#include "app/questions/question.h"
#include "core/scan/search_state.h"

namespace tarnwick::app {

// The folder the box starts with. On Windows the root of the drive that holds Windows: the text
// of WINDIR up to and including its first "\" (nothing when it holds none). Where WINDIR is not
// set, the user's home folder, where that user's documents are.
std::string StartFolder();

// What "GO" starts, with no checks: the folder as typed (an empty box scans the root) with a path
// separator added unless it ends in one, recursion on, the switches as the boxes show them and
// the pattern list joined with ";"; counters at zero. Fills `params` and `rootFolder` (the front
// ends pass gSearch and gRootFolder).
void PrepareScan(const std::string& folderText, bool ignoreTemp, bool ignoreSys,
                 SearchParams& params, std::string& rootFolder);

// "Are you sure you want to exit?": true when the user answered Yes (leave), false for No.
bool ConfirmExit(Answerer& answers);

// What the exit sequence needs from the window.
class ExitView {
 public:
  virtual ~ExitView() = default;
  virtual void Hide() = 0;
  // Shows the splash for `milliseconds`, keeping events running, then closes it.
  virtual void ShowSplash(int milliseconds) = 0;
};

inline constexpr int kSplashMilliseconds = 3000;

// The exit sequence, in order: the three settings are written back to `settingsFile`
// ("extensions" from gExtensions, "ignoretemp" and "ignoresys" as "1"/"0"; a failed write is
// silent), then the window is hidden and the splash shown for 3000 ms.
void RunExitSequence(const std::string& settingsFile, bool ignoreTemp, bool ignoreSys,
                     ExitView& view);

}  // namespace tarnwick::app
