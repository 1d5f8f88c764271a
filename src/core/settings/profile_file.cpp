#include "core/settings/profile_file.h"

#include <vector>

#include "core/common/utf8.h"

namespace tarnwick::profile {
namespace {

// The text is handled as a sequence of code units: bytes for UTF-8 (or any 8-bit text), 16-bit
// units for UTF-16. Edits splice units into the original sequence, so every unit that is not part
// of the changed line stays exactly as it was, whatever the encoding or however malformed.
template <class Unit>
using Units = std::basic_string<Unit>;

template <class Unit>
bool isTrimmed(Unit c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

template <class Unit>
bool isLineEnd(Unit c) {
  return c == '\r' || c == '\n';
}

template <class Unit>
std::basic_string_view<Unit> trim(std::basic_string_view<Unit> s) {
  while (!s.empty() && isTrimmed(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && isTrimmed(s.back()))
    s.remove_suffix(1);
  return s;
}

// A line of the file: [begin, end) is its text, [end, next) its line end (a run of CR and LF).
struct Line {
  size_t begin = 0;
  size_t end = 0;
  size_t next = 0;
};

template <class Unit>
std::vector<Line> splitLines(const Units<Unit>& text, size_t start) {
  std::vector<Line> lines;
  size_t i = start;
  while (i < text.size()) {
    Line line;
    line.begin = i;
    while (i < text.size() && !isLineEnd(text[i]))
      ++i;
    line.end = i;
    while (i < text.size() && isLineEnd(text[i]))
      ++i;
    line.next = i;
    lines.push_back(line);
  }
  return lines;
}

char16_t lowerAscii(char16_t c) {
  return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

template <class Unit>
bool equalsIgnoringAsciiCase(std::basic_string_view<Unit> a, std::basic_string_view<Unit> b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(static_cast<char16_t>(a[i])) != lowerAscii(static_cast<char16_t>(b[i]))) {
      return false;
    }
  }
  return true;
}

enum class Kind { Other, Section, Key };

template <class Unit>
struct Parsed {
  Kind kind = Kind::Other;
  std::basic_string_view<Unit> name;   // section or key name
  std::basic_string_view<Unit> value;  // key value, quotes removed
  std::basic_string_view<Unit> rawValue;
};

template <class Unit>
Parsed<Unit> parseLine(const Units<Unit>& text, const Line& line) {
  std::basic_string_view<Unit> content(text.data() + line.begin, line.end - line.begin);
  // A NUL ends the line for reading.
  if (const auto nul = content.find(Unit(0)); nul != content.npos)
    content = content.substr(0, nul);
  content = trim(content);
  Parsed<Unit> p;
  if (content.empty())
    return p;
  if (content.front() == '[') {
    const auto close = content.rfind(Unit(']'));
    if (close != content.npos) {
      p.kind = Kind::Section;
      p.name = trim(content.substr(1, close - 1));
      return p;
    }
  }
  const auto eq = content.find(Unit('='));
  if (eq == content.npos)
    return p;
  p.kind = Kind::Key;
  p.name = trim(content.substr(0, eq));
  p.rawValue = trim(content.substr(eq + 1));
  p.value = p.rawValue;
  if (p.value.size() >= 2 && (p.value.front() == '"' || p.value.front() == '\'') &&
      p.value.back() == p.value.front()) {
    p.value = p.value.substr(1, p.value.size() - 2);
  }
  return p;
}

// Where a key lives: the lines of the first section of that name and the key's line in it.
struct Location {
  bool sectionFound = false;
  size_t sectionLine = 0;         // index of the header line
  size_t sectionEnd = 0;          // index one past the section's last line
  std::optional<size_t> keyLine;  // index of the first matching key line
  size_t lastNonBlank = 0;        // index of the section's last non-blank line
};

template <class Unit>
Location locate(const Units<Unit>& text, const std::vector<Line>& lines,
                std::basic_string_view<Unit> section, std::basic_string_view<Unit> key) {
  Location loc;
  for (size_t i = 0; i < lines.size(); ++i) {
    const Parsed<Unit> p = parseLine(text, lines[i]);
    if (!loc.sectionFound) {
      if (p.kind == Kind::Section && equalsIgnoringAsciiCase(p.name, section)) {
        loc.sectionFound = true;
        loc.sectionLine = i;
        loc.lastNonBlank = i;
        loc.sectionEnd = lines.size();
      }
      continue;
    }
    if (p.kind == Kind::Section) {
      loc.sectionEnd = i;
      break;
    }
    const std::basic_string_view<Unit> whole(text.data() + lines[i].begin,
                                             lines[i].end - lines[i].begin);
    if (!trim(whole).empty())
      loc.lastNonBlank = i;
    if (p.kind == Kind::Key && !loc.keyLine && equalsIgnoringAsciiCase(p.name, key)) {
      loc.keyLine = i;
    }
  }
  return loc;
}

// --- Encodings -------------------------------------------------------------------------------

enum class Encoding { Bytes, Utf8Bom, Utf16LE, Utf16BE };

Encoding detect(std::string_view raw) {
  if (raw.size() >= 3 && raw.substr(0, 3) == "\xEF\xBB\xBF")
    return Encoding::Utf8Bom;
  if (raw.size() >= 2 && raw.substr(0, 2) == "\xFF\xFE")
    return Encoding::Utf16LE;
  if (raw.size() >= 2 && raw.substr(0, 2) == "\xFE\xFF")
    return Encoding::Utf16BE;
  return Encoding::Bytes;
}

// The UTF-16 units of `raw` after its byte order mark. An odd trailing byte is kept aside so a
// rewrite can put it back.
std::u16string toUnits16(std::string_view raw, bool bigEndian, std::string& oddTail) {
  std::u16string units;
  const size_t count = (raw.size() - 2) / 2;
  units.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const auto a = static_cast<unsigned char>(raw[2 + 2 * i]);
    const auto b = static_cast<unsigned char>(raw[3 + 2 * i]);
    units.push_back(static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a)));
  }
  oddTail = std::string(raw.substr(2 + 2 * count));
  return units;
}

