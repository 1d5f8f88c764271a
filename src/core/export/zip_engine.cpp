#include "core/export/zip_engine.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>

#include "core/common/ui_hooks.h"
#include "core/export/archive_writer.h"
#include "core/export/entry_names.h"
#include "core/export/export_paths.h"
#include "core/export/split_plan.h"
#include "core/export/target_check.h"
#include "core/export/zip_directory.h"
#include "core/export/zip_plan.h"
#include "core/export/zip_state.h"
#include "core/platform/output_file.h"

namespace tarnwick {
namespace {

using platform::FileError;

// The share saved, as the zip tool prints it: rounded, negative when the data grew.
long percentSaved(std::uint64_t size, std::uint64_t compressed) {
  if (size == 0)
    return 0;
  const double saved = (static_cast<double>(size) - static_cast<double>(compressed)) * 100.0 /
                       static_cast<double>(size);
  return std::lround(saved);
}

std::string unsupportedOption(const ZipOptions& o) {
  if (o.Encrypt)
    return "encryption";
  if (o.CrlfToLf || o.LfToCrlf)
    return "line end conversion";
  if (o.Grow)
    return "grow";
  if (o.ForceDosNames)
    return "DOS names";
  if (o.Move)
    return "move";
  if (o.DeleteEntries)
    return "delete entries";
  return {};
}

// Removes a file this run put in place; quietly, since it is done while reporting a failure.
void removeWritten(const std::string& utf8) {
  try {
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(std::u8string(utf8.begin(), utf8.end())), ec);
  } catch (const std::exception&) {
  }
}

class ZipRun {
 public:
  ZipRun(const std::string& archive, const std::vector<std::string>& names, const ZipOptions& o,
         const ZipRunControl& control, ZipReport& report)
      : archive_(archive), names_(names), opt_(o), control_(control), report_(report) {
    files_ = control.files != nullptr ? control.files : &platform::SystemFiles();
  }

  std::int32_t Go() {
    if (const std::string bad = unsupportedOption(opt_); !bad.empty()) {
      return fail(kZipBadOptions, "Invalid command arguments (" + bad + " is not supported)");
    }
    if (archive_.empty())
      return fail(kZipBadOptions, "Invalid command arguments (no archive name)");
    if (opt_.Update || opt_.Freshen) {
      if (const std::int32_t rc = readOldArchive(); rc != kZipOk)
        return rc;
    }

    PlanInput in;
    in.names = &names_;
    in.options = &opt_;
    in.archivePath = &archive_;
    in.oldEntries = oldArchive_ ? &oldEntries_ : nullptr;
    in.files = files_;
    in.print = [](std::string_view line) { ZipPrint(line); };
    in.yield = [] { Pump(); };
    plan_ = PlanArchive(in);
    report_.skipped = plan_.skipped;
    progress_.filesTotal = plan_.filesTotal;
    progress_.bytesTotal = plan_.bytesTotal;

    if (plan_.fileEntries == 0 && !hasNewFolders()) {
      return fail(kZipNothingToDo, "Nothing to do! (" + archive_ + ")");
    }

    // Nothing is written when the target cannot take the archive (or its parts).
    const platform::VolumeProbe& volumes =
        control_.volumes != nullptr ? *control_.volumes : platform::SystemVolumes();
    const std::optional<platform::VolumeInfo> volume = ArchiveVolume(archive_, volumes);
    if (volume && volume->maxFileSize) {
      report_.fileSizeLimit = volume->maxFileSize;
      report_.fileSystem = volume->fileSystem.empty() ? std::string("FAT32") : volume->fileSystem;
    }
    // An archive being updated is one file: it cannot be shared out over parts.
    const bool splittable = !opt_.Update && !opt_.Freshen;
    split_ = PlanParts(partCosts(), splittable ? report_.fileSizeLimit : std::nullopt);
    TargetNeeds needs;
    needs.bytes = split_.tooLarge ? 0 : split_.totalBound;
    if (!splittable) {
      needs.oneFile = true;
      needs.largestFile = plan_.largestSize;
      needs.largestName = plan_.largestPath;
    }
    std::string problem = CheckArchiveTarget(archive_, needs, volumes);
    if (problem.empty() && split_.tooLarge)
      problem = tooLarge(*split_.tooLarge);
    if (!problem.empty()) {
      report_.targetProblem = problem;
      return fail(kZipCreateFailed, problem);
    }

    // Every part is written to a temporary file of its own and checked; only then are they put in
    // place, so that a failure anywhere leaves none of them behind.
    std::vector<Part> parts;
    for (std::size_t k = 0; k < split_.parts.size(); ++k) {
      parts.emplace_back();
      parts.back().path = k == 0 ? archive_ : ArchivePartPath(archive_, static_cast<int>(k) + 1);
      if (const std::int32_t rc = writePart(k, parts.back()); rc != kZipOk)
        return rc;
    }
    if (report_.archived.empty() && !opt_.Update && !opt_.Freshen && !hasNewFolders()) {
      // Every file failed: an archive without them would only hide that.
      return fail(kZipNothingToDo, "Nothing to do! (" + archive_ + ")");
    }
    if (control_.afterWrite) {
      for (const auto& part : parts)
        control_.afterWrite(part.out->TemporaryPath());
    }
    if (control_.verify) {
      startVerifying(parts);
      for (auto& part : parts) {
        if (const std::int32_t rc = verify(part); rc != kZipOk)
          return rc;
      }
      report_.verified = true;
    }
    return commit(parts);
  }

