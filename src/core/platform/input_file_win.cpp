#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <ctime>

#include <memory>

#include "core/platform/input_file.h"
#include "core/platform/stored_case_win.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {
namespace {

struct HandleCloser {
  void operator()(HANDLE h) const {
    if (h != nullptr && h != INVALID_HANDLE_VALUE)
      CloseHandle(h);
  }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

FileError fromLastError(DWORD err) {
  switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return FileError::NotFound;
    case ERROR_ACCESS_DENIED:
      return FileError::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileError::InUse;
    default:
      return FileError::Other;
  }
}

std::string lastErrorText(DWORD err) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, err, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out = n != 0 ? Narrow(std::wstring_view(text, n)) : std::string();
  LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) {
    out.pop_back();
  }
  return out;
}

// FILETIME counts 100 ns steps from 1601-01-01.
std::int64_t unixFromFileTime(const FILETIME& ft) {
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10000000ULL) - 11644473600LL;
}

FileInfo infoFrom(const BY_HANDLE_FILE_INFORMATION& fi) {
  FileInfo info;
  info.attributes = fi.dwFileAttributes;
  info.isFolder = (fi.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  info.isOrdinaryFile = !info.isFolder && (fi.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
  info.size = info.isOrdinaryFile
                  ? (static_cast<std::uint64_t>(fi.nFileSizeHigh) << 32) | fi.nFileSizeLow
                  : 0;
  info.modifiedTime = unixFromFileTime(fi.ftLastWriteTime);
  return info;
}

// Attributes, size and time of an open file. GetFileInformationByHandle gives them in one call
// but asks for the volume's serial number as well, which under Wine is a round trip to its mount
// manager for every file (most of the time of an archive of many small files).
bool queryInfo(HANDLE h, FileInfo& info) {
  FILE_BASIC_INFO basic{};
  FILE_STANDARD_INFO standard{};
  if (!GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) ||
      !GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard)) {
    return false;
  }
  BY_HANDLE_FILE_INFORMATION fi{};
  fi.dwFileAttributes = basic.FileAttributes;
  const auto written = static_cast<std::uint64_t>(basic.LastWriteTime.QuadPart);
  fi.ftLastWriteTime.dwLowDateTime = static_cast<DWORD>(written);
  fi.ftLastWriteTime.dwHighDateTime = static_cast<DWORD>(written >> 32);
  const auto size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
  fi.nFileSizeLow = static_cast<DWORD>(size);
  fi.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  info = infoFrom(fi);
  return true;
}

class WinInputFile final : public InputFile {
 public:
  WinInputFile(UniqueHandle h, const FileInfo& info) : h_(std::move(h)), info_(info) {}

  const FileInfo& Info() const override { return info_; }

  FileError ReadAt(std::uint64_t offset, std::span<char> buffer, std::size_t& got) override {
    got = 0;
    while (got < buffer.size()) {
      const std::uint64_t at = offset + got;
      OVERLAPPED ov{};
      ov.Offset = static_cast<DWORD>(at);
      ov.OffsetHigh = static_cast<DWORD>(at >> 32);
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(buffer.size() - got, 1u << 30));
      DWORD n = 0;
      if (!ReadFile(h_.get(), buffer.data() + got, want, &n, &ov)) {
        if (GetLastError() == ERROR_HANDLE_EOF)
          break;
        return GetLastError() == ERROR_LOCK_VIOLATION ? FileError::InUse : FileError::ReadFailed;
      }
      if (n == 0)
        break;
      got += n;
    }
    return FileError::None;
  }

  FileError Restat(FileInfo& info) override {
    return queryInfo(h_.get(), info) ? FileError::None : FileError::ReadFailed;
  }

 private:
  UniqueHandle h_;
  FileInfo info_;
};

class WinFileSource final : public FileSource {
 public:
  OpenedFile Open(const std::string& path) const override {
    OpenedFile result;
    // Other programs may keep reading and writing; a program that shares nothing (a mail program
    // holding its store) makes this fail with a sharing violation, reported as "in use".
    HANDLE h = CreateFileW(folders_.Resolve(LongPath(path)).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD err = GetLastError();
      result.error = fromLastError(err);
      result.detail = lastErrorText(err);
      return result;
    }
    UniqueHandle handle(h);
    FileInfo info;
    if (GetFileType(h) != FILE_TYPE_DISK || !queryInfo(h, info)) {
      result.error = FileError::NotAFile;
      return result;
    }
    if (!info.isOrdinaryFile) {
      result.error = FileError::NotAFile;
      return result;
    }
    result.file = std::make_unique<WinInputFile>(std::move(handle), info);
    return result;
  }

  FileError Examine(const std::string& path, FileInfo& info) const override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(folders_.Resolve(LongPath(path)).c_str(), GetFileExInfoStandard,
                              &data)) {
      return fromLastError(GetLastError());
    }
    BY_HANDLE_FILE_INFORMATION fi{};
    fi.dwFileAttributes = data.dwFileAttributes;
    fi.ftLastWriteTime = data.ftLastWriteTime;
    fi.nFileSizeHigh = data.nFileSizeHigh;
    fi.nFileSizeLow = data.nFileSizeLow;
    info = infoFrom(fi);
    return FileError::None;
  }

 private:
  // The export opens files by the paths the scan showed, root upper-cased: opened by their
  // folders' stored names instead, which is the same file, and under Wine saves searching every
  // folder on the way for each file (a third of the time of a 93,000-entry export).
  mutable StoredCaseFolders folders_;
};

}  // namespace

const FileSource& SystemFiles() {
  static const WinFileSource source;
  return source;
}

}  // namespace tarnwick::platform
