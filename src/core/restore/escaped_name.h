// The escaped form of names in the archive manifest: bytes that are not valid UTF-8, control
// characters and "%" itself written as "%" and two upper-case hex digits. Decoding gives back the
// exact original bytes.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::restore {

// The exact bytes of an escaped text. A "%" not followed by two hex digits is kept as it is, so a
// name written by hand (or by an older writer) still reads.
std::string DecodeEscaped(std::string_view escaped);

// The escaped form of `bytes`.
std::string Escape(std::string_view bytes);

// True when `bytes` is valid UTF-8. With `allowSurrogates`, the three-byte forms of UTF-16
// surrogates (ED A0 80 - ED BF BF) count as valid too: that is how a Windows name with an
// unpaired surrogate is carried.
bool IsValidUtf8(std::string_view bytes, bool allowSurrogates = false);

}  // namespace tarnwick::restore
