// Reading the files to be archived or copied: a file opened once and read at any offset (several
// threads may read one file at once), behind an interface so that tests can make a read fail at a
// chosen point, which no file permission can do for a process running as root.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace tarnwick::platform {

// Why a file could not be opened, read or written, in the terms the user is told.
enum class FileError {
  None,
  NotFound,       // no file of that name (removed, renamed, a dangling link)
  NotAFile,       // a folder, device, pipe or other entry that is not an ordinary file
  AccessDenied,   // no permission
  InUse,          // another program holds the file open and does not share it
  ReadFailed,     // the file opened but reading it failed
  Changed,        // the file changed size while it was read
  WriteFailed,    // writing the output failed
  DiskFull,       // no space left for the output
  ReadOnlyDrive,  // the output's drive cannot be written at all
  OnlineOnly,     // kept online only (a cloud placeholder): reading it would download it
  Other,
};

// A short phrase for the error, e.g. "not found", "in use by another program".
const char* Describe(FileError error);

struct FileInfo {
  std::uint64_t size = 0;
  std::int64_t modifiedTime = 0;  // seconds since 1970-01-01 UTC
  std::uint32_t mode = 0;         // POSIX type and permission bits (st_mode); 0 on Windows
  std::uint32_t attributes = 0;   // Windows file attributes; 0 elsewhere
  bool isFolder = false;
  bool isOrdinaryFile = false;
};

// Windows attributes of a file whose content is kept online only: opening or reading it makes the
// system download it (FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS, RECALL_ON_OPEN, OFFLINE).
inline constexpr std::uint32_t kOnlineOnlyAttributes = 0x00400000 | 0x00040000 | 0x00001000;
inline bool IsOnlineOnly(const FileInfo& info) {
  return (info.attributes & kOnlineOnlyAttributes) != 0;
}

class InputFile {
 public:
  virtual ~InputFile() = default;
  // What the file was when it was opened.
  virtual const FileInfo& Info() const = 0;
  // Reads into `buffer` from `offset` until it is full or the file ends; `got` is the number of
  // bytes read (less than the buffer only at the end of the file). Safe to call from several
  // threads at once.
  virtual FileError ReadAt(std::uint64_t offset, std::span<char> buffer, std::size_t& got) = 0;
  // The file as it is now (to tell whether it changed while it was read).
  virtual FileError Restat(FileInfo& info) = 0;
};

struct OpenedFile {
  std::unique_ptr<InputFile> file;  // null on failure
  FileError error = FileError::None;
  std::string detail;  // the operating system's own words for the failure, if any
};

class FileSource {
 public:
  virtual ~FileSource() = default;
  // Opens an ordinary file for reading (links followed). A folder, pipe or device is refused
  // with NotAFile without blocking.
  virtual OpenedFile Open(const std::string& path) const = 0;
  // Looks at a path without opening it (links followed).
  virtual FileError Examine(const std::string& path, FileInfo& info) const = 0;
};

// The files of the running system.
const FileSource& SystemFiles();

}  // namespace tarnwick::platform