 private:
  struct Part {
    std::string path;
    std::unique_ptr<platform::OutputFile> out;
    std::vector<zipformat::EntryRecord> written;  // every entry written, in archive order
  };

  // What each entry and each part's manifest can take, for sharing the entries out over parts.
  PartCosts partCosts() const {
    PartCosts costs;
    costs.entries = plan_.entryBounds;
    costs.listings.assign(plan_.entries.size(), 0);
    if (control_.manifest == nullptr)
      return costs;
    costs.manifest = true;
    for (std::size_t i = 0; i < plan_.entries.size(); ++i) {
      if (plan_.entries[i].kind == PlannedEntry::Kind::File)
        costs.listings[i] = ManifestLineBound(plan_.entries[i].record.name, plan_.listedPaths[i]);
    }
    // The header with the largest part numbers and counts it can show, and the notes known now.
    constexpr int kMost = std::numeric_limits<int>::max();
    constexpr std::uint64_t kCountDigits = 2 * 20;
    const ManifestInput& m = *control_.manifest;
    costs.laterListing = ManifestText(m.header, {kMost, kMost}, {}, {}, {}).size() + kCountDigits;
    costs.firstListing =
        ManifestText(m.header, {kMost, kMost}, {}, partNotes(0), m.unreadableFolders).size() +
        kCountDigits;
    return costs;
  }

  std::string tooLarge(std::size_t index) {
    ZipTooLargeFile file{plan_.listedPaths[index], 0};
    platform::FileInfo info;
    if (files_->Examine(file.path, info) == FileError::None)
      file.size = info.size;
    report_.tooLarge = file;
    return file.path + " cannot go on the drive in any archive: its file system (" +
           report_.fileSystem + ") holds at most " + std::to_string(*report_.fileSizeLimit) +
           " bytes in one file";
  }

