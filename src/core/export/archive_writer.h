// Writes the entries of one archive into an output file, deflating on every processor: files are
// read and compressed in blocks by worker threads, and the calling thread writes the blocks in
// order, so the archive is the same whatever the number of threads. A file up to the block size
// is deflated in one piece; a larger one is split into blocks that are deflated separately and
// joined into one deflate stream (`PieceDeflater`), with the CRC-32 combined from the blocks'
// CRCs. Blocks read and not yet written are bounded in number (at most 320 MiB of buffers), so
// memory does not grow with the sizes of the files or the number of processors.
//
// Each entry's local header is written before its data and rewritten in place once CRC and sizes
// are known, so no data descriptors are needed. A file that cannot be read, or that fails or
// changes partway, is cut back out of the output: no entry is ever left damaged.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/export/memory_entry.h"
#include "core/export/zip_format.h"
#include "core/platform/input_file.h"
#include "core/platform/output_file.h"

namespace tarnwick {

struct PlannedEntry {
  enum class Kind {
    File,    // a file to read and compress
    Folder,  // a folder entry (name ends in "/"), no data
    Kept,    // an entry of the old archive, copied as it is
  };
  Kind kind = Kind::File;
  std::string path;  // File: where to read it
  // Name, time and attributes filled in; for Kept everything, with dataOffset in the old archive.
  zipformat::EntryRecord record;
  std::uint64_t keptDataOffset = 0;
  bool storeOnly = false;  // File: already compressed, store without trying
  // File replacing an entry of the old archive: that entry, written instead when the file
  // cannot be read, so that a failed update never loses what the archive held.
  std::optional<zipformat::EntryRecord> fallback;
  std::uint64_t fallbackDataOffset = 0;
};

// What became of one entry, reported on the calling thread as soon as it is settled.
struct EntryOutcome {
  std::size_t index = 0;  // into the planned entries
  bool written = false;
  platform::FileError error = platform::FileError::None;  // why it was left out
  std::string detail;
  bool failedWhileReading = false;  // the file opened but failed or changed partway
  bool keptOld = false;             // left out, but the old entry it was to replace was kept
  const zipformat::EntryRecord* record = nullptr;  // when written: sizes, method
  std::uint64_t bytesDone = 0;  // uncompressed bytes of File entries handled so far
};

struct WriterSettings {
  int level = 6;         // deflate level as zip's 1-9 (`LibdeflateLevel`), 0 stores everything
  unsigned threads = 0;  // 0: one per processor
  // Files up to this size are deflated in one piece; larger ones in pieces of this size, each
  // starting without the 32 KiB that precede it (8 MiB: the archive grows by under 0.05%, and
  // most documents need no joining).
  std::size_t blockSize = 8 << 20;
  const platform::FileSource* files = nullptr;  // where File entries are read
  platform::InputFile* oldArchive = nullptr;    // where Kept entries are read
  const std::atomic<bool>* cancel = nullptr;
  // Called on the calling thread after each entry is settled.
  std::function<void(const EntryOutcome&)> onEntry;
  // Called on the calling thread at least every 50 ms while the run waits, and after each block
  // written, with the uncompressed bytes of File entries handled so far.
  std::function<void(std::uint64_t bytesDone)> onTick;
  // Asked once every planned entry is settled (onEntry has seen them all) and at least one was
  // written (or `writeEmpty` is set): an entry made from memory to write last, such as the
  // manifest, which needs the other entries' CRCs. Nothing when it returns nothing.
  std::function<std::optional<MemoryEntry>()> finalEntry;
  // Finish the archive (final entry, directory, end records) even when no planned entry could be
  // written: one part of several is still a whole archive, so that the set has every part.
  bool writeEmpty = false;
};

enum class WriteStatus { Written, NothingWritten, Cancelled, OutputFailed };

struct WriteResult {
  WriteStatus status = WriteStatus::NothingWritten;
  std::size_t entriesWritten = 0;
  platform::FileError error = platform::FileError::None;  // OutputFailed: why
};

// Writes the entries, then the central directory, into `out` (which stays uncommitted: the
// caller commits or drops it).
WriteResult WriteArchive(std::vector<PlannedEntry>& entries, platform::OutputFile& out,
                         const WriterSettings& settings);

}  // namespace tarnwick
