// How paths compare on this platform, and local civil time for archive timestamps.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::platform {

// A form of `path` under which two paths are equal exactly when the platform's file system
// takes them for the same name: upper-cased on Windows (whose file systems ignore letter case,
// Unicode letters included), unchanged elsewhere (where "a.doc" and "A.doc" are two files).
std::string PathKey(std::string_view path);

// When `path` begins with `folder` by the same rule, the rest of `path` after it; nothing
// otherwise. The rest keeps the letters as they are in `path`.
std::optional<std::string> StripFolderPrefix(std::string_view path, std::string_view folder);

struct CivilTime {
  int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
// The local date and time of an instant (seconds since 1970-01-01 UTC); nothing if the system
// cannot tell.
std::optional<CivilTime> LocalCivilTime(std::int64_t unixSeconds);

}  // namespace tarnwick::platform
