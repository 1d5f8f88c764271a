#include "core/scan/text_case.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace tarnwick {
namespace {

constexpr char32_t kIllFormedBase = 0x110000;

// Calls `onCodePoint(c)` for each well-formed code point and `onIllFormed(bytes)` for each
// ill-formed byte sequence of `text`.
template <typename OnCodePoint, typename OnIllFormed>
void decode(std::string_view text, OnCodePoint onCodePoint, OnIllFormed onIllFormed) {
  const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(text.size());
  std::int32_t i = 0;
  while (i < length) {
    if (s[i] < 0x80) {
      onCodePoint(static_cast<UChar32>(s[i++]));
      continue;
    }
    const std::int32_t start = i;
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) {
      onIllFormed(text.substr(static_cast<size_t>(start), static_cast<size_t>(i - start)));
    } else {
      onCodePoint(c);
    }
  }
}

template <typename Map>
std::string mapCase(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  decode(
      text,
      [&](UChar32 c) {
        const UChar32 m = map(c);
        char buf[U8_MAX_LENGTH];
        std::int32_t n = 0;
        U8_APPEND_UNSAFE(buf, n, m);
        out.append(buf, static_cast<size_t>(n));
      },
      [&](std::string_view bytes) { out.append(bytes); });
  return out;
}

}  // namespace

std::string UpperCase(std::string_view text) {
  return mapCase(text, [](UChar32 c) { return u_toupper(c); });
}

std::string LowerCase(std::string_view text) {
  return mapCase(text, [](UChar32 c) { return u_tolower(c); });
}

void AppendCaseKeys(std::string_view text, std::u32string& out) {
  decode(
      text,
      [&](UChar32 c) {
        if (c < 0x80) {
          out.push_back(static_cast<char32_t>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c));
        } else {
          const UChar32 upper = u_toupper(c);
          out.push_back(static_cast<char32_t>(u_tolower(upper) == c ? upper : c));
        }
      },
      [&](std::string_view bytes) {
        out.push_back(kIllFormedBase + static_cast<std::uint8_t>(bytes.front()));
      });
}

}  // namespace tarnwick
