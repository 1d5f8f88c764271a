// The desktop program's start-up sequence: the prerequisite check beside the executable, the
// settings read into the process-wide state, then the main window.
#pragma once

#include <QString>

class QApplication;

namespace tarnwick::gui {

// The prerequisite check and the settings read for the executable's folder `folder`. False when
// the settings file could not be put in place (the user has been told); the state is then not
// loaded.
bool LoadProgramState(const QString& folder);

// Runs the start-up sequence for the settings file in `folder` (the executable's folder) and,
// when it succeeds, shows the main window and runs the event loop until the main window has been
// closed and the exit sequence has run. Returns the exit code: 0 after a normal end, 1 when the
// prerequisite check failed.
int Main(QApplication& app, const QString& folder);

}  // namespace tarnwick::gui
