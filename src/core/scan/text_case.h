// Letter case of UTF-8 text, independent of the process locale: the simple (one-to-one) case
// mappings, one code point at a time; Unicode's through ICU, and on Windows the system's own
// invariant tables, which Windows uses for its names. Bytes that are not well-formed UTF-8 (a
// file name on a POSIX system may hold any bytes) are kept as they are.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// `text` with every letter mapped to its simple upper-case (lower-case) form.
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// Appends the case keys of `text` to `out`: the values under which two names are equal when
// letter case is ignored as Windows compares names. Each character is mapped to its simple upper
// case only when that pair maps back (upper(x) = y and lower(y) = x); not case folding. So é/É,
// ÿ/Ÿ, Ё/ё and ａ/Ａ give one value, while the Kelvin sign, long s, micro sign, final sigma,
// title-case letters and the Angstrom sign keep their own (K≠k, ſ≠s, µ≠μ, ς≠σ, ǅ≠ǆ, Å≠Å). No
// multi-letter mapping: ß stays ß. Each ill-formed byte sequence becomes one value above U+10FFFF
// that depends on its first byte, so it compares equal only to the same bytes.
void AppendCaseKeys(std::string_view text, std::u32string& out);

}  // namespace tarnwick
