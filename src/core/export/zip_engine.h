// The ZIP engine: `RunZip` makes (or updates) an archive from a list of names in one pass and
// reports through `ZipPrint` in the long-established zip tool's line form:
//
//   "  adding: NAME (deflated 42%)\n"     an entry written ("(stored 0%)" when stored)
//   "  updating: NAME (deflated 42%)\n"   an entry of the old archive replaced (update option)
//   "  zip warning: name not matched: NAME\n"
//   "  zip warning: could not open for reading: NAME\n"
//   "  zip warning: left out, REASON: NAME\n"   the file failed or changed partway
//   "zip error: ...\n"                     the run failed; nothing was written
//
// NAME is the entry name for "adding"/"updating" and the name as listed for warnings.
//
// The archive is written to a temporary file beside it and put in place only when complete: after
// a failure or a cancel any old archive at that path is exactly as it was and no partial file
// remains. Without the update option the new archive replaces an old one entirely.
//
// On a drive whose file system limits the size of a file (FAT32), an archive that could pass the
// limit is written as several complete archives ("NAME.zip", "NAME-2.zip" ...), each within the
// limit, each with its own manifest. Every part is written and checked before any is put in
// place, so a failure in any part leaves none of this run's parts behind.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/manifest.h"
#include "core/export/zip_verify.h"
#include "core/platform/input_file.h"
#include "core/platform/volume_info.h"

