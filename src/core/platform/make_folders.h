// The folders a restored file lands in, and what is already at its target.
#pragma once

#include <string>

namespace tarnwick::platform {

// Makes `folder` and every missing folder above it. An existing folder (or a link to one) is
// used as it is. False with `detail` when a part exists and is not a folder, or cannot be made.
bool MakeFolders(const std::string& folder, std::string& detail);

// What is at `path` without following a link there: nothing (false), or an entry, with
// `isOrdinaryFile` telling whether it is an ordinary file (a link to one does not count).
bool EntryExists(const std::string& path, bool& isOrdinaryFile);

}  // namespace tarnwick::platform
