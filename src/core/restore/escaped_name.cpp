#include "core/restore/escaped_name.h"

#include <cstdint>

namespace tarnwick::restore {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

// The length of the valid UTF-8 sequence at the start of `s`, or 0 when it is not one.
std::size_t sequenceLength(std::string_view s, bool allowSurrogates) {
  const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  const std::uint8_t lead = b(0);
  if (lead < 0x80)
    return 1;
  std::size_t len = 0;
  std::uint32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4;
    cp = lead & 0x07;
  } else {
    return 0;
  }
  if (s.size() < len)
    return 0;
  for (std::size_t i = 1; i < len; ++i) {
    if ((b(i) & 0xC0) != 0x80)
      return 0;
    cp = (cp << 6) | (b(i) & 0x3F);
  }
  const bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
  const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
  if (overlong || cp > 0x10FFFF || (surrogate && !allowSurrogates))
    return 0;
  return len;
}

}  // namespace

std::string DecodeEscaped(std::string_view escaped) {
  std::string out;
  out.reserve(escaped.size());
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] == '%' && i + 2 < escaped.size()) {
      const int hi = hexValue(escaped[i + 1]);
      const int lo = hexValue(escaped[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += escaped[i];
  }
  return out;
}

std::string Escape(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<std::uint8_t>(bytes[i]);
    const std::size_t len = sequenceLength(bytes.substr(i), false);
    if (len == 0 || c < 0x20 || c == 0x7F || c == '%') {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
      ++i;
      continue;
    }
    out.append(bytes.substr(i, len));
    i += len;
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes, bool allowSurrogates) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t len = sequenceLength(bytes.substr(i), allowSurrogates);
    if (len == 0)
      return false;
    i += len;
  }
  return true;
}

}  // namespace tarnwick::restore