  // Writes part `k` (entries split_.parts[k]) into a temporary file beside its path.
  std::int32_t writePart(std::size_t k, Part& part) {
    const PartSpan& span = split_.parts[k];
    part_ = k;
    entryBase_ = span.begin;
    skippedBase_ = k == 0 ? 0 : report_.skipped.size();
    partBytes_ = 0;
    FileError err = FileError::None;
    std::string detail;
    part.out = platform::OutputFile::CreateBeside(part.path, err, detail);
    if (!part.out) {
      if (!detail.empty())
        ZipPrint("zip I/O error: " + detail + "\n");
      return fail(kZipCreateFailed, "Could not create output file (" + part.path + ")");
    }

    WriterSettings ws;
    ws.level = opt_.Level < 0 ? 0 : opt_.Level > 9 ? 9 : opt_.Level;
    ws.threads = control_.threads;
    ws.files = files_;
    ws.oldArchive = oldArchive_.get();
    ws.cancel = control_.cancel;
    ws.onEntry = [this](const EntryOutcome& o) { onEntry(o); };
    ws.onTick = [this](std::uint64_t bytesDone) {
      partBytes_ = bytesDone;
      progress_.bytesDone = bytesBase_ + bytesDone;
      reportProgress();
      Pump();
    };
    if (control_.manifest != nullptr)
      ws.finalEntry = [this, &ws] { return manifestEntry(ws.level); };
    // A part whose files all failed is still written, with its manifest, so the set stays whole.
    ws.writeEmpty = split_.parts.size() > 1;
    written_.clear();
    WriteResult written;
    if (split_.parts.size() == 1) {
      written = WriteArchive(plan_.entries, *part.out, ws);
    } else {
      std::vector<PlannedEntry> entries(plan_.entries.begin() + span.begin,
                                        plan_.entries.begin() + span.end);
      written = WriteArchive(entries, *part.out, ws);
    }
    part.written = std::move(written_);
    bytesBase_ += partBytes_;

    switch (written.status) {
      case WriteStatus::Cancelled:
        report_.cancelled = true;
        return fail(kZipCancelled, "Interrupted (aborting)");
      case WriteStatus::OutputFailed:
        ZipPrint(std::string("zip I/O error: ") + platform::Describe(written.error) + "\n");
        return fail(kZipWriteFailed, "Output file write failure (write error on zip file)");
      case WriteStatus::NothingWritten:
        return fail(kZipNothingToDo, "Nothing to do! (" + archive_ + ")");
      case WriteStatus::Written:
        break;
    }
    // The bounds make this impossible; should a file have grown while it was read, the part is
    // not put on a drive that cannot hold it.
    if (report_.fileSizeLimit && part.out->Position() > *report_.fileSizeLimit) {
      return fail(kZipWriteFailed, "The archive " + part.path +
                                       " came out larger than the drive's file system holds in "
                                       "one file (a file grew while it was read)");
    }
    return kZipOk;
  }

  // Puts every part in place. Should one fail, those already put in place are removed again: the
  // files are all still on this computer, and an incomplete set could be mixed with older parts
  // of the same name.
  std::int32_t commit(std::vector<Part>& parts) {
    for (std::size_t k = 0; k < parts.size(); ++k) {
      std::string detail;
      if (const FileError e = parts[k].out->Commit(&detail); e != FileError::None) {
        for (std::size_t done = 0; done < k; ++done)
          removeWritten(parts[done].path);
        ZipPrint("zip I/O error: " +
                 (detail.empty() ? std::string(platform::Describe(e)) : detail) + "\n");
        std::string what = "Could not create output file (" + parts[k].path + ")";
        if (k > 0)
          what += "; the parts already written were removed again";
        return fail(kZipCreateFailed, what);
      }
    }
    for (const auto& part : parts)
      report_.parts.push_back(part.path);
    report_.archiveWritten = true;
    report_.resultCode = report_.skipped.empty() ? kZipOk : kZipSomeSkipped;
    return report_.resultCode;
  }

  // What part `k`'s manifest lists as not gathered: part 1 the files left out before writing and
  // what the scan kept out; every part the files of its own left out while it was written.
  std::vector<ManifestNote> partNotes(std::size_t k) const {
    std::vector<ManifestNote> notes;
    const std::size_t from = k == 0 ? 0 : skippedBase_;
    for (std::size_t i = from; i < report_.skipped.size(); ++i)
      notes.push_back({report_.skipped[i].path, SkippedReason(report_.skipped[i])});
    if (k == 0) {
      notes.insert(notes.end(), control_.manifest->notGathered.begin(),
                   control_.manifest->notGathered.end());
    }
    return notes;
  }

