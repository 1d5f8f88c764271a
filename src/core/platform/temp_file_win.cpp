#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <random>

#include "core/platform/temp_file.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {

struct TempFile::Handle {
  HANDLE h = INVALID_HANDLE_VALUE;
  ~Handle() { close(); }
  bool close() {
    if (h == INVALID_HANDLE_VALUE)
      return true;
    const bool ok = CloseHandle(h) != 0;
    h = INVALID_HANDLE_VALUE;
    return ok;
  }
};

namespace {

FileError writeError(DWORD err) {
  return err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL ? FileError::DiskFull
                                                                 : FileError::WriteFailed;
}

FileError createError(DWORD err) {
  switch (err) {
    case ERROR_WRITE_PROTECT:
      return FileError::ReadOnlyDrive;
    case ERROR_ACCESS_DENIED:
      return FileError::AccessDenied;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
      return FileError::NotFound;
    case ERROR_SHARING_VIOLATION:
      return FileError::InUse;
    default:
      return writeError(err);
  }
}

FILETIME fileTimeFromUnix(std::int64_t t) {
  const std::uint64_t ticks = static_cast<std::uint64_t>(t + 11644473600LL) * 10000000ULL;
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(ticks);
  ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return ft;
}

bool writeAt(HANDLE h, std::uint64_t offset, std::string_view bytes, DWORD& err) {
  while (!bytes.empty()) {
    OVERLAPPED ov{};
    ov.Offset = static_cast<DWORD>(offset);
    ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(h, bytes.data(), chunk, &written, &ov) || written == 0) {
      err = GetLastError();
      return false;
    }
    bytes.remove_prefix(written);
    offset += written;
  }
  return true;
}

}  // namespace

std::unique_ptr<TempFile> TempFile::CreateFor(const std::string& target,
                                              const TempFileOptions& options, FileError& error,
                                              std::string& detail) {
  error = FileError::None;
  const DWORD attrs = GetFileAttributesW(LongPath(target).c_str());
  if (options.replace && attrs != INVALID_FILE_ATTRIBUTES &&
      (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = FileError::NotAFile;
    detail = "a folder has that name";
    return nullptr;
  }
  const std::size_t slash = target.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  if (folder.empty() && target.size() >= 2 && target[1] == ':')
    folder = target.substr(0, 2);  // "C:name": the current folder of that drive
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temp = folder + ".tw" + std::to_string(100000 + rd() % 900000);
    // Shared for reading only, so that a check after writing can read it unbuffered. No DELETE
    // access: a second handle for that reading would have to share deleting too; the file is
    // renamed and removed by name once this handle is closed.
    HANDLE h = CreateFileW(LongPath(temp).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                           nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD err = GetLastError();
      if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS)
        continue;
      error = createError(err);
      detail = "could not create " + temp + ": " + SystemErrorText(err);
      return nullptr;
    }
    auto handle = std::make_unique<Handle>();
    handle->h = h;
    return std::unique_ptr<TempFile>(new TempFile(target, temp, options, std::move(handle)));
  }
  error = FileError::WriteFailed;
  detail = "no free temporary name beside " + target;
  return nullptr;
}

TempFile::TempFile(std::string target, std::string tempPath, TempFileOptions options,
                   std::unique_ptr<Handle> handle)
    : target_(std::move(target)),
      tempPath_(std::move(tempPath)),
      options_(options),
      handle_(std::move(handle)) {}

TempFile::~TempFile() {
  discard();
}

void TempFile::discard() {
  if (placed_ || !handle_)
    return;
  handle_->close();
  DeleteFileW(LongPath(tempPath_).c_str());
  handle_.reset();
}

FileError TempFile::Write(std::string_view bytes) {
  if (!handle_)
    return FileError::WriteFailed;
  DWORD err = 0;
  if (!writeAt(handle_->h, position_, bytes, err))
    return writeError(err);
  position_ += bytes.size();
  return FileError::None;
}

FileError TempFile::WriteAt(std::uint64_t offset, std::string_view bytes) {
  if (!handle_)
    return FileError::WriteFailed;
  DWORD err = 0;
  return writeAt(handle_->h, offset, bytes, err) ? FileError::None : writeError(err);
}

FileError TempFile::TruncateTo(std::uint64_t size) {
  if (!handle_)
    return FileError::WriteFailed;
  FILE_END_OF_FILE_INFO eof{};
  eof.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFileInformationByHandle(handle_->h, FileEndOfFileInfo, &eof, sizeof eof))
    return FileError::WriteFailed;
  position_ = size;
  return FileError::None;
}

FileError TempFile::Flush() {
  if (!handle_ || !FlushFileBuffers(handle_->h))
    return FileError::WriteFailed;
  return FileError::None;
}

PlaceResult TempFile::Place(std::string& detail, FileError* error) {
  if (!handle_ || placed_) {
    detail = "the file was not written";
    return PlaceResult::Failed;
  }
  DWORD err = 0;
  if (modifiedTime_) {
    const FILETIME ft = fileTimeFromUnix(*modifiedTime_);
    if (!SetFileTime(handle_->h, nullptr, nullptr, &ft))
      err = GetLastError();
  }
  const bool replacesFile =
      options_.replace && GetFileAttributesW(LongPath(target_).c_str()) != INVALID_FILE_ATTRIBUTES;
  if (err == 0 && replacesFile && !FlushFileBuffers(handle_->h))
    err = GetLastError();
  if (err == 0 && !handle_->close())
    err = GetLastError();
  // MoveFileExW never follows a link at the target: without replacing it fails on any entry of
  // that name, with replacing it replaces the link itself.
  if (err == 0 &&
      !MoveFileExW(LongPath(tempPath_).c_str(), LongPath(target_).c_str(),
                   options_.replace ? MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH : 0)) {
    err = GetLastError();
  }
  if (err != 0) {
    discard();
    if (error != nullptr)
      *error = writeError(err);
    if (!options_.replace && (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS))
      return PlaceResult::TargetExists;
    detail = "could not put the file in place: " + SystemErrorText(err);
    return PlaceResult::Failed;
  }
  placed_ = true;
  handle_.reset();
  return PlaceResult::Placed;
}

}  // namespace tarnwick::platform
