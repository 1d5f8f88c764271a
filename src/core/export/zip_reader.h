// Reads a finished archive: lists its entries from the central directory and streams one entry's
// data out, stored or inflated, with its size and CRC-32 checked against the directory.
//
// What it guarantees:
// - Open() succeeds only for a single-disk ZIP archive whose end records (Zip64 included), central
//   directory and every local header lie inside the file; Entries() lists the entries in
//   central-directory order, with sizes, offsets and times as the directory gives them (Zip64
//   fields applied).
// - ReadEntry() hands the entry's uncompressed bytes to the sink in pieces of at most 256 KiB, in
//   order, holding at most 32 MiB of buffers however large the entry is (deflated entries up to
//   16 MiB are inflated whole, larger ones streamed). Several threads may read entries at once
//   (ZipReader holds no state that a read changes). It returns
//   EntryStatus::Ok only when the data decoded without error, the count of bytes equals the
//   directory's size, the compressed data ended exactly at its directory size and the CRC-32 of
//   the bytes equals the directory's CRC. Any other status means the bytes handed out so far must
//   not be trusted (an extractor removes what it wrote).
// - Names are returned as stored (bytes); nothing is decoded or checked for safety here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/zip_directory.h"
#include "core/platform/input_file.h"

namespace tarnwick::zipformat {

enum class EntryStatus {
  Ok,
  ReadFailed,    // the archive could not be read at the entry's data
  BadData,       // the compressed data is damaged (inflate failed, or it ends early or late)
  SizeMismatch,  // the data decoded to another size than the directory says
  CrcMismatch,   // the data's CRC-32 differs from the directory's
  Unsupported,   // a compression method other than stored or deflated, or an encrypted entry
  Stopped,       // the sink asked to stop
};

// A short phrase for the status, e.g. "CRC-32 does not match".
const char* Describe(EntryStatus status);

class ZipReader {
 public:
  // Reads the directory of the archive in `file`. Null with `error` set when it is not a ZIP
  // archive this program can read.
  static std::unique_ptr<ZipReader> Open(std::unique_ptr<platform::InputFile> file,
                                         std::string& error);
  // Opens the archive at `path` through `files` (the system's files when null).
  static std::unique_ptr<ZipReader> OpenPath(const std::string& path, std::string& error,
                                             const platform::FileSource* files = nullptr);

  const std::vector<ExistingEntry>& Entries() const { return entries_; }

  // Receives the next piece of the entry's data; returns false to stop reading.
  using Sink = std::function<bool(std::string_view bytes)>;
  // Streams entry `index` to `sink` (which may be empty: only checks the entry).
  EntryStatus ReadEntry(std::size_t index, const Sink& sink) const;

  // The whole entry as one string (for small entries such as the manifest). `status` tells
  // whether it is whole and checked; the text is empty unless it is.
  std::string ReadEntryText(std::size_t index, EntryStatus& status) const;

 private:
  ZipReader(std::unique_ptr<platform::InputFile> file, std::vector<ExistingEntry> entries)
      : file_(std::move(file)), entries_(std::move(entries)) {}

  std::unique_ptr<platform::InputFile> file_;
  std::vector<ExistingEntry> entries_;
};

}  // namespace tarnwick::zipformat
