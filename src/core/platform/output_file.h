// Writing a file so that it appears whole or not at all: the bytes go into a temporary file in
// the target's folder, which is renamed over the target only by Commit(). Until then an existing
// file at the target is untouched; a file that is destroyed without Commit() (failure, cancel,
// exception) removes its temporary file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/platform/input_file.h"
#include "core/platform/temp_file.h"

namespace tarnwick::platform {

class OutputFile {
 public:
  // Creates the temporary file beside `target`. The result is null on failure, with `error` and
  // `detail` saying why (for instance the folder does not exist).
  static std::unique_ptr<OutputFile> CreateBeside(const std::string& target, FileError& error,
                                                  std::string& detail);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Appends at the current position.
  FileError Write(std::string_view bytes);
  // Overwrites bytes already written, without moving the current position.
  FileError WriteAt(std::uint64_t offset, std::string_view bytes);
  // Where the next Write() goes (the size written so far).
  std::uint64_t Position() const;
  // Cuts the file back to `size` bytes and continues writing there: a half-written piece is
  // taken back this way.
  FileError TruncateTo(std::uint64_t size);

  // Applied at Commit(): the modification time, and on POSIX the permission bits (by default a
  // new file gets those of the file it replaces, or the usual ones for a new file).
  void SetModifiedTime(std::int64_t unixSeconds) { file_->SetModifiedTime(unixSeconds); }
  void SetMode(std::uint32_t mode) { file_->SetMode(mode); }

  // Flushes what was written to the medium and opens the file again for reading past the
  // system's cache (POSIX: fsync, then the file's cached pages dropped; Windows: flushed, then
  // read unbuffered), so a check of the result sees what the medium holds. The file stays
  // uncommitted. Null with `error` set on failure.
  std::unique_ptr<InputFile> ReadBack(FileError& error);

  // Puts the file in place: flushes it (to the disk too when it replaces a file, so that a crash
  // cannot lose both), applies time and mode and renames it over the target. After a failure the
  // temporary file is removed and any old file at the target is unchanged.
  FileError Commit(std::string* detail = nullptr);

  const std::string& TemporaryPath() const { return file_->TemporaryPath(); }
  const std::string& TargetPath() const { return file_->TargetPath(); }

 private:
  explicit OutputFile(std::unique_ptr<TempFile> file);
  // The unbuffered reading of ReadBack(), one per platform.
  std::unique_ptr<InputFile> openReadBack(FileError& error);

  std::unique_ptr<TempFile> file_;
  bool committed_ = false;
};

}  // namespace tarnwick::platform
