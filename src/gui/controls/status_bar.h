// The scan window's status bar and the routines every progress and summary text goes through.
// The bar has one part, part 0: a label drawn with one of three border styles.
#pragma once

#include <QString>
#include <cstdint>

class QStatusBar;
class QWidget;

namespace tarnwick::gui {

// Border styles of a status bar part.
inline constexpr std::uint16_t SBT_SUNKEN = 0x0000;
inline constexpr std::uint16_t SBT_NOBORDERS = 0x0100;
inline constexpr std::uint16_t SBT_POPOUT = 0x0200;

// Creates a status bar child of `parent` with one empty, sunken part. The parent places it.
QStatusBar* CreateStatusBar(QWidget* parent);

// Sets the text and border style of one part. Texts are shown whole (a long one is clipped by
// the bar, never shortened). Does nothing for a null bar or a part the bar does not have.
void SetStatusText(QStatusBar* bar, std::uint8_t part, std::uint16_t style, const QString& text);

// The border style of one part; 0 for a null bar or a part the bar does not have.
std::uint16_t GetStatusTextStyle(QStatusBar* bar, std::uint8_t part);

// The text of one part; empty for a null bar or a part the bar does not have.
QString GetStatusText(QStatusBar* bar, std::uint8_t part);

}  // namespace tarnwick::gui
