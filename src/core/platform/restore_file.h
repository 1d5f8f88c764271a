// Writing a restored file: its bytes go to a short temporary name in the target's folder (never
// longer than any name the folder can hold), and only a whole file is put in place, under its own
// name. Putting it in place never replaces a file unless asked to, even one that appeared while
// the file was written. A file destroyed before it is placed removes its temporary file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/platform/input_file.h"

namespace tarnwick::platform {

enum class PlaceResult { Placed, TargetExists, Failed };

class RestoreFile {
 public:
  // A new temporary file in `folder`. Null on failure with `error` and `detail` saying why.
  static std::unique_ptr<RestoreFile> CreateIn(const std::string& folder, FileError& error,
                                               std::string& detail);
  ~RestoreFile();
  RestoreFile(const RestoreFile&) = delete;
  RestoreFile& operator=(const RestoreFile&) = delete;

  FileError Write(std::string_view bytes);

  // Gives the file its modification time and puts it in place at `target`, a path in the same
  // folder. Without `replace` an existing entry of that name (a file, folder or link) is left
  // alone and the result is TargetExists. On failure `detail` says why and the temporary file is
  // removed.
  PlaceResult Place(const std::string& target, std::int64_t modifiedTime, bool replace,
                    std::string& detail);

  const std::string& TemporaryPath() const { return tempPath_; }

 private:
  struct Handle;
  RestoreFile(std::string tempPath, std::unique_ptr<Handle> handle);
  void discard();

  std::string tempPath_;
  std::unique_ptr<Handle> handle_;
  bool placed_ = false;
};

// Makes `folder` and every missing folder above it. An existing folder (or a link to one) is
// used as it is. False with `detail` when a part exists and is not a folder, or cannot be made.
bool MakeFolders(const std::string& folder, std::string& detail);

// What is at `path` without following a link there: nothing (false), or an entry, with
// `isOrdinaryFile` telling whether it is an ordinary file (a link to one does not count).
bool EntryExists(const std::string& path, bool& isOrdinaryFile);

}  // namespace tarnwick::platform