std::string fromUnits16(std::u16string_view units, bool bigEndian) {
  std::string raw;
  raw.reserve(units.size() * 2);
  for (char16_t u : units) {
    const char hi = static_cast<char>(u >> 8);
    const char lo = static_cast<char>(u & 0xFF);
    raw += bigEndian ? hi : lo;
    raw += bigEndian ? lo : hi;
  }
  return raw;
}

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD. Written by hand: the standard library's
// converters are deprecated and this is the only place that needs one.
std::string toUtf8(std::u16string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t u = s[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::string toUtf8(std::string_view s) {
  return std::string(s);
}

// UTF-8 to UTF-16; an invalid byte becomes U+FFFD.
std::u16string fromUtf8(std::string_view s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    char32_t cp = 0xFFFD;
    size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 6 && i + 1 < s.size()) {
      cp = (c & 0x1F) << 6 | (s[i + 1] & 0x3F);
      len = 2;
    } else if ((c >> 4) == 14 && i + 2 < s.size()) {
      cp = (c & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F);
      len = 3;
    } else if ((c >> 3) == 30 && i + 3 < s.size()) {
      cp = (c & 0x07) << 18 | (s[i + 1] & 0x3F) << 12 | (s[i + 2] & 0x3F) << 6 | (s[i + 3] & 0x3F);
      len = 4;
    }
    i += len;
    if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

template <class Unit>
Units<Unit> encodeAs(std::string_view utf8) {
  if constexpr (sizeof(Unit) == 1) {
    return Units<Unit>(utf8);
  } else {
    return fromUtf8(utf8);
  }
}

template <class Unit>
std::string read(const Units<Unit>& text, std::string_view section, std::string_view key) {
  const Units<Unit> s = encodeAs<Unit>(section);
  const Units<Unit> k = encodeAs<Unit>(key);
  const auto lines = splitLines(text, 0);
  const Location loc = locate<Unit>(text, lines, s, k);
  if (!loc.keyLine)
    return {};
  return toUtf8(parseLine(text, lines[*loc.keyLine]).value);
}

// Returns the edited text, or nothing when the key already holds the value.
template <class Unit>
std::optional<Units<Unit>> write(const Units<Unit>& text, std::string_view section,
                                 std::string_view key, std::string_view value) {
  const Units<Unit> s = encodeAs<Unit>(section);
  const Units<Unit> k = encodeAs<Unit>(key);
  const Units<Unit> v = encodeAs<Unit>(value);
  const Units<Unit> crlf = encodeAs<Unit>("\r\n");
  const auto lines = splitLines(text, 0);
  const Location loc = locate<Unit>(text, lines, s, k);
  Units<Unit> out;

  if (loc.keyLine) {
    const Line& line = lines[*loc.keyLine];
    const Parsed<Unit> p = parseLine(text, line);
    if (p.value == std::basic_string_view<Unit>(v))
      return std::nullopt;
    out.append(text, 0, line.begin);
    out.append(p.name);
    out += Unit('=');
    out.append(v);
    out.append(text, line.end);
    return out;
  }
  if (loc.sectionFound) {
    // The new line goes right after the section's last non-blank line and its own line end
    // (one CR LF, CR or LF); blank lines after it stay after the new line.
    const Line& after = lines[loc.lastNonBlank];
    size_t split = after.end;
    if (split < text.size() && text[split] == '\r')
      ++split;
    if (split < text.size() && text[split] == '\n')
      ++split;
    out.append(text, 0, split);
    if (split == after.end)
      out.append(crlf);  // the file's last line had no line end
    out.append(k);
    out += Unit('=');
    out.append(v);
    out.append(crlf);
    out.append(text, split);
    return out;
  }
  out = text;
  if (!out.empty() && !isLineEnd(out.back()))
    out.append(crlf);
  out += Unit('[');
  out.append(s);
  out += Unit(']');
  out.append(crlf);
  out.append(k);
  out += Unit('=');
  out.append(v);
  out.append(crlf);
  return out;
}

bool hasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string_view trimLeading(std::string_view s) {
  while (!s.empty() && isTrimmed(s.front()))
    s.remove_prefix(1);
  return s;
}

}  // namespace

std::string ReadValue(std::string_view content, std::string_view section, std::string_view key) {
  switch (detect(content)) {
    case Encoding::Bytes:
      return read<char>(std::string(content), section, key);
    case Encoding::Utf8Bom:
      return read<char>(std::string(content.substr(3)), section, key);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
      std::string tail;
      return read<char16_t>(toUnits16(content, detect(content) == Encoding::Utf16BE, tail), section,
                            key);
    }
  }
  return {};
}

