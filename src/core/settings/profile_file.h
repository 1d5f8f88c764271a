// A reader and writer of profile (INI) text that follow the rules of the Windows profile-string
// functions, so a settings file behaves the same on every platform:
//  - any run of CR and LF ends a line; a NUL ends its line; blank lines are ignored;
//  - lines, names and values are trimmed of space, tab, CR, LF, VT, FF and Ctrl-Z;
//  - "[name]" starts a section (the name runs to the last "]"); "key=value" splits at the first
//    "="; there are no comments;
//  - names compare ignoring the case of A-Z; only the first section of a name is searched and the
//    first matching key in it wins;
//  - one pair of matching outer quotes (" or ') is removed from a value;
//  - a UTF-8 byte order mark is skipped; UTF-16 text with a byte order mark is decoded.
// Writing changes one line (or adds the key, or the section and the key) and keeps every other
// byte of the text as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::profile {

// The value of `key` in `section` of the profile text `content`, as UTF-8; empty when missing.
std::string ReadValue(std::string_view content, std::string_view section, std::string_view key);

// The text `content` with `key` in `section` set to `value` (leading white space of the value is
// not stored). The result has no content when the text needs no change (the key already holds
// that value) or when the request is refused: a name or value containing CR, LF or NUL would
// inject lines into the file.
struct WriteResult {
  bool refused = false;
  std::optional<std::string> content;  // the new text; nothing when unchanged or refused
};
WriteResult WriteValue(std::string_view content, std::string_view section, std::string_view key,
                       std::string_view value);

// The text of a new file that holds only the one key.
std::string NewFileContent(std::string_view section, std::string_view key, std::string_view value);

}  // namespace tarnwick::profile
