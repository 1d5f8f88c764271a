#include "core/export/zip_engine.h"

#include <cmath>
#include <memory>

#include "core/common/ui_hooks.h"
#include "core/export/archive_writer.h"
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

    FileError err = FileError::None;
    std::string detail;
    std::unique_ptr<platform::OutputFile> out =
        platform::OutputFile::CreateBeside(archive_, err, detail);
    if (!out) {
      if (!detail.empty())
        ZipPrint("zip I/O error: " + detail + "\n");
      return fail(kZipCreateFailed, "Could not create output file (" + archive_ + ")");
    }

    WriterSettings ws;
    ws.level = opt_.Level < 0 ? 0 : opt_.Level > 9 ? 9 : opt_.Level;
    ws.threads = control_.threads;
    ws.files = files_;
    ws.oldArchive = oldArchive_.get();
    ws.cancel = control_.cancel;
    ws.onEntry = [this](const EntryOutcome& o) { onEntry(o); };
    ws.onTick = [this](std::uint64_t bytesDone) {
      progress_.bytesDone = bytesDone;
      reportProgress();
      Pump();
    };
    const WriteResult written = WriteArchive(plan_.entries, *out, ws);

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
    if (report_.archived.empty() && !opt_.Update && !opt_.Freshen && !hasNewFolders()) {
      // Every file failed: an archive without them would only hide that.
      return fail(kZipNothingToDo, "Nothing to do! (" + archive_ + ")");
    }
    if (const FileError e = out->Commit(&detail); e != FileError::None) {
      ZipPrint("zip I/O error: " + (detail.empty() ? std::string(platform::Describe(e)) : detail) +
               "\n");
      return fail(kZipCreateFailed, "Could not create output file (" + archive_ + ")");
    }
    report_.archiveWritten = true;
    report_.resultCode = report_.skipped.empty() ? kZipOk : kZipSomeSkipped;
    return report_.resultCode;
  }

 private:
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

  void onEntry(const EntryOutcome& o) {
    const PlannedEntry& e = plan_.entries[o.index];
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
        report_.archived.push_back(
            {plan_.listedPaths[o.index], r.name, r.size, r.compressedSize, deflated, replaces});
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
      progress_.bytesDone = o.bytesDone;
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
