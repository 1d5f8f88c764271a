// The scan window's status bar, where the walk, the export and the archive engine write their
// progress texts. Null while no scan window is open.
#pragma once

#include <QPointer>
#include <QStatusBar>

namespace tarnwick::gui {

extern QPointer<QStatusBar> ghStatusBar;

}  // namespace tarnwick::gui
