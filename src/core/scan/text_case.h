// Letter case of UTF-8 text, the same on every platform and independent of the process locale:
// the simple (one-to-one) Unicode case mappings, one code point at a time. Bytes that are not
// well-formed UTF-8 (a file name on a POSIX system may hold any bytes) are kept as they are.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// `text` with every letter mapped to its simple upper-case (lower-case) form.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// Appends the case-folded code points of `text` to `out`: letters that differ only in case give
// the same value (é/É, ÿ/Ÿ, Cyrillic, Greek and fullwidth letters included; no multi-letter
// folding, so ß stays ß). Each ill-formed byte sequence becomes one value above U+10FFFF that
// depends on its first byte, so it compares equal only to the same bytes.
void AppendCaseFolded(std::string_view text, std::u32string& out);

}  // namespace tarnwick
