#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "core/platform/output_file.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {
namespace {

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

std::unique_ptr<InputFile> OutputFile::openReadBack(FileError& error) {
  HANDLE h = CreateFileW(LongPath(file_->TemporaryPath()).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_NO_BUFFERING, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = FileError::ReadFailed;
    return nullptr;
  }
  FileInfo info;
  info.size = file_->Position();
  info.isOrdinaryFile = true;
  return std::make_unique<UnbufferedFile>(h, info);
}

}  // namespace tarnwick::platform
