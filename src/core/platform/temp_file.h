// A file written under a short temporary name of its own (.twXXXXXX) in its target's folder and
// put in place under the target's name only when whole, so that a reader never sees half a file
// and a target whose name is near the file system's limit is still writable. A file destroyed
// before it is placed (failure, cancel, exception) removes its temporary file. The archive
// writer (OutputFile) and the restore both write through it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/input_file.h"

namespace tarnwick::platform {

enum class PlaceResult { Placed, TargetExists, Failed };

struct TempFileOptions {
  // Without it an entry already at the target (a file, folder or link, even one that appeared
  // while the file was written) is left alone and Place() says TargetExists.
  bool replace = true;
  // A link at the target: followed, the file it points to gets the new content and the link
  // stays (POSIX; Windows replaces the link); not followed, the link itself is the target.
  bool followLink = false;
};

class TempFile {
 public:
  // Creates the temporary file in the folder of `target`. Null on failure, with `error` and
  // `detail` saying why (for instance the folder does not exist).
  static std::unique_ptr<TempFile> CreateFor(const std::string& target,
                                             const TempFileOptions& options, FileError& error,
                                             std::string& detail);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  // Appends at the current position.
  FileError Write(std::string_view bytes);
  // Overwrites bytes already written, without moving the current position.
  FileError WriteAt(std::uint64_t offset, std::string_view bytes);
  std::uint64_t Position() const { return position_; }
  // Cuts the file back to `size` bytes and continues writing there.
  FileError TruncateTo(std::uint64_t size);
  // Flushes what was written to the medium (POSIX: and drops the file's cached pages, so a
  // reader afterwards sees what the medium holds).
  FileError Flush();

  // Applied by Place(): the modification time, and on POSIX the permission bits (a new file has
  // the usual ones of a new file until then).
  void SetModifiedTime(std::int64_t unixSeconds) { modifiedTime_ = unixSeconds; }
  void SetMode(std::uint32_t mode) { mode_ = mode; }

  // Puts the file in place at its target: time and mode applied, flushed to the disk first when
  // it replaces a file (so that a crash cannot lose both), renamed. On TargetExists or Failed the
  // temporary file is removed, any old file at the target is unchanged, `detail` says why and
  // `error` (when given) what kind of failure it was.
  PlaceResult Place(std::string& detail, FileError* error = nullptr);

  const std::string& TemporaryPath() const { return tempPath_; }
  // The target, with a link resolved when the options say so.
  const std::string& TargetPath() const { return target_; }

 private:
  struct Handle;
  TempFile(std::string target, std::string tempPath, TempFileOptions options,
           std::unique_ptr<Handle> handle);
  void discard();

  std::string target_;
  std::string tempPath_;
  TempFileOptions options_;
  std::unique_ptr<Handle> handle_;
  std::uint64_t position_ = 0;
  std::optional<std::int64_t> modifiedTime_;
  std::optional<std::uint32_t> mode_;
  bool placed_ = false;
};

}  // namespace tarnwick::platform
