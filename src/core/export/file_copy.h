// Copies files to new places (the export's fallback into the migration folder), creating missing
// folders, keeping each file's modification time (and on POSIX its permission bits), asking before
// an existing file is replaced. Each file is written beside its destination and renamed into
// place when whole, so a failure or a cancel never leaves a half-copied file, and a file that
// is not replaced stays as it was. Runs on the calling thread, calling Pump() between pieces.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/platform/input_file.h"
#include "core/platform/volume_info.h"

namespace tarnwick {

struct CopyItem {
  std::string source;
  std::string destination;
};

// The answers to "replace the existing file?".
enum class OverwriteAnswer { Yes, No, YesToAll, Cancel };

enum class CopyFailure {
  SourceUnreadable,   // the file to copy could not be opened or read (see `reason`)
  DestinationFailed,  // its folder could not be made, or the copy could not be written there
  Declined,           // a file was there already and the user chose not to replace it
  Cancelled,          // the copy was cancelled before this file was done
};

struct NotCopied {
  CopyItem item;
  CopyFailure failure = CopyFailure::SourceUnreadable;
  platform::FileError reason = platform::FileError::None;
  std::string detail;
};

struct CopyReport {
  std::vector<CopyItem> copied;
  std::vector<NotCopied> notCopied;  // in list order
  bool cancelled = false;
  // One cause that kept every file from being copied (the target folder cannot be made, the
  // drive is read-only or too small), in one line; each file is then in notCopied too.
  std::string failure;
  bool AllCopied() const { return notCopied.empty(); }
};

struct CopyProgress {
  std::uint64_t filesDone = 0;
  std::uint64_t filesTotal = 0;
  std::uint64_t bytesDone = 0;
  std::uint64_t bytesTotal = 0;
  std::string current;  // the file being copied
};

struct CopyControl {
  const std::atomic<bool>* cancel = nullptr;
  std::function<void(const CopyProgress&)> progress;
  // Asked with the destination path when a file is there already. Without it, existing files
  // are not replaced (as if answered No).
  std::function<OverwriteAnswer(const std::string& destination)> askOverwrite;
  const platform::FileSource* files = nullptr;  // where sources are read; the system's when null
  // When set, checked before anything is copied: it can be made, its drive is writable and has
  // room for every file, its file system takes the largest. Nothing is copied when not.
  std::string targetFolder;
  const platform::VolumeProbe* volumes = nullptr;  // the system's drives when null
  // Copy files kept online only (which downloads them); without it they are not copied.
  bool includeOnline = false;
};

CopyReport CopyFiles(const std::vector<CopyItem>& items, const CopyControl& control = {});

}  // namespace tarnwick
