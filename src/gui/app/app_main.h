// The desktop program's start-up sequence: the prerequisite check beside the executable, the
// settings read into the process-wide state, then the main window.
#pragma once

#include <QString>

class QApplication;

namespace tarnwick::gui {

// Runs the start-up sequence for the settings file in `folder` (the executable's folder) and,
// when it succeeds, shows the main window and runs the event loop. Returns the exit code: 0 after
// a normal end, 1 when the prerequisite check failed (the user has been told).
int Main(QApplication& app, const QString& folder);

}  // namespace tarnwick::gui
