#include "gui/scan/scan_globals.h"

namespace tarnwick::gui {

QPointer<QStatusBar> ghStatusBar;

}  // namespace tarnwick::gui
