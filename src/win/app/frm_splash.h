// The splash window shown while the program ends: white, without caption, centred on the screen,
// showing the product's logo.
#pragma once

namespace tarnwick::win {

inline constexpr int kSplashMilliseconds = 3000;

// Shows the splash for kSplashMilliseconds while messages keep being dispatched, then closes it.
void ShowSplash();

}  // namespace tarnwick::win
