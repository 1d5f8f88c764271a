// The Windows program's start-up sequence: the prerequisite check beside the executable, the
// settings read into the process-wide state, then the main window and its message loop.
#pragma once

#include <string>

namespace tarnwick::win {

// The prerequisite check and the settings read for the executable's folder `folder`. False when
// the settings file could not be put in place (the user has been told).
bool LoadProgramState(const std::string& folder);

// Runs the program for the settings file in `folder` until the main window has been closed and
// the exit sequence has run. Returns the exit code: 0 after a normal end, 1 when the
// prerequisite check failed.
int Main(const std::string& folder);

}  // namespace tarnwick::win
