// Window layouts are designed in twips (1440 to an inch, 15 to a pixel at 96 dots per inch) and
// placed in pixels for the DPI of the monitor a window is on. Fonts are made for that DPI too.
#pragma once

#include <windows.h>

#include <span>

#include "win/common/handles.h"

namespace tarnwick::win {

inline constexpr int kDefaultDpi = 96;
inline constexpr double kControlPointSize = 8.25;

// A control's place in its window's client area, in twips.
struct TwipsPlace {
  int id;
  int left, top, width, height;
};

int WindowDpi(HWND window);
int TwipsToPixels(int twips, int dpi);
int PixelsAt(int pixelsAt96, int dpi);

// Sets the client area of `window` to `width` by `height` pixels, keeping its frame.
void SetClientSize(HWND window, int width, int height);
// Puts the controls of `dialog` at their places for `dpi`.
void PlaceControls(HWND dialog, std::span<const TwipsPlace> places, int dpi);
// Tahoma at `points` for `dpi` (the system's nearest face where Tahoma is missing).
FontHandle MakeFont(int dpi, double points = kControlPointSize, bool bold = false,
                    bool underline = false);
// Sets `font` on every child control of `window`.
void SetFontOnChildren(HWND window, HFONT font);
// Centres `window` over `over` (the screen's work area when null).
void CentreWindow(HWND window, HWND over);
// Moves `window` to the rectangle the system suggests with WM_DPICHANGED (its `lParam`), so that
// it keeps its size in inches on a monitor of another DPI.
void MoveToSuggestedRect(HWND window, LPARAM suggestedRect);

}  // namespace tarnwick::win
