// File helpers for tests on Windows that work at any path length. The C++ library hands paths to
// Windows as they are, which limits them to 260 characters; these use the "\\?\" form of the
// wide file functions instead, built here on their own rather than with the engine's code under
// test.
#pragma once
#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// An obsolete no-op macro of the Windows headers that would rewrite SearchSink::Yield.
#undef Yield

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace tarnwick::test::win {

// `p` (absolute) in the "\\?\" form with "\" between the names.
inline std::wstring Extended(const std::filesystem::path& p) {
  std::wstring s = std::filesystem::absolute(p).wstring();
  for (auto& c : s) {
    if (c == L'/')
      c = L'\\';
  }
  if (s.rfind(L"\\\\?\\", 0) == 0)
    return s;
  if (s.rfind(L"\\\\", 0) == 0)
    return L"\\\\?\\UNC\\" + s.substr(2);
  return L"\\\\?\\" + s;
}

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct FindCloser {
  void operator()(HANDLE h) const { FindClose(h); }
};
using FindHandle = std::unique_ptr<void, FindCloser>;

inline Handle Open(const std::filesystem::path& p, DWORD access, DWORD disposition) {
  const HANDLE h = CreateFileW(Extended(p).c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  return Handle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// Creates the folder `p` and every missing folder above it.
inline void MakeFolders(const std::filesystem::path& p) {
  const std::wstring full = Extended(p);
  // Skip "\\?\C:\" (or "\\?\UNC\server\share\"), then create each level in turn.
  size_t pos = full.find(L'\\', 4);
  if (full.rfind(L"\\\\?\\UNC\\", 0) == 0)
    pos = full.find(L'\\', full.find(L'\\', 8) + 1);
  while (pos != std::wstring::npos) {
    pos = full.find(L'\\', pos + 1);
    CreateDirectoryW(full.substr(0, pos).c_str(), nullptr);
  }
}

inline bool WriteBytes(const std::filesystem::path& p, std::string_view bytes) {
  Handle h = Open(p, GENERIC_WRITE, CREATE_ALWAYS);
  DWORD written = 0;
  return h &&
         WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// Makes a file of `size` bytes that takes no disk space (all zeros); false where the file system
// cannot hold such a file.
inline bool WriteSparse(const std::filesystem::path& p, std::uint64_t size) {
  Handle h = Open(p, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  DWORD returned = 0;
  if (!h ||
      !DeviceIoControl(h.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr)) {
    return false;
  }
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  return SetFilePointerEx(h.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(h.get());
}

inline std::string ReadBytes(const std::filesystem::path& p) {
  Handle h = Open(p, GENERIC_READ, OPEN_EXISTING);
  std::string out;
  char buf[65536];
  DWORD got = 0;
  while (h && ReadFile(h.get(), buf, sizeof buf, &got, nullptr) && got > 0)
    out.append(buf, got);
  return out;
}

// Removes `p` and everything below it; read-only entries too.
inline void RemoveTree(const std::wstring& extended) {
  WIN32_FIND_DATAW entry;
  const HANDLE first = FindFirstFileW((extended + L"\\*").c_str(), &entry);
  if (first != INVALID_HANDLE_VALUE) {
    const FindHandle find(first);
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..")
        continue;
      const std::wstring child = extended + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      const bool link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      if (folder && !link)
        RemoveTree(child);
      else if (folder)
        RemoveDirectoryW(child.c_str());  // a link to a folder: remove the link only
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(find.get(), &entry));
  }
  SetFileAttributesW(extended.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(extended.c_str());
}

inline void RemoveTree(const std::filesystem::path& p) {
  RemoveTree(Extended(p));
}

}  // namespace tarnwick::test::win

#endif
