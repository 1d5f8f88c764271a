// The check of a finished archive before it is put in place: its central directory read back
// against what was written (each entry once, in order, with its sizes and CRC-32), then every
// entry's data read and inflated with its CRC-32 checked, entries on every processor at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/export/zip_format.h"
#include "core/platform/input_file.h"

namespace tarnwick {

struct DamagedEntry {
  std::string entryName;
  std::string problem;  // "CRC-32 does not match", "missing from the directory", ...
};

struct VerifyResult {
  bool ok = false;
  bool cancelled = false;
  std::string failure;                // the archive as a whole could not be read, when not empty
  std::vector<DamagedEntry> damaged;  // in archive order
};

struct VerifyControl {
  const std::atomic<bool>* cancel = nullptr;
  // Uncompressed bytes checked so far; called on the calling thread only, after pieces it read.
  std::function<void(std::uint64_t bytesDone)> progress;
  // Threads that read and inflate entries at once (0: one per processor). The calling thread is
  // one of them.
  unsigned threads = 0;
};

// Checks the archive in `file` against `written`, the records of the entries written, in order.
VerifyResult VerifyArchive(std::unique_ptr<platform::InputFile> file,
                           const std::vector<zipformat::EntryRecord>& written,
                           const VerifyControl& control = {});

}  // namespace tarnwick
