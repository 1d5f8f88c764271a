#include "core/platform/input_file.h"

namespace tarnwick::platform {

const char* Describe(FileError error) {
  switch (error) {
    case FileError::None:
      return "no error";
    case FileError::NotFound:
      return "not found";
    case FileError::NotAFile:
      return "not an ordinary file";
    case FileError::AccessDenied:
      return "access denied";
    case FileError::InUse:
      return "in use by another program";
    case FileError::ReadFailed:
      return "could not be read";
    case FileError::Changed:
      return "changed while it was being read";
    case FileError::WriteFailed:
      return "could not be written";
    case FileError::DiskFull:
      return "no space left on the disk";
    case FileError::ReadOnlyDrive:
      return "the drive is read-only";
    case FileError::OnlineOnly:
      return "stored online only, not downloaded";
    case FileError::Other:
      break;
  }
  return "could not be opened";
}

}  // namespace tarnwick::platform
