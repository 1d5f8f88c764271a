#include "core/export/file_copy.h"

#include <filesystem>
#include <memory>

#include "core/common/ui_hooks.h"
#include "core/export/target_check.h"
#include "core/platform/output_file.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using platform::FileError;

constexpr std::size_t kChunk = 1 << 20;

fs::path toFs(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

class Copier {
 public:
  Copier(const std::vector<CopyItem>& items, const CopyControl& control)
      : items_(items), control_(control) {
    files_ = control.files != nullptr ? control.files : &platform::SystemFiles();
  }

  CopyReport Run() {
    progress_.filesTotal = items_.size();
    TargetNeeds needs;
    for (const auto& item : items_) {
      platform::FileInfo info;
      if (files_->Examine(item.source, info) == FileError::None) {
        progress_.bytesTotal += info.size;
        if (info.size >= needs.largestFile) {
          needs.largestFile = info.size;
          needs.largestName = item.source;
        }
      }
    }
    if (!control_.targetFolder.empty()) {
      needs.bytes = progress_.bytesTotal;
      const platform::VolumeProbe& volumes =
          control_.volumes != nullptr ? *control_.volumes : platform::SystemVolumes();
      report_.failure = CheckCopyTarget(control_.targetFolder, needs, volumes);
      if (!report_.failure.empty()) {
        for (const auto& item : items_)
          notCopied(item, CopyFailure::DestinationFailed, FileError::Other, report_.failure);
        return std::move(report_);
      }
    }
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (!report_.cancelled && cancelRequested())
        report_.cancelled = true;
      if (report_.cancelled) {
        notCopied(items_[i], CopyFailure::Cancelled, FileError::None, {});
        continue;
      }
      progress_.current = items_[i].source;
      tell();
      copyOne(items_[i]);
      ++progress_.filesDone;
      tell();
    }
    return std::move(report_);
  }

 private:
  bool cancelRequested() const { return control_.cancel != nullptr && control_.cancel->load(); }

  void tell() {
    if (control_.progress)
      control_.progress(progress_);
    Pump();
  }

  void notCopied(const CopyItem& item, CopyFailure failure, FileError reason, std::string detail) {
    report_.notCopied.push_back({item, failure, reason, std::move(detail)});
  }

  // False when the file is not to be replaced (the answer is recorded).
  bool mayReplace(const CopyItem& item) {
    platform::FileInfo existing;
    if (platform::SystemFiles().Examine(item.destination, existing) != FileError::None)
      return true;
    if (existing.isFolder) {
      notCopied(item, CopyFailure::DestinationFailed, FileError::NotAFile,
                "a folder has that name");
      return false;
    }
    if (replaceAll_)
      return true;
    const OverwriteAnswer answer =
        control_.askOverwrite ? control_.askOverwrite(item.destination) : OverwriteAnswer::No;
    switch (answer) {
      case OverwriteAnswer::YesToAll:
        replaceAll_ = true;
        return true;
      case OverwriteAnswer::Yes:
        return true;
      case OverwriteAnswer::No:
        notCopied(item, CopyFailure::Declined, FileError::None, {});
        return false;
      case OverwriteAnswer::Cancel:
        break;
    }
    report_.cancelled = true;
    notCopied(item, CopyFailure::Cancelled, FileError::None, {});
    return false;
  }

  void copyOne(const CopyItem& item) {
    platform::FileInfo before;
    if (!control_.includeOnline && files_->Examine(item.source, before) == FileError::None &&
        platform::IsOnlineOnly(before)) {
      notCopied(item, CopyFailure::SourceUnreadable, FileError::OnlineOnly, {});
      return;
    }
    platform::OpenedFile in = files_->Open(item.source);
    if (!in.file) {
      notCopied(item, CopyFailure::SourceUnreadable, in.error, in.detail);
      return;
    }
    const platform::FileInfo info = in.file->Info();
    if (!mayReplace(item)) {
      progress_.bytesDone += info.size;
      return;
    }
    std::error_code ec;
    fs::create_directories(toFs(item.destination).parent_path(), ec);
    if (ec) {
      // Said as what happened: a folder that cannot be made on a read-only drive is not a file
      // that was "not found".
      const FileError why = ec == std::errc::read_only_file_system ? FileError::ReadOnlyDrive
                            : ec == std::errc::no_space_on_device  ? FileError::DiskFull
                            : ec == std::errc::permission_denied   ? FileError::AccessDenied
                                                                   : FileError::WriteFailed;
      notCopied(item, CopyFailure::DestinationFailed, why,
                "its folder could not be made: " + ec.message());
      progress_.bytesDone += info.size;
      return;
    }
    FileError err = FileError::None;
    std::string detail;
    auto out = platform::OutputFile::CreateBeside(item.destination, err, detail);
    if (!out) {
      notCopied(item, CopyFailure::DestinationFailed, err, detail);
      progress_.bytesDone += info.size;
      return;
    }
    std::string buffer;
    std::uint64_t offset = 0;
    for (;;) {
      if (cancelRequested()) {
        report_.cancelled = true;
        notCopied(item, CopyFailure::Cancelled, FileError::None, {});
        return;  // `out` removes its temporary file
      }
      buffer.resize(kChunk);
      std::size_t got = 0;
      if (const FileError e = in.file->ReadAt(offset, buffer, got); e != FileError::None) {
        notCopied(item, CopyFailure::SourceUnreadable, e, {});
        return;
      }
      if (got == 0)
        break;
      buffer.resize(got);
      if (const FileError e = out->Write(buffer); e != FileError::None) {
        notCopied(item, CopyFailure::DestinationFailed, e, {});
        return;
      }
      offset += got;
      progress_.bytesDone += got;
      tell();
    }
    platform::FileInfo now;
    if (in.file->Restat(now) != FileError::None || now.size != offset ||
        now.modifiedTime != info.modifiedTime) {
      notCopied(item, CopyFailure::SourceUnreadable, FileError::Changed, {});
      return;
    }
    out->SetModifiedTime(info.modifiedTime);
    if (info.mode != 0)
      out->SetMode(info.mode & 07777);
    if (const FileError e = out->Commit(&detail); e != FileError::None) {
      notCopied(item, CopyFailure::DestinationFailed, e, detail);
      return;
    }
    report_.copied.push_back(item);
  }

  const std::vector<CopyItem>& items_;
  const CopyControl& control_;
  const platform::FileSource* files_ = nullptr;
  CopyReport report_;
  CopyProgress progress_;
  bool replaceAll_ = false;
};

}  // namespace

CopyReport CopyFiles(const std::vector<CopyItem>& items, const CopyControl& control) {
  return Copier(items, control).Run();
}

}  // namespace tarnwick
