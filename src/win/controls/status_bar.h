// The scan window's status bar and the routines every progress and summary text goes through.
// The bar is never split: every caller writes part 0.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::win {

// The default, sunken border of a status bar part (the headers name only the other two).
inline constexpr std::uint16_t SBT_SUNKEN = 0;

// Registers the common-control classes named by `classes` (ICC_ flags); true when they are.
bool InitComCtl(DWORD classes);

// A status bar child of `parent` (WS_CHILD | WS_VISIBLE, empty text, identifier 0).
HWND CreateStatusBar(HWND parent);

// Sets the text and drawing style (SBT_SUNKEN 0, SBT_NOBORDERS, SBT_POPOUT) of one part. When the
// style differs from the part's current one, the whole bar is invalidated so its border is
// redrawn. Texts are passed whole. Nothing happens for a null bar.
void SetStatusText(HWND bar, std::uint8_t part, std::uint16_t style, std::string_view text);

// The current drawing style of one part (the high word of SB_GETTEXTLENGTHW); 0 for a null bar.
std::uint16_t GetStatusTextStyle(HWND bar, std::uint8_t part);

// The text of one part; empty for a null bar.
std::string GetStatusText(HWND bar, std::uint8_t part);

}  // namespace tarnwick::win
