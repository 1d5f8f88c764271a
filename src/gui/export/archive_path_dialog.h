// The save dialog of the export: where the archive goes.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace tarnwick::gui {

// Asks for the archive's path: the dialog "Archive scanned files" with the zip filter, opening in
// the executable's folder and proposing the computer's name, confirming before an existing file
// is replaced. Returns the chosen path with ".zip" appended unless it ends in ".zip" already, or
// nothing when the user cancelled.
std::optional<std::string> AskArchivePath(QWidget* parent);

}  // namespace tarnwick::gui
