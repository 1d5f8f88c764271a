// An entry whose bytes are in memory (the manifest), made ready for the writer: deflated in one
// go when that saves space, with CRC-32 and sizes filled into its record.
#pragma once

#include <string>
#include <string_view>

#include "core/export/zip_format.h"

namespace tarnwick {

struct MemoryEntry {
  zipformat::EntryRecord record;  // name, time and attributes as given; method, CRC, sizes set
  std::string data;               // the bytes that follow the local header
};

MemoryEntry MakeMemoryEntry(zipformat::EntryRecord record, std::string_view content, int level);

}  // namespace tarnwick