namespace tarnwick {

// The options record handed to the engine for one run. The program's archive builder sets only
// recurse, update and the root directory; the other switches exist so that the record is whole.
// Those marked "not supported" make RunZip fail with kZipBadOptions when set, rather than be
// ignored silently.
struct ZipOptions {
  bool JunkDirs = false;  // store files under their own name only, without folders
  bool Recurse = false;   // a folder in the list adds its folders and files, all the way down
  bool Update = false;    // keep the entries of an existing archive; add or replace the named files
  bool Freshen = false;   // like Update, but only replace entries, add none
  std::string RootDir = "\\";  // where entry names start; "\" (or "/") is the file system's root
  bool Encrypt = false;        // not supported
  bool IncludeSystem = false;  // accepted: hidden and system files are archived in any case
  bool NoDirEntries = false;   // with Recurse: add no folder entries
  bool Verbose = false;        // accepted, no effect
  bool Quiet = false;          // print no "adding"/"updating" lines (warnings still come)
  bool CrlfToLf = false;       // not supported
  bool LfToCrlf = false;       // not supported
  bool Grow = false;           // not supported
  bool ForceDosNames = false;  // not supported
  bool Move = false;           // not supported
  bool DeleteEntries = false;  // not supported
  int Level = 6;               // deflate level 1-9; 0 stores everything
  // Read files kept online only (Windows cloud placeholders), which downloads them; without it
  // they are left out as "stored online only, not downloaded".
  bool IncludeOnline = false;
};

// Result codes (the values the long-established zip tool uses for the same outcomes).
inline constexpr std::int32_t kZipOk = 0;
inline constexpr std::int32_t kZipBadArchive = 3;    // the archive to update is not readable ZIP
inline constexpr std::int32_t kZipVerifyFailed = 8;  // the archive read back was not as written
inline constexpr std::int32_t kZipCancelled = 9;
inline constexpr std::int32_t kZipReadFailed = 11;   // the archive to update could not be read
inline constexpr std::int32_t kZipNothingToDo = 12;  // no entry to write: nothing was made
inline constexpr std::int32_t kZipWriteFailed = 14;
inline constexpr std::int32_t kZipCreateFailed = 15;
inline constexpr std::int32_t kZipBadOptions = 16;
inline constexpr std::int32_t kZipSomeSkipped = 18;  // archive made, but some files left out

struct ZipArchivedFile {
  std::string path;       // the file that was read
  std::string entryName;  // its name in the archive
  std::uint64_t size = 0;
  std::uint64_t compressedSize = 0;
  std::uint32_t crc = 0;
  std::int64_t modifiedTime = 0;  // of the content read
  bool deflated = false;
  bool replaced = false;  // an old entry of that name was replaced ("updating")
  // The file's name is not text (bytes that are not UTF-8, an unpaired surrogate on Windows, a
  // control character): the entry name is its escaped form, "%" and two hex digits per such byte.
  bool escapedName = false;
  int part = 1;  // the archive that holds it, when the run wrote several (see ZipReport::parts)
};

// A file that cannot be archived on the target in any form: even alone in an archive it would pass
// the largest file the target's file system holds.
struct ZipTooLargeFile {
  std::string path;
  std::uint64_t size = 0;
};

struct ZipSkippedFile {
  std::string path;  // as listed (or as found below a listed folder)
  platform::FileError reason = platform::FileError::Other;
  std::string detail;  // further words (the system's message, or what happened), may be empty
};

// Everything the caller needs to tell the user what happened.
struct ZipReport {
  std::int32_t resultCode = kZipOk;
  bool archiveWritten = false;  // the archive at the path now holds this run's result
  bool cancelled = false;
  std::vector<ZipArchivedFile> archived;  // in archive order
  std::vector<ZipSkippedFile> skipped;    // in list order
  std::uint64_t keptEntries = 0;          // entries of the old archive kept unchanged (update)
  std::string failure;                    // why nothing was written, when it was not
  // Why the target cannot take the archive, in one line (read-only drive, too little free space,
  // a file system whose file size limit it passes): then nothing was written.
  std::string targetProblem;
  std::optional<ZipTooLargeFile> tooLarge;  // that problem is a file too large for the target
  // The largest file the target's file system holds (FAT32: 4 GiB - 1) and its name, when it has
  // such a limit. An archive that would pass it is written as several complete archives.
  std::optional<std::uint64_t> fileSizeLimit;
  std::string fileSystem;
  // The archives this run put in place, in order: the chosen path, then "NAME-2.zip",
  // "NAME-3.zip" ... when it was written in parts. Empty when nothing was written.
  std::vector<std::string> parts;
  bool verified = false;              // the archive was read back and found as written
  std::vector<DamagedEntry> damaged;  // what the read-back found wrong (then not written)
};

struct ZipProgress {
  std::uint64_t filesDone = 0;
  std::uint64_t filesTotal = 0;
  std::uint64_t bytesDone = 0;
  std::uint64_t bytesTotal = 0;
  // The archive is being read back and checked ("Verifying"); bytes are then those checked of
  // the archive's entries.
  bool verifying = false;
};

// How the caller follows and steers a run. Every callback runs on the calling thread.
struct ZipRunControl {
  // Set (from a window's handler, or a signal handler) to stop the run; read between blocks.
  const std::atomic<bool>* cancel = nullptr;
  // Called after every entry and at least every 50 ms while a large file is compressed.
  std::function<void(const ZipProgress&)> progress;
  // Where files are read; the system's files when null. Tests put failures in here.
  const platform::FileSource* files = nullptr;
  unsigned threads = 0;  // compressing threads; 0 means one per processor
  // Read the archive back from the medium and check every entry before putting it in place.
  bool verify = true;
  // Writes the manifest entry (tarnwick-manifest.txt) last in the archive when given. Not owned.
  const ManifestInput* manifest = nullptr;
  // Where the target's free space, file-size limit and read-only state come from; the system's
  // drives when null. Tests give a small, FAT32 or read-only drive here.
  const platform::VolumeProbe* volumes = nullptr;
  // Called with the temporary file's path once it is written, before it is checked (tests
  // damage it here).
  std::function<void(const std::string& temporaryPath)> afterWrite;
  // Receives every line the run prints, as ZipPrint passes it on (leading spaces removed).
  std::function<void(std::string_view line)> line;
};

// Makes the archive `archiveName` from `names` (paths of files, or with Recurse of folders).
// Empties LastZipMessage first; every line goes through ZipPrint and then to `control.line`. Never
// throws. Returns the result code; `report`, when given, receives the details.
std::int32_t RunZip(const std::string& archiveName, const std::vector<std::string>& names,
                    const ZipOptions& options, const ZipRunControl& control = {},
                    ZipReport* report = nullptr);

// The print callback: takes one printed line (the bytes of `buffer` up to the first NUL, at most
// `length` bytes and never more than 4097), removes its leading spaces, shows it through
// ShowStatus() when it begins with "adding" or "updating" (exact case; the status text without
// its final line break), appends it to LastZipMessage with no separator, then lets the front end
// run (Pump()). Returns 0 and never throws.
int ZipPrint(const char* buffer, std::uint32_t length);
int ZipPrint(std::string_view line);

}  // namespace tarnwick
