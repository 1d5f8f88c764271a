// Reads the central directory of an existing archive, so that an update can keep its entries:
// their compressed data is copied as it is, headers are written anew.
#pragma once

#include <string>
#include <vector>

#include "core/export/zip_format.h"
#include "core/platform/input_file.h"

namespace tarnwick::zipformat {

struct ExistingEntry {
  EntryRecord record;            // as the central directory describes it (offset: in the old file)
  std::uint64_t dataOffset = 0;  // where its compressed data starts in the old file
};

// Reads every entry of the archive in `file`. False with `error` set when the file is not a ZIP
// archive this program can read (damaged, split over several disks).
bool ReadDirectory(platform::InputFile& file, std::vector<ExistingEntry>& entries,
                   std::string& error);

}  // namespace tarnwick::zipformat
