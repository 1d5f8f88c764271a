// The folder browse dialog: lets the user pick the folder to scan.
#pragma once

#include "app/questions/texts.h"

#include <QString>

class QWidget;

namespace tarnwick::gui {

inline constexpr const char* kBrowseTitle = app::texts::kBrowseTitle.data();

// Asks for a folder, opening at `initialFolder` when it names one. Returns the chosen folder in
// the system's own form (native separators; a drive or file-system root keeps its trailing
// separator, any other folder has none), or the empty text when the user cancelled.
QString BrowseForFolder(QWidget* owner, const QString& initialFolder);

// A folder path as the folder chooser gives it, in the system's own form as above.
QString OsFolderPath(const QString& chosen);

}  // namespace tarnwick::gui
