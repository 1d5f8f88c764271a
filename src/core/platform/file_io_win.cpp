#include <windows.h>

#include <memory>
#include <string>

#include "core/platform/file_io.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {
namespace {

struct HandleCloser {
  void operator()(HANDLE h) const {
    if (h != INVALID_HANDLE_VALUE)
      CloseHandle(h);
  }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

UniqueHandle openHandle(const std::wstring& path, DWORD access, DWORD disposition) {
  HANDLE h = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

bool writeAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0)
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool IsOrdinaryFile(const std::string& path) {
  const DWORD attrs = GetFileAttributesW(LongPath(path).c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES)
    return false;
  constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                 FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
  return (attrs & kNotOrdinary) == 0;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  UniqueHandle h = openHandle(LongPath(path), GENERIC_READ, OPEN_EXISTING);
  if (!h)
    return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.get(), &size))
    return false;
  out.clear();
  out.reserve(static_cast<size_t>(size.QuadPart));
  char buf[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h.get(), buf, sizeof buf, &got, nullptr))
      return false;
    if (got == 0)
      return true;
    out.append(buf, got);
  }
}

bool WriteNewFile(const std::string& path, std::string_view bytes) {
  UniqueHandle h = openHandle(LongPath(path), GENERIC_WRITE, CREATE_ALWAYS);
  if (!h)
    return false;
  return writeAll(h.get(), bytes);
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  const std::wstring target = LongPath(path);
  const DWORD attrs = GetFileAttributesW(target.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES &&
      (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return false;
  }
  const std::wstring temp = target + L".tmp~";
  {
    UniqueHandle h = openHandle(temp, GENERIC_WRITE, CREATE_ALWAYS);
    if (!h)
      return false;
    if (!writeAll(h.get(), bytes) || !FlushFileBuffers(h.get())) {
      h.reset();
      DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (!MoveFileExW(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace tarnwick::platform
