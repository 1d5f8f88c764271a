// The font of the program's windows: Tahoma where the system has it, else the default sans-serif
// font at the same size, so the designed layouts keep their proportions.
//
// On Linux, Wine's metric-compatible Tahoma (Debian's fonts-wine) is installed outside the font
// configuration's folders; when the system knows no Tahoma but that file is there, it is loaded
// for this program.
#pragma once

#include <QFont>

namespace tarnwick::gui {

inline constexpr qreal kControlPointSize = 8.25;

QFont ControlFont(qreal pointSize = kControlPointSize, bool bold = false);

}  // namespace tarnwick::gui
