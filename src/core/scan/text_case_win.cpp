// Letter case on Windows, from the system's own locale-independent (invariant) case tables, the
// ones Windows itself uses for its names: no ICU library is needed in the Windows build. The
// mapping of every 16-bit code unit is taken from the system once; letters outside that range go
// to the system one at a time.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/common/utf8.h"
#include "core/scan/text_case.h"

namespace tarnwick {
namespace {

constexpr char32_t kIllFormedBase = 0x110000;

bool inRange(unsigned char c, unsigned char low, unsigned char high) {
  return c >= low && c <= high;
}

// Decodes the UTF-8 sequence at text[i], advancing i. A well-formed sequence gives its code
// point; an ill-formed one gives -1 and spans its maximal well-formed beginning (at least one
// byte), the same division of bad bytes as ICU's U8_NEXT makes on other platforms.
std::int32_t nextCodePoint(std::string_view text, size_t& i) {
  const auto c = static_cast<unsigned char>(text[i++]);
  if (c < 0x80)
    return c;
  int more = 0;
  std::int32_t cp = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (inRange(c, 0xC2, 0xDF)) {
    more = 1;
    cp = c & 0x1F;
  } else if (inRange(c, 0xE0, 0xEF)) {
    more = 2;
    cp = c & 0x0F;
    low = c == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
    high = c == 0xED ? 0x9F : 0xBF;  // no surrogates
  } else if (inRange(c, 0xF0, 0xF4)) {
    more = 3;
    cp = c & 0x07;
    low = c == 0xF0 ? 0x90 : 0x80;   // no overlong forms
    high = c == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
  } else {
    return -1;
  }
  for (int k = 0; k < more; ++k) {
    if (i >= text.size() || !inRange(static_cast<unsigned char>(text[i]), low, high))
      return -1;
    cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return cp;
}

// `units` mapped by the system's invariant upper- or lower-case table; nothing when the system
// cannot map them one to one.
std::optional<std::wstring> tryMapUnits(const std::wstring& units, DWORD flag) {
  std::wstring out(units.size(), L'\0');
  const int n =
      LCMapStringEx(LOCALE_NAME_INVARIANT, flag, units.data(), static_cast<int>(units.size()),
                    out.data(), static_cast<int>(out.size()), nullptr, nullptr, 0);
  if (n != static_cast<int>(units.size()))
    return std::nullopt;
  return out;
}

std::wstring mapUnits(const std::wstring& units, DWORD flag) {
  return tryMapUnits(units, flag).value_or(units);
}

// The mapping of every 16-bit code unit (surrogates map to themselves). Asked for in blocks,
// and a block the system refuses is asked for one unit at a time, so that one unit it does not
// take cannot leave a whole range unmapped.
std::vector<char16_t> makeTable(DWORD flag) {
  std::vector<char16_t> table(0x10000);
  for (std::uint32_t u = 0; u <= 0xFFFF; ++u)
    table[u] = static_cast<char16_t>(u);
  constexpr std::uint32_t kBlock = 256;
  for (std::uint32_t first = 0; first <= 0xFFFF; first += kBlock) {
    if (first >= 0xD800 && first <= 0xDFFF)
      continue;
    std::wstring units;
    for (std::uint32_t u = std::max<std::uint32_t>(first, 1); u < first + kBlock; ++u)
      units += static_cast<wchar_t>(u);
    std::wstring mapped = units;
    if (const auto block = tryMapUnits(units, flag)) {
      mapped = *block;
    } else {
      for (size_t k = 0; k < units.size(); ++k)
        mapped[k] = mapUnits(units.substr(k, 1), flag)[0];
    }
    for (size_t k = 0; k < units.size(); ++k)
      table[static_cast<std::uint16_t>(units[k])] = static_cast<char16_t>(mapped[k]);
  }
  return table;
}

char32_t mapCodePoint(char32_t cp, DWORD flag) {
  if (cp <= 0xFFFF) {
    static const std::vector<char16_t> upper = makeTable(LCMAP_UPPERCASE);
    static const std::vector<char16_t> lower = makeTable(LCMAP_LOWERCASE);
    return (flag == LCMAP_UPPERCASE ? upper : lower)[cp];
  }
  const std::wstring pair = {static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10)),
                             static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF))};
  const std::wstring mapped = mapUnits(pair, flag);
  if (mapped[0] < 0xD800 || mapped[0] > 0xDBFF || mapped[1] < 0xDC00 || mapped[1] > 0xDFFF)
    return cp;
  return 0x10000 + ((static_cast<char32_t>(mapped[0]) - 0xD800) << 10) +
         (static_cast<char32_t>(mapped[1]) - 0xDC00);
}

std::string mapCase(std::string_view text, DWORD flag) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    const std::int32_t cp = nextCodePoint(text, i);
    if (cp < 0)
      out.append(text.substr(start, i - start));
    else
      AppendUtf8(out, mapCodePoint(static_cast<char32_t>(cp), flag));
  }
  return out;
}

}  // namespace

std::string UpperCase(std::string_view text) {
  return mapCase(text, LCMAP_UPPERCASE);
}

std::string LowerCase(std::string_view text) {
  return mapCase(text, LCMAP_LOWERCASE);
}

void AppendCaseKeys(std::string_view text, std::u32string& out) {
  for (size_t i = 0; i < text.size();) {
    const auto first = static_cast<unsigned char>(text[i]);
    const std::int32_t cp = nextCodePoint(text, i);
    if (cp < 0) {
      out.push_back(kIllFormedBase + first);
    } else if (cp < 0x80) {
      out.push_back(static_cast<char32_t>(cp >= 'a' && cp <= 'z' ? cp - ('a' - 'A') : cp));
    } else {
      const char32_t upper = mapCodePoint(static_cast<char32_t>(cp), LCMAP_UPPERCASE);
      out.push_back(mapCodePoint(upper, LCMAP_LOWERCASE) == static_cast<char32_t>(cp)
                        ? upper
                        : static_cast<char32_t>(cp));
    }
  }
}

}  // namespace tarnwick
