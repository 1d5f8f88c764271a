#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <mutex>

#include <random>

#include "core/platform/output_file.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {

struct OutputFile::Handle {
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

// Reads a file opened with FILE_FLAG_NO_BUFFERING, which takes only offsets, sizes and buffers
// that are multiples of the sector size: each read goes through an aligned buffer of whole
// sectors (4096 bytes covers every sector size in use).
class UnbufferedFile final : public InputFile {
 public:
  UnbufferedFile(HANDLE h, FileInfo info) : h_(h), info_(info) {}
  ~UnbufferedFile() override { CloseHandle(h_); }
  UnbufferedFile(const UnbufferedFile&) = delete;
  UnbufferedFile& operator=(const UnbufferedFile&) = delete;

  const FileInfo& Info() const override { return info_; }
  FileError Restat(FileInfo& info) override {
    info = info_;
    return FileError::None;
  }
  FileError ReadAt(std::uint64_t offset, std::span<char> buffer, std::size_t& got) override {
    got = 0;
    std::lock_guard lock(m_);
    while (got < buffer.size() && offset < info_.size) {
      const std::uint64_t start = offset & ~(kAlign - 1);
      const std::size_t skip = static_cast<std::size_t>(offset - start);
      OVERLAPPED ov{};
      ov.Offset = static_cast<DWORD>(start);
      ov.OffsetHigh = static_cast<DWORD>(start >> 32);
      DWORD n = 0;
      if (!ReadFile(h_, aligned_.get(), static_cast<DWORD>(kBuffer), &n, &ov) &&
          GetLastError() != ERROR_HANDLE_EOF) {
        return FileError::ReadFailed;
      }
      if (n <= skip)
        break;
      const std::size_t take = std::min<std::size_t>(n - skip, buffer.size() - got);
      std::memcpy(buffer.data() + got, static_cast<char*>(aligned_.get()) + skip, take);
      got += take;
      offset += take;
    }
    return FileError::None;
  }

 private:
  static constexpr std::uint64_t kAlign = 4096;
  static constexpr std::size_t kBuffer = 1 << 20;
  struct Free {
    void operator()(void* p) const { VirtualFree(p, 0, MEM_RELEASE); }
  };
  HANDLE h_;
  FileInfo info_;
  std::mutex m_;
  std::unique_ptr<void, Free> aligned_{
      VirtualAlloc(nullptr, kBuffer, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)};
};

}  // namespace

std::unique_ptr<OutputFile> OutputFile::CreateBeside(const std::string& target, FileError& error,
                                                     std::string& detail) {
  error = FileError::None;
  const DWORD attrs = GetFileAttributesW(LongPath(target).c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    error = FileError::NotAFile;
    detail = "a folder has that name";
    return nullptr;
  }
  // A short name of its own in the same folder rather than the target's name with a suffix: a
  // target whose name is near the file system's limit (255 units) must still be writable.
  const std::size_t slash = target.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  if (folder.empty() && target.size() >= 2 && target[1] == ':')
    folder = target.substr(0, 2);  // "C:name": the current folder of that drive
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temp = folder + ".tw" + std::to_string(100000 + rd() % 900000);
    // Shared for reading only, so that the check after writing can read it unbuffered.
    HANDLE h = CreateFileW(LongPath(temp).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                           nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD err = GetLastError();
      if (err == ERROR_FILE_EXISTS)
        continue;
      error = err == ERROR_ACCESS_DENIED    ? FileError::AccessDenied
              : err == ERROR_PATH_NOT_FOUND ? FileError::NotFound
                                            : writeError(err);
      detail = "could not create " + temp;
      return nullptr;
    }
    auto handle = std::make_unique<Handle>();
    handle->h = h;
    std::unique_ptr<OutputFile> file(new OutputFile(target, temp, std::move(handle)));
    file->replacesFile_ = attrs != INVALID_FILE_ATTRIBUTES;
    return file;
  }
  error = FileError::WriteFailed;
  detail = "no free temporary name beside " + target;
  return nullptr;
}

OutputFile::OutputFile(std::string target, std::string tempPath, std::unique_ptr<Handle> handle)
    : target_(std::move(target)), tempPath_(std::move(tempPath)), handle_(std::move(handle)) {}

OutputFile::~OutputFile() {
  discard();
}

void OutputFile::discard() {
  if (committed_ || !handle_)
    return;
  handle_->close();
  DeleteFileW(LongPath(tempPath_).c_str());
  handle_.reset();
}

FileError OutputFile::Write(std::string_view bytes) {
  if (!handle_)
    return FileError::WriteFailed;
  DWORD err = 0;
  if (!writeAt(handle_->h, position_, bytes, err))
    return writeError(err);
  position_ += bytes.size();
  return FileError::None;
}

FileError OutputFile::WriteAt(std::uint64_t offset, std::string_view bytes) {
  if (!handle_)
    return FileError::WriteFailed;
  DWORD err = 0;
  return writeAt(handle_->h, offset, bytes, err) ? FileError::None : writeError(err);
}

std::uint64_t OutputFile::Position() const {
  return position_;
}

FileError OutputFile::TruncateTo(std::uint64_t size) {
  if (!handle_)
    return FileError::WriteFailed;
  FILE_END_OF_FILE_INFO eof{};
  eof.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFileInformationByHandle(handle_->h, FileEndOfFileInfo, &eof, sizeof eof)) {
    return FileError::WriteFailed;
  }
  position_ = size;
  return FileError::None;
}

std::unique_ptr<InputFile> OutputFile::ReadBack(FileError& error) {
  error = FileError::None;
  if (!handle_ || !FlushFileBuffers(handle_->h)) {
    error = FileError::WriteFailed;
    return nullptr;
  }
  HANDLE h =
      CreateFileW(LongPath(tempPath_).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = FileError::ReadFailed;
    return nullptr;
  }
  FileInfo info;
  info.size = position_;
  info.isOrdinaryFile = true;
  return std::make_unique<UnbufferedFile>(h, info);
}

FileError OutputFile::Commit(std::string* detail) {
  if (!handle_ || committed_)
    return FileError::WriteFailed;
  bool ok = true;
  if (modifiedTime_) {
    const FILETIME ft = fileTimeFromUnix(*modifiedTime_);
    ok = SetFileTime(handle_->h, nullptr, nullptr, &ft) != 0;
  }
  if (ok && replacesFile_)
    ok = FlushFileBuffers(handle_->h) != 0;
  if (ok)
    ok = handle_->close();
  if (ok) {
    ok = MoveFileExW(LongPath(tempPath_).c_str(), LongPath(target_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (!ok) {
    const DWORD err = GetLastError();
    if (detail != nullptr)
      *detail = "could not put the file in place (error " + std::to_string(err) + ")";
    discard();
    return writeError(err);
  }
  committed_ = true;
  handle_.reset();
  return FileError::None;
}

}  // namespace tarnwick::platform