  std::optional<MemoryEntry> manifestEntry(int level) {
    std::vector<ManifestFile> files;
    for (const auto& a : report_.archived) {
      if (a.part == static_cast<int>(part_) + 1)
        files.push_back({a.size, a.modifiedTime, a.crc, a.entryName, a.path});
    }
    const ManifestPart part{static_cast<int>(part_) + 1, static_cast<int>(split_.parts.size())};
    const std::string text = ManifestText(
        control_.manifest->header, part, files, partNotes(part_),
        part_ == 0 ? control_.manifest->unreadableFolders : std::vector<ManifestNote>{});
    zipformat::EntryRecord record;
    record.name = std::string(kManifestEntryName);
    const zipformat::DosTime t = zipformat::ToDosTime(control_.manifest->header.created);
    record.dosTime = t.time;
    record.dosDate = t.date;
    record.unixTime = control_.manifest->header.created;
#ifdef _WIN32
    record.versionMadeBy = (zipformat::kHostDos << 8) | 45;
    record.externalAttributes = 0x20;  // the archive bit, as files get it
#else
    record.externalAttributes = 0100644u << 16;
#endif
    MemoryEntry entry = MakeMemoryEntry(std::move(record), text, level);
    written_.push_back(entry.record);
    return entry;
  }

  // The check of every part that follows the writing: one "Verifying" phase over all of them.
  void startVerifying(const std::vector<Part>& parts) {
    progress_.verifying = true;
    progress_.bytesDone = 0;
    progress_.bytesTotal = 0;
    for (const auto& part : parts) {
      for (const auto& r : part.written)
        progress_.bytesTotal += r.size;
    }
    reportProgress();
  }

  // Reads a written part back from the medium and checks it against what was written.
  std::int32_t verify(Part& part) {
    FileError err = FileError::None;
    std::unique_ptr<platform::InputFile> back = part.out->ReadBack(err);
    if (!back) {
      ZipPrint(std::string("zip I/O error: ") + platform::Describe(err) + "\n");
      return fail(kZipVerifyFailed,
                  "Archive test failed: it could not be read back (" + part.path + ")");
    }
    ShowStatus("Verifying " + part.path);
    VerifyControl vc;
    vc.cancel = control_.cancel;
    const std::uint64_t base = progress_.bytesDone;
    auto lastTick = std::chrono::steady_clock::now();
    vc.progress = [this, base, &lastTick](std::uint64_t done) {
      const auto now = std::chrono::steady_clock::now();
      if (now - lastTick < std::chrono::milliseconds(50))
        return;
      lastTick = now;
      progress_.bytesDone = base + done;
      reportProgress();
      Pump();
    };
    const VerifyResult v = VerifyArchive(std::move(back), part.written, vc);
    if (v.cancelled) {
      report_.cancelled = true;
      return fail(kZipCancelled, "Interrupted (aborting)");
    }
    progress_.bytesDone = base;
    for (const auto& r : part.written)
      progress_.bytesDone += r.size;
    reportProgress();
    if (!v.ok) {
      report_.damaged = v.damaged;
      for (const auto& d : v.damaged)
        ZipPrint("  zip warning: damaged in the archive, " + d.problem + ": " + d.entryName + "\n");
      const std::string why = !v.failure.empty()
                                  ? v.failure
                                  : std::to_string(v.damaged.size()) +
                                        (v.damaged.size() == 1 ? " entry is" : " entries are") +
                                        " not as written";
      return fail(kZipVerifyFailed, "Archive test failed: " + why + " (" + part.path + ")");
    }
    return kZipOk;
  }

  bool hasNewFolders() const {
    for (const auto& e : plan_.entries) {
      if (e.kind == PlannedEntry::Kind::Folder)
        return true;
    }
    return false;
  }

  std::int32_t fail(std::int32_t code, const std::string& message) {
    ZipPrint("zip error: " + message + "\n");
    report_.resultCode = code;
    report_.archiveWritten = false;
    report_.failure = message;
    return code;
  }

  std::int32_t readOldArchive() {
    platform::OpenedFile opened = files_->Open(archive_);
    if (!opened.file) {
      if (opened.error == FileError::NotFound)
        return kZipOk;  // nothing to update: a new archive
      if (!opened.detail.empty())
        ZipPrint("zip I/O error: " + opened.detail + "\n");
      return fail(kZipReadFailed, "Could not open the archive to update (" + archive_ + ")");
    }
    std::string error;
    if (!zipformat::ReadDirectory(*opened.file, oldEntries_, error)) {
      return fail(kZipBadArchive, error + " (" + archive_ + ")");
    }
    oldArchive_ = std::move(opened.file);
    return kZipOk;
  }

