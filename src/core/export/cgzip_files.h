// CGZipFiles, the archive builder: collects the full paths of the files to archive and a few
// archive options, and makes the archive in one call to the ZIP engine (RunZip). It knows nothing
// of windows or the scan; it raises ZipBuilderError for a path added twice or removed though
// absent. One builder serves one export.
//
// Typical use by the export command:
//
//   CGZipFiles zip;
//   zip.SetZipFileName(path);
//   for (each result row) zip.AddFile(folder + name);       // may throw ZipBuilderError
//   zip.SetCancelFlag(&cancel);                             // optional
//   zip.SetProgressCallback([](const ZipProgress& p) {...}); // optional
//   const std::int32_t rc = zip.MakeZipFile();              // never throws for I/O trouble
//   const ZipReport& report = zip.LastReport();             // archived, skipped (with reasons)
//
// MakeZipFile runs on the calling thread, which it also uses to print lines, report progress and
// Pump(); the compression itself runs on worker threads.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "core/export/zip_engine.h"

namespace tarnwick {

// Error numbers: the application error base 0x80040000 plus a small code.
inline constexpr std::uint32_t kZipErrorAlreadyInList = 0x800407D1;  // base + 2001
inline constexpr std::uint32_t kZipErrorNotInList = 0x800407D2;      // base + 2002

// An error raised by the archive builder: number, source ("CGZip::AddFile") and description.
class ZipBuilderError : public std::runtime_error {
 public:
  ZipBuilderError(std::uint32_t number, std::string source, std::string description)
      : std::runtime_error(description),
        number_(number),
        source_(std::move(source)),
        description_(std::move(description)) {}
  std::uint32_t Number() const { return number_; }
  // The same number as a signed 32-bit value (0x800407D1 is -2147219503).
  std::int32_t SignedNumber() const { return static_cast<std::int32_t>(number_); }
  const std::string& Source() const { return source_; }
  const std::string& Description() const { return description_; }

 private:
  std::uint32_t number_;
  std::string source_;
  std::string description_;
};

class CGZipFiles {
 public:
  CGZipFiles() = default;

  // Recurse into folders named in the list (default false).
  bool RecurseFolders() const { return recurse_; }
  void SetRecurseFolders(bool value) { recurse_ = value; }
  // The archive to write (default empty).
  const std::string& ZipFileName() const { return zipFileName_; }
  void SetZipFileName(std::string value) { zipFileName_ = std::move(value); }
  // Stored and read back only: archives are never encrypted.
  bool Encrypted() const { return encrypted_; }
  void SetEncrypted(bool value) { encrypted_ = value; }
  // Stored and read back only: hidden and system files are archived like any other.
  bool IncludeSystemFiles() const { return includeSystem_; }
  void SetIncludeSystemFiles(bool value) { includeSystem_ = value; }
  // The number of files held.
  std::int64_t ZipFileCount() const { return static_cast<std::int64_t>(files_.size()); }
  // Where entry names start (default "\": the root; names are full paths without their root).
  // Handed to the engine as given: compared with paths by the platform's rule.
  const std::string& RootDirectory() const { return rootDirectory_; }
  void SetRootDirectory(std::string value) { rootDirectory_ = std::move(value); }
  // Keep the entries of an existing archive and add or replace the listed files (default false).
  bool UpdatingZip() const { return update_; }
  void SetUpdatingZip(bool value) { update_ = value; }

  // Adds a path. Raises kZipErrorAlreadyInList ("CGZip::AddFile", "File is already in Zip List")
  // when the list holds it already; paths are the same when the platform takes them for the same
  // file (letter case ignored on Windows only). The list is then unchanged.
  void AddFile(const std::string& path);
  // Removes a path. Raises kZipErrorNotInList ("CGZip::RemoveFile", "File is not in Zip List")
  // when the list does not hold it.
  void RemoveFile(const std::string& path);
  // Makes the archive from the files held, in the order added. Returns the engine's result code
  // (kZipOk when every file is in the archive; see zip_engine.h). Any number of files.
  std::int32_t MakeZipFile();
  // Everything the engine printed during the most recent run (LastZipMessage).
  std::string GetLastMessage() const;

  // What the most recent MakeZipFile did: which files are in the archive and which are not, and
  // why.
  const ZipReport& LastReport() const { return report_; }
  // A flag the caller sets to cancel MakeZipFile (from a handler run inside Pump(), another
  // thread or a signal handler). Not owned.
  void SetCancelFlag(const std::atomic<bool>* cancel) { control_.cancel = cancel; }
  // Called on the calling thread after every file and at least every 50 ms during large ones.
  void SetProgressCallback(std::function<void(const ZipProgress&)> progress) {
    control_.progress = std::move(progress);
  }
  // Receives every line the engine prints during MakeZipFile, on the calling thread.
  void SetLineCallback(std::function<void(std::string_view)> line) {
    control_.line = std::move(line);
  }
  // Where files are read (tests inject failures here). Not owned; null means the system's files.
  void SetFileSource(const platform::FileSource* files) { control_.files = files; }
  // Compressing threads; 0 means one per processor.
  void SetThreads(unsigned threads) { control_.threads = threads; }
  // Read files kept online only, which downloads them (default false: they are left out).
  void SetIncludeOnline(bool value) { includeOnline_ = value; }
  // Read the archive back and check it before it is put in place (default true).
  void SetVerify(bool verify) { control_.verify = verify; }
  // Where the target drive's free space and file size limit come from (not owned; null, the
  // default, asks the system). Tests give a small or a FAT32 drive here.
  void SetVolumes(const platform::VolumeProbe* volumes) { control_.volumes = volumes; }
  // Write the manifest entry from this (not owned; null, the default, writes none).
  void SetManifest(const ManifestInput* manifest) { control_.manifest = manifest; }

 private:
  std::list<std::string> files_;  // in insertion order
  std::unordered_map<std::string, std::list<std::string>::iterator> byKey_;
  bool recurse_ = false;
  std::string zipFileName_;
  bool encrypted_ = false;
  bool includeSystem_ = false;
  std::string rootDirectory_ = "\\";
  bool update_ = false;
  bool includeOnline_ = false;
  ZipRunControl control_;
  ZipReport report_;
};

}  // namespace tarnwick
