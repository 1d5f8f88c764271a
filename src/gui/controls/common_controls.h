// Start-up of the platform's common controls before a window creates them.
#pragma once

#include <cstdint>

namespace tarnwick::gui {

// Control classes that can be asked for (the bar classes: status bar and tool bars).
inline constexpr std::uint32_t ICC_BAR_CLASSES = 0x00000004;

// Makes the named control classes ready for use; true when they are. Qt's widgets need no
// registration, so every class is ready as soon as the application object exists.
bool InitComCtl(std::uint32_t classes);

}  // namespace tarnwick::gui
