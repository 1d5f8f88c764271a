#include "core/platform/output_file.h"

namespace tarnwick::platform {

OutputFile::OutputFile(std::unique_ptr<TempFile> file) : file_(std::move(file)) {}

OutputFile::~OutputFile() = default;

std::unique_ptr<OutputFile> OutputFile::CreateBeside(const std::string& target, FileError& error,
                                                     std::string& detail) {
  // A link at the target is followed, so its target gets the new content and the link stays.
  auto file = TempFile::CreateFor(target, {.replace = true, .followLink = true}, error, detail);
  if (!file)
    return nullptr;
  std::unique_ptr<OutputFile> out(new OutputFile(std::move(file)));
  // The permissions of the file it replaces (POSIX), kept unless the caller sets others.
  FileInfo info;
  if (SystemFiles().Examine(out->TargetPath(), info) == FileError::None && info.isOrdinaryFile &&
      info.mode != 0)
    out->SetMode(info.mode);
  return out;
}

FileError OutputFile::Write(std::string_view bytes) {
  return committed_ ? FileError::WriteFailed : file_->Write(bytes);
}

FileError OutputFile::WriteAt(std::uint64_t offset, std::string_view bytes) {
  return committed_ ? FileError::WriteFailed : file_->WriteAt(offset, bytes);
}

std::uint64_t OutputFile::Position() const {
  return file_->Position();
}

FileError OutputFile::TruncateTo(std::uint64_t size) {
  return committed_ ? FileError::WriteFailed : file_->TruncateTo(size);
}

std::unique_ptr<InputFile> OutputFile::ReadBack(FileError& error) {
  error = committed_ ? FileError::WriteFailed : file_->Flush();
  if (error != FileError::None)
    return nullptr;
  return openReadBack(error);
}

FileError OutputFile::Commit(std::string* detail) {
  if (committed_)
    return FileError::WriteFailed;
  std::string why;
  FileError error = FileError::None;
  if (file_->Place(why, &error) != PlaceResult::Placed) {
    if (detail != nullptr)
      *detail = why;
    return error == FileError::None ? FileError::WriteFailed : error;
  }
  committed_ = true;
  return FileError::None;
}

}  // namespace tarnwick::platform
