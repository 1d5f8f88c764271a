// The program's one size format: a byte count as " KB", " MB" or " GB" with at most two decimals.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

// The unit is chosen before rounding (1048575 bytes give "1024 KB"); sizes below 1 KB are still
// given in KB and there is no unit above GB. The value is rounded to two decimals, exact halves
// of its binary value to the even neighbour, and written in its shortest form: no trailing zeros,
// no separator for whole values, no digit grouping, a leading zero before the separator.
// `decimalSeparator` is the user's (the desktop program passes its locale's; the command line ".").
std::string FormatSize(std::uint64_t bytes, std::string_view decimalSeparator);

}  // namespace tarnwick
