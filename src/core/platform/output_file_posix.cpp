#include "core/platform/output_file.h"

namespace tarnwick::platform {

// The file's cached pages were dropped by the flush, so an ordinary open reads the medium.
std::unique_ptr<InputFile> OutputFile::openReadBack(FileError& error) {
  OpenedFile opened = SystemFiles().Open(file_->TemporaryPath());
  error = opened.error;
  return std::move(opened.file);
}

}  // namespace tarnwick::platform
