// The pictures carried inside the desktop program: its icon and the splash logo.
#pragma once

#include <QIcon>
#include <QString>

namespace tarnwick::gui {

// The program's icon, in every size it is drawn in.
QIcon ProgramIcon();
// Resource path of the splash logo picture.
QString SplashLogoPath();

}  // namespace tarnwick::gui
