// Writing one Unicode code point as UTF-8, and reading one back. Written by hand: the standard
// library's converters are deprecated, and the engine needs only these two steps (names, WTF-8 on
// Windows, the manifest's escaped form).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnwick {

inline void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Reads the UTF-8 sequence at `pos`: its code point and length, or 0 when the bytes there are not
// a valid sequence (a stray continuation byte, a cut or overlong sequence, beyond U+10FFFF). An
// encoded UTF-16 surrogate (ED A0 80 to ED BF BF) is valid only with `allowSurrogates` (WTF-8).
inline std::size_t DecodeUtf8(std::string_view s, std::size_t pos, char32_t& cp,
                              bool allowSurrogates = false) {
  const auto byte = [&s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(pos);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t len = 0;
  char32_t min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, min = 0x80, cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, min = 0x800, cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, min = 0x10000, cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (s.size() - pos < len)
    return 0;
  for (std::size_t i = 1; i < len; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80)
      return 0;
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (!allowSurrogates && cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return len;
}

}  // namespace tarnwick
