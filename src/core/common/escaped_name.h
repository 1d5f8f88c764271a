// The escaped form of names and paths: what the archive's entry names and its manifest carry for a
// name that is not plain text. Every byte that is not part of a valid UTF-8 sequence, every
// control character (0x00-0x1F, 0x7F) and "%" itself become "%" and two upper-case hex digits;
// everything else stays. It is valid UTF-8 and decodes back to the exact original bytes, so a
// Latin-1 name from an old disk, or a Windows name with an unpaired surrogate (carried as WTF-8),
// can be archived readably and restored exactly.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// Valid UTF-8 (no encoded surrogates) without control characters: stored in an archive as it is.
bool IsPlainName(std::string_view name);

std::string EscapeName(std::string_view name);

// The original bytes; nullopt when `escaped` holds a "%" not followed by two hex digits.
std::optional<std::string> UnescapeName(std::string_view escaped);

}  // namespace tarnwick
