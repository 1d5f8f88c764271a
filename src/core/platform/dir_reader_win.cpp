// Folder enumeration on Windows. Each folder is opened once, for listing, on a "\\?\" path (so
// that deep folders and names with trailing dots or spaces work), and read in large batches of
// full directory information (no short names) with GetFileInformationByHandleEx: the same
// listing FindFirstFileExW gives, on a handle of our own, which also tells the folder's identity
// without opening it again (folder_identity_win.h). Kind and size come with every entry; only
// links to files need one more call for the size of their target.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0602
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#endif
#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

#include "core/platform/dir_reader.h"
#include "core/platform/folder_identity_win.h"
#include "core/platform/stored_case_win.h"
#include "core/platform/utf16_win.h"

namespace tarnwick::platform {
namespace {

struct HandleCloser {
  void operator()(HANDLE h) const { ::CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// Entries asked for at once: as much as FindFirstFileExW's large fetch.
constexpr std::size_t kBatchBytes = 64 * 1024;

std::error_code errorOf(DWORD code) {
  return {static_cast<int>(code), std::system_category()};
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

}  // namespace

struct DirReader::Impl {
  std::string path;     // as the caller gave it (the Path column), ending in the separator
  std::wstring osPath;  // "\\?\" form, ending in "\"
  UniqueHandle folder;  // open for listing; null once read to the end or detached
  std::vector<std::uint64_t> batch;              // 8-byte aligned, as the entries must be
  const FILE_FULL_DIR_INFO* nextInfo = nullptr;  // in `batch`; null when it is used up
  FolderVolume volume;
  FolderId id;
  std::error_code error;
  struct Buffered {
    std::wstring name;
    DWORD attributes;
    DirEntry entry;  // name filled in when returned
  };
  std::vector<Buffered> rest;
  std::size_t next = 0;
  bool detached = false;
  std::wstring currentWide;  // the name Next() returned last
  std::string current;
  DWORD currentAttributes = 0;

  // Reads the next batch of entries; false at the end of the folder or when reading failed.
  bool fetch(bool first) {
    if (batch.empty())
      batch.resize(kBatchBytes / sizeof(std::uint64_t));
    if (!::GetFileInformationByHandleEx(
            folder.get(), first ? FileFullDirectoryRestartInfo : FileFullDirectoryInfo,
            batch.data(), kBatchBytes)) {
      const DWORD code = ::GetLastError();
      // A drive root with nothing on it has not even dot entries: an empty folder, not an error.
      if (code != ERROR_NO_MORE_FILES && !(first && code == ERROR_FILE_NOT_FOUND))
        error = errorOf(code);
      finish();
      return false;
    }
    nextInfo = reinterpret_cast<const FILE_FULL_DIR_INFO*>(batch.data());
    return true;
  }

  void finish() {
    folder.reset();
    nextInfo = nullptr;
    batch = {};
  }

  // Fills `entry` from the next entry of the batch.
  void take(DirEntry& entry) {
    const FILE_FULL_DIR_INFO& info = *nextInfo;
    nextInfo = info.NextEntryOffset == 0
                   ? nullptr
                   : reinterpret_cast<const FILE_FULL_DIR_INFO*>(
                         reinterpret_cast<const char*>(nextInfo) + info.NextEntryOffset);
    currentWide.assign(info.FileName, info.FileNameLength / sizeof(WCHAR));
    current = Narrow(currentWide);
    currentAttributes = info.FileAttributes;
    entry = DirEntry{current, EntryKind::kFile, true, 0};
    if (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      entry.kind = EntryKind::kFolder;
      entry.sizeKnown = false;
      return;
    }
    entry.size = static_cast<std::uint64_t>(info.EndOfFile.QuadPart);
    // For a reparse point the field of extended attributes holds its tag. For a symbolic link
    // the listing gives the link's own size; the target's is asked for.
    if ((info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        info.EaSize == IO_REPARSE_TAG_SYMLINK) {
      entry.sizeKnown = false;
      entry.size = 0;
    }
  }

  // Opens the folder at `osPath` and reads its first entries. `parentVolume` is the volume of
  // the folder it was reached from, null at the root of the walk; `throughLink` says it was
  // reached through a reparse point, which may lead to another volume.
  static std::unique_ptr<Impl> open(std::string path, std::wstring osPath,
                                    const FolderVolume* parentVolume, bool throughLink,
                                    std::error_code& error) {
    HANDLE h = ::CreateFileW(osPath.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD code = ::GetLastError();
      // The folder's own name not found is a path not found, as the listing functions say.
      error = errorOf(code == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : code);
      return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->folder.reset(h);
    impl->volume = parentVolume && !throughLink ? *parentVolume : VolumeOfFolder(h, parentVolume);
    impl->id = IdentityOfFolder(h, impl->volume);
    if (!parentVolume)
      osPath = StoredCaseOf(h, std::move(osPath));
    if (!impl->fetch(true) && impl->error) {
      error = impl->error;
      return nullptr;
    }
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
  return DirReader(Impl::open(std::move(path), std::move(osPath), nullptr, false, error));
}

DirReader DirReader::OpenChild(std::string_view name, std::error_code& error) const {
  std::string path = impl_->path;
  path.append(name);
  path += '\\';
  std::wstring osPath = impl_->osPath;
  const bool isCurrent = name == impl_->current;
  osPath += isCurrent ? impl_->currentWide : Widen(name);
  osPath += L'\\';
  // A junction, mount point or link may lead anywhere: its volume is looked up again.
  const bool throughLink =
      !isCurrent || (impl_->currentAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  return DirReader(
      Impl::open(std::move(path), std::move(osPath), &impl_->volume, throughLink, error));
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
    s.currentAttributes = b.attributes;
    entry = b.entry;
    entry.name = s.current;
    return true;
  }
  if (!s.nextInfo && !(s.folder && s.fetch(false)))
    return false;
  s.take(entry);
  return true;
}

bool DirReader::Resolve(DirEntry& entry) const {
  const std::wstring osPath = impl_->osPath + impl_->currentWide;
  HANDLE h = ::CreateFileW(osPath.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return false;
  const UniqueHandle file(h);
  FILE_STANDARD_INFO info{};
  if (!::GetFileInformationByHandleEx(file.get(), FileStandardInfo, &info, sizeof info))
    return false;
  if (info.Directory) {
    entry.kind = EntryKind::kFolder;
    entry.sizeKnown = false;
  } else {
    entry.kind = EntryKind::kFile;
    entry.size = static_cast<std::uint64_t>(info.EndOfFile.QuadPart);
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
    rest.push_back({s.currentWide, s.currentAttributes, e});
  for (auto& b : rest)
    b.entry.name = {};
  s.rest = std::move(rest);
  s.next = 0;
  s.finish();
  s.detached = true;
}

}  // namespace tarnwick::platform
