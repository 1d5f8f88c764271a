// Window layouts are designed in twips, 15 to a pixel at 96 dots per inch.
#pragma once

#include <QRect>

namespace tarnwick::gui {

inline constexpr int kTwipsPerPixel = 15;

constexpr int Twips(int twips) {
  return twips / kTwipsPerPixel;
}

// A rectangle given in twips (left, top, width, height), in pixels.
constexpr QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}

}  // namespace tarnwick::gui
