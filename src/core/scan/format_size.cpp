#include "core/scan/format_size.h"

#include <charconv>

namespace tarnwick {

std::string FormatSize(std::uint64_t bytes, std::string_view decimalSeparator) {
  double v = static_cast<double>(bytes) / 1024;
  const char* unit = " KB";
  if (v >= 1024) {
    v /= 1024;
    unit = " MB";
    if (v >= 1024) {
      v /= 1024;
      unit = " GB";
    }
  }
  // std::to_chars with a precision rounds the exact binary value, halves to even, and ignores the
  // process locale.
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
  std::string_view digits(buf, ec == std::errc() ? static_cast<size_t>(end - buf) : 0);
  const auto point = digits.find('.');
  if (point != std::string_view::npos) {
    while (digits.back() == '0')
      digits.remove_suffix(1);
    if (digits.back() == '.')
      digits.remove_suffix(1);
  }
  std::string text(digits.substr(0, point));
  if (point != std::string_view::npos && digits.size() > point) {
    text += decimalSeparator;
    text += digits.substr(point + 1);
  }
  return text + unit;
}

}  // namespace tarnwick
