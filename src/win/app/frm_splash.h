// The splash window shown while the program ends: white, without caption, centred on the screen,
// showing the product's logo.
#pragma once

namespace tarnwick::win {

// Shows the splash for `milliseconds` while messages keep being dispatched, then closes it.
void ShowSplash(int milliseconds);

}  // namespace tarnwick::win