  void reportProgress() {
    if (!control_.progress)
      return;
    ZipProgress p = progress_;
    if (p.bytesDone > p.bytesTotal)
      p.bytesDone = p.bytesTotal;
    control_.progress(p);
  }

  void onEntry(const EntryOutcome& raw) {
    // The writer counts within the part it writes.
    EntryOutcome o = raw;
    o.index += entryBase_;
    const PlannedEntry& e = plan_.entries[o.index];
    if (o.written)
      written_.push_back(*o.record);
    else if (o.keptOld && e.fallback)
      written_.push_back(*e.fallback);
    if (e.kind == PlannedEntry::Kind::Kept) {
      if (o.written)
        ++report_.keptEntries;
      return;
    }
    const bool replaces = plan_.replaces[o.index];
    if (o.written) {
      const auto& r = *o.record;
      const bool deflated = r.method == zipformat::kDeflated;
      if (!opt_.Quiet) {
        std::string line = replaces ? "  updating: " : "  adding: ";
        line += r.name;
        line += deflated ? " (deflated " + std::to_string(percentSaved(r.size, r.compressedSize)) +
                               "%)\n"
                         : std::string(" (stored 0%)\n");
        ZipPrint(line);
      }
      if (e.kind == PlannedEntry::Kind::File) {
        report_.archived.push_back({plan_.listedPaths[o.index], r.name, r.size, r.compressedSize,
                                    r.crc, r.unixTime.value_or(0), deflated, replaces,
                                    plan_.escapedNames[o.index], static_cast<int>(part_) + 1});
      }
    } else {
      ZipSkippedFile s{plan_.listedPaths[o.index], o.error, o.detail};
      ZipPrint(SkipLine(s, o.failedWhileReading));
      if (o.keptOld)
        ++report_.keptEntries;
      report_.skipped.push_back(std::move(s));
    }
    if (e.kind == PlannedEntry::Kind::File) {
      ++progress_.filesDone;
      partBytes_ = o.bytesDone;
      progress_.bytesDone = bytesBase_ + o.bytesDone;
      reportProgress();
    }
  }

  const std::string& archive_;
  const std::vector<std::string>& names_;
  const ZipOptions& opt_;
  const ZipRunControl& control_;
  ZipReport& report_;
  const platform::FileSource* files_ = nullptr;
  std::unique_ptr<platform::InputFile> oldArchive_;
  std::vector<zipformat::ExistingEntry> oldEntries_;
  ZipPlan plan_;
  ZipProgress progress_;
  SplitPlan split_;  // the parts to write, at least one
  // The part being written: its number (from 0), its first entry, where its files' skips begin
  // and the bytes of its files handled so far; bytes of the parts before it.
  std::size_t part_ = 0;
  std::size_t entryBase_ = 0;
  std::size_t skippedBase_ = 0;
  std::uint64_t partBytes_ = 0;
  std::uint64_t bytesBase_ = 0;
  std::vector<zipformat::EntryRecord> written_;  // every entry of the part written, in order
};

}  // namespace

std::int32_t RunZip(const std::string& archiveName, const std::vector<std::string>& names,
                    const ZipOptions& options, const ZipRunControl& control, ZipReport* report) {
  LastZipMessage.clear();
  const ScopedZipLineReceiver lines(&control.line);
  ZipReport local;
  ZipReport& r = report != nullptr ? *report : local;
  r = ZipReport{};
  try {
    return ZipRun(archiveName, names, options, control, r).Go();
  } catch (const std::exception& e) {
    // Out of memory and the like: the temporary file is gone with the run's objects.
    ZipPrint(std::string("zip error: ") + e.what() + "\n");
    r.resultCode = kZipWriteFailed;
    r.archiveWritten = false;
    r.failure = e.what();
    return r.resultCode;
  } catch (...) {
    ZipPrint("zip error: unexpected failure\n");
    r.resultCode = kZipWriteFailed;
    r.archiveWritten = false;
    r.failure = "unexpected failure";
    return r.resultCode;
  }
}

}  // namespace tarnwick
