// Folder enumeration on Windows: FindFirstFileExW with the basic information level (no short
// names) and large fetches, on "\\?\" paths so that deep folders and names with trailing dots or
// spaces work. Kind and size come with every entry; only links to files need one more call for
// the size of their target.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

#include "core/platform/dir_reader.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {
namespace {

struct FindCloser {
  void operator()(HANDLE h) const { ::FindClose(h); }
};
using UniqueFind = std::unique_ptr<void, FindCloser>;

struct HandleCloser {
  void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::error_code lastError() {
  return {static_cast<int>(::GetLastError()), std::system_category()};
}

// The path in the form the wide file functions take without the 260-character limit, ending in
// "\": made absolute first, because "\\?\" paths are taken literally (no "." or ".." handling).
std::wstring osPathOf(const std::string& path) {
  std::wstring wide = Widen(path.empty() ? std::string(".") : path);
  for (auto& c : wide) {
    if (c == L'/')
      c = L'\\';
  }
  if (wide.rfind(L"\\\\?\\", 0) != 0) {
    const DWORD need = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (need > 0) {
      std::wstring full(need, L'\0');
      const DWORD got = ::GetFullPathNameW(wide.c_str(), need, full.data(), nullptr);
      if (got > 0 && got < need) {
        full.resize(got);
        wide = std::move(full);
      }
    }
    if (wide.rfind(L"\\\\", 0) == 0) {
      wide = L"\\\\?\\UNC\\" + wide.substr(2);
    } else if (wide.size() >= 2 && wide[1] == L':') {
      wide = L"\\\\?\\" + wide;
    }
  }
  if (wide.empty() || wide.back() != L'\\')
    wide += L'\\';
  return wide;
}

// Opens a file or folder for reading its attributes only, following links.
UniqueHandle openForAttributes(const std::wstring& osPath) {
  HANDLE h = ::CreateFileW(osPath.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

FolderId folderIdOf(const std::wstring& osPath) {
  FolderId id;
  UniqueHandle h = openForAttributes(osPath);
  if (!h)
    return id;
  FILE_ID_INFO info{};
  if (::GetFileInformationByHandleEx(h.get(), FileIdInfo, &info, sizeof info)) {
    static_assert(sizeof info.FileId.Identifier == 16);
    id.volume = info.VolumeSerialNumber;
    std::memcpy(&id.high, info.FileId.Identifier, 8);
    std::memcpy(&id.low, info.FileId.Identifier + 8, 8);
    id.known = true;
    return id;
  }
  BY_HANDLE_FILE_INFORMATION basic{};
  if (::GetFileInformationByHandle(h.get(), &basic)) {
    id.volume = basic.dwVolumeSerialNumber;
    id.low = (static_cast<std::uint64_t>(basic.nFileIndexHigh) << 32) | basic.nFileIndexLow;
    id.known = true;
  }
  return id;
}

}  // namespace

struct DirReader::Impl {
  std::string path;     // as the caller gave it (the Path column), ending in the separator
  std::wstring osPath;  // "\\?\" form, ending in "\"
  UniqueFind find;      // null once detached or when the folder had no entries at all
  WIN32_FIND_DATAW data{};
  bool pending = false;  // `data` holds the first entry, not returned yet
  FolderId id;
  std::error_code error;
  struct Buffered {
    std::wstring name;
    DirEntry entry;  // name filled in when returned
  };
  std::vector<Buffered> rest;
  std::size_t next = 0;
  bool detached = false;
  std::wstring currentWide;  // the name Next() returned last
  std::string current;

  // Fills `entry` from `data`.
  void take(DirEntry& entry) {
    currentWide = data.cFileName;
    current = Narrow(currentWide);
    entry = DirEntry{current, EntryKind::kFile, true, 0};
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      entry.kind = EntryKind::kFolder;
      entry.sizeKnown = false;
      return;
    }
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    // For a symbolic link the enumeration gives the link's own size; the target's is asked for.
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        data.dwReserved0 == IO_REPARSE_TAG_SYMLINK) {
      entry.sizeKnown = false;
      entry.size = 0;
    }
  }

  static std::unique_ptr<Impl> open(std::string path, std::wstring osPath, std::error_code& error) {
    auto impl = std::make_unique<Impl>();
    const std::wstring pattern = osPath + L"*";
    HANDLE h = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &impl->data,
                                  FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE) {
      // A drive root with nothing on it has not even dot entries: an empty folder, not an error.
      if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
        error = lastError();
        return nullptr;
      }
    } else {
      impl->find.reset(h);
      impl->pending = true;
    }
    impl->id = folderIdOf(osPath);
    impl->path = std::move(path);
    impl->osPath = std::move(osPath);
    error.clear();
    return impl;
  }
};

DirReader::DirReader() = default;
DirReader::DirReader(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DirReader::DirReader(DirReader&&) noexcept = default;
DirReader& DirReader::operator=(DirReader&&) noexcept = default;
DirReader::~DirReader() = default;

DirReader DirReader::Open(std::string path, std::error_code& error) {
  std::wstring osPath = osPathOf(path);
  return DirReader(Impl::open(std::move(path), std::move(osPath), error));
}

DirReader DirReader::OpenChild(std::string_view name, std::error_code& error) const {
  std::string path = impl_->path;
  path.append(name);
  path += '\\';
  std::wstring osPath = impl_->osPath;
  osPath += (name == impl_->current) ? impl_->currentWide : Widen(name);
  osPath += L'\\';
  return DirReader(Impl::open(std::move(path), std::move(osPath), error));
}

const std::string& DirReader::Path() const {
  return impl_->path;
}

FolderId DirReader::Id() const {
  return impl_->id;
}

std::error_code DirReader::Error() const {
  return impl_->error;
}

bool DirReader::Next(DirEntry& entry) {
  Impl& s = *impl_;
  if (s.detached) {
    if (s.next >= s.rest.size())
      return false;
    Impl::Buffered& b = s.rest[s.next++];
    s.currentWide = std::move(b.name);
    s.current = Narrow(s.currentWide);
    entry = b.entry;
    entry.name = s.current;
    return true;
  }
  if (!s.find)
    return false;
  if (s.pending) {
    s.pending = false;
    s.take(entry);
    return true;
  }
  if (!::FindNextFileW(s.find.get(), &s.data)) {
    if (::GetLastError() != ERROR_NO_MORE_FILES)
      s.error = lastError();
    s.find.reset();
    return false;
  }
  s.take(entry);
  return true;
}

bool DirReader::Resolve(DirEntry& entry) const {
  const std::wstring osPath = impl_->osPath + impl_->currentWide;
  UniqueHandle h = openForAttributes(osPath);
  if (!h)
    return false;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h.get(), &info))
    return false;
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    entry.kind = EntryKind::kFolder;
    entry.sizeKnown = false;
  } else {
    entry.kind = EntryKind::kFile;
    entry.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    entry.sizeKnown = true;
  }
  return true;
}

void DirReader::Detach() {
  Impl& s = *impl_;
  if (s.detached)
    return;
  DirEntry e;
  std::vector<Impl::Buffered> rest;
  while (Next(e))
    rest.push_back({s.currentWide, e});
  for (auto& b : rest)
    b.entry.name = {};
  s.rest = std::move(rest);
  s.next = 0;
  s.find.reset();
  s.detached = true;
}

}  // namespace tarnwick::platform
