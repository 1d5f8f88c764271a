// The main window's "Restore..." command: asks for the archive (one or all of its parts), opens
// it, and shows the restore window modally over `owner`.
#pragma once

class QWidget;

namespace tarnwick::gui {

void cmdRestore_Click(QWidget* owner);

}  // namespace tarnwick::gui