WriteResult WriteValue(std::string_view content, std::string_view section, std::string_view key,
                       std::string_view value) {
  if (hasLineBreakOrNul(section) || hasLineBreakOrNul(key) || hasLineBreakOrNul(value) ||
      section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
      trim(key).empty()) {
    return {true, std::nullopt};
  }
  value = trimLeading(value);
  const Encoding enc = detect(content);
  switch (enc) {
    case Encoding::Bytes:
    case Encoding::Utf8Bom: {
      const size_t bom = enc == Encoding::Utf8Bom ? 3 : 0;
      auto edited = write<char>(std::string(content.substr(bom)), section, key, value);
      if (!edited)
        return {};
      return {false, std::string(content.substr(0, bom)) + *edited};
    }
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
      const bool be = enc == Encoding::Utf16BE;
      std::string tail;
      auto edited = write<char16_t>(toUnits16(content, be, tail), section, key, value);
      if (!edited)
        return {};
      return {false, std::string(content.substr(0, 2)) + fromUnits16(*edited, be) + tail};
    }
  }
  return {};
}

std::string NewFileContent(std::string_view section, std::string_view key, std::string_view value) {
  return "[" + std::string(section) + "]\r\n" + std::string(key) + "=" +
         std::string(trimLeading(value)) + "\r\n";
}

}  // namespace tarnwick::profile
