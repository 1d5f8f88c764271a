#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <random>

#include "core/platform/restore_file.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {

struct RestoreFile::Handle {
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

FileError errorOf(DWORD err) {
  switch (err) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return FileError::DiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return FileError::AccessDenied;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
      return FileError::NotFound;
    case ERROR_SHARING_VIOLATION:
      return FileError::InUse;
    default:
      return FileError::WriteFailed;
  }
}

std::string systemText(DWORD err) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, err, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = n != 0 && buffer != nullptr ? Narrow(std::wstring_view(buffer, n))
                                                 : "error " + std::to_string(err);
  if (buffer != nullptr)
    LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
    text.pop_back();
  return text;
}

FILETIME fileTimeFromUnix(std::int64_t t) {
  const std::uint64_t ticks = static_cast<std::uint64_t>(t + 11644473600LL) * 10000000ULL;
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(ticks);
  ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return ft;
}

}  // namespace

std::unique_ptr<RestoreFile> RestoreFile::CreateIn(const std::string& folder, FileError& error,
                                                   std::string& detail) {
  error = FileError::None;
  std::random_device rd;
  std::string base = folder;
  if (base.empty() || (base.back() != '\\' && base.back() != '/'))
    base += '\\';
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temp = base + ".tw" + std::to_string(rd() % 1000000);
    HANDLE h = CreateFileW(LongPath(temp).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      auto handle = std::make_unique<Handle>();
      handle->h = h;
      return std::unique_ptr<RestoreFile>(new RestoreFile(temp, std::move(handle)));
    }
    const DWORD err = GetLastError();
    if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) {
      error = errorOf(err);
      detail = systemText(err);
      return nullptr;
    }
  }
  error = FileError::WriteFailed;
  detail = "no free temporary name";
  return nullptr;
}

RestoreFile::RestoreFile(std::string tempPath, std::unique_ptr<Handle> handle)
    : tempPath_(std::move(tempPath)), handle_(std::move(handle)) {}

RestoreFile::~RestoreFile() {
  discard();
}

void RestoreFile::discard() {
  if (placed_ || !handle_)
    return;
  handle_->close();
  DeleteFileW(LongPath(tempPath_).c_str());
  handle_.reset();
}

FileError RestoreFile::Write(std::string_view bytes) {
  if (!handle_)
    return FileError::WriteFailed;
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(handle_->h, bytes.data(), chunk, &written, nullptr) || written == 0)
      return errorOf(GetLastError());
    bytes.remove_prefix(written);
  }
  return FileError::None;
}

PlaceResult RestoreFile::Place(const std::string& target, std::int64_t modifiedTime, bool replace,
                               std::string& detail) {
  if (!handle_ || placed_) {
    detail = "the file was not written";
    return PlaceResult::Failed;
  }
  const FILETIME ft = fileTimeFromUnix(modifiedTime);
  DWORD err = 0;
  if (!SetFileTime(handle_->h, nullptr, nullptr, &ft))
    err = GetLastError();
  if (err == 0 && replace && !FlushFileBuffers(handle_->h))
    err = GetLastError();
  if (err == 0 && !handle_->close())
    err = GetLastError();
  if (err == 0 && !MoveFileExW(LongPath(tempPath_).c_str(), LongPath(target).c_str(),
                               replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
    err = GetLastError();
  }
  if (err != 0) {
    discard();
    if (err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS)
      return PlaceResult::TargetExists;
    detail = systemText(err);
    return PlaceResult::Failed;
  }
  placed_ = true;
  handle_.reset();
  return PlaceResult::Placed;
}

bool MakeFolders(const std::string& folder, std::string& detail) {
  // Every prefix that ends before a separator, then the whole path; roots ("C:", "\\server")
  // are not made.
  std::size_t pos = 0;
  for (;;) {
    const std::size_t next = folder.find_first_of("\\/", pos);
    const std::string part = folder.substr(0, next);
    pos = next == std::string::npos ? folder.size() : next + 1;
    const bool isRoot =
        part.empty() || (part.size() == 2 && part[1] == ':') ||
        part.find_first_not_of("\\/") == std::string::npos ||
        (part.size() >= 2 && (part[0] == '\\' || part[0] == '/') &&
         std::count_if(part.begin(), part.end(), [](char c) { return c == '\\' || c == '/'; }) < 4);
    if (!isRoot) {
      const std::wstring wide = LongPath(part);
      const DWORD attrs = GetFileAttributesW(wide.c_str());
      if (attrs != INVALID_FILE_ATTRIBUTES) {
        if ((attrs & FILE_ATTRIBUTE_DIRECTORY) == 0) {
          detail = "\"" + part + "\" is not a folder";
          return false;
        }
      } else if (!CreateDirectoryW(wide.c_str(), nullptr) &&
                 GetLastError() != ERROR_ALREADY_EXISTS) {
        detail = systemText(GetLastError());
        return false;
      }
    }
    if (next == std::string::npos || pos >= folder.size())
      return true;
  }
}

bool EntryExists(const std::string& path, bool& isOrdinaryFile) {
  const DWORD attrs = GetFileAttributesW(LongPath(path).c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES)
    return false;
  isOrdinaryFile =
      (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) ==
      0;
  return true;
}

}  // namespace tarnwick::platform
