// Folder enumeration on POSIX systems: openat + fdopendir + readdir. The entry kind comes from
// d_type where the file system fills it in; stat is called only for links, for entries of unknown
// kind and for the files whose size the caller asks for.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "core/platform/dir_reader.h"
#include "core/platform/unique_fd.h"

namespace tarnwick::platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

EntryKind kindOf(const dirent* d) {
#if defined(DT_UNKNOWN)
  switch (d->d_type) {
    case DT_DIR:
      return EntryKind::kFolder;
    case DT_REG:
      return EntryKind::kFile;
    case DT_LNK:
    case DT_UNKNOWN:
      return EntryKind::kUnknown;
    default:
      return EntryKind::kOther;
  }
#else
  (void)d;
  return EntryKind::kUnknown;
#endif
}

std::error_code lastError() {
  return {errno, std::system_category()};
}

constexpr int kOpenFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

}  // namespace

struct DirReader::Impl {
  std::string path;
  UniqueDir dir;  // null once detached
  FolderId id;
  std::error_code error;
  // After Detach(): the rest of the folder.
  struct Buffered {
    std::string name;
    EntryKind kind;
  };
  std::vector<Buffered> rest;
  std::size_t next = 0;
  std::string current;  // the name Next() returned last (detached mode keeps it here)

  int fd() const { return dir ? ::dirfd(dir.get()) : -1; }

  // Opens a folder given a descriptor it is relative to (or AT_FDCWD) and its path.
  static std::unique_ptr<Impl> open(int at, const char* name, std::string path,
                                    std::error_code& error) {
    UniqueFd fd(::openat(at, name, kOpenFolderFlags));
    if (!fd) {
      error = lastError();
      return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    struct stat st {};
    if (::fstat(fd.get(), &st) == 0) {
      impl->id = FolderId{static_cast<std::uint64_t>(st.st_dev), 0,
                          static_cast<std::uint64_t>(st.st_ino), true};
    }
    DIR* dir = ::fdopendir(fd.get());
    if (dir == nullptr) {
      error = lastError();
      return nullptr;
    }
    fd.release();  // now owned by the DIR stream
    impl->dir.reset(dir);
    impl->path = std::move(path);
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
  const std::string osPath = path.empty() ? std::string(".") : path;
  return DirReader(Impl::open(AT_FDCWD, osPath.c_str(), std::move(path), error));
}

DirReader DirReader::OpenChild(std::string_view name, std::error_code& error) const {
  std::string path = impl_->path;
  path.append(name);
  path += '/';
  if (impl_->dir) {
    const std::string nameZ(name);
    return DirReader(Impl::open(impl_->fd(), nameZ.c_str(), std::move(path), error));
  }
  const std::string osPath = path;
  return DirReader(Impl::open(AT_FDCWD, osPath.c_str(), std::move(path), error));
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
  if (!s.dir) {
    if (s.next >= s.rest.size())
      return false;
    Impl::Buffered& b = s.rest[s.next++];
    s.current = std::move(b.name);
    entry = DirEntry{s.current, b.kind, false, 0};
    return true;
  }
  errno = 0;
  const dirent* d = ::readdir(s.dir.get());
  if (d == nullptr) {
    if (errno != 0)
      s.error = lastError();
    return false;
  }
  entry = DirEntry{d->d_name, kindOf(d), false, 0};
  return true;
}

bool DirReader::Resolve(DirEntry& entry) const {
  struct stat st {};
  int rc;
  if (impl_->dir) {
    const std::string nameZ(entry.name);
    rc = ::fstatat(impl_->fd(), nameZ.c_str(), &st, 0);
  } else {
    const std::string path = impl_->path + std::string(entry.name);
    rc = ::stat(path.c_str(), &st);
  }
  if (rc != 0)
    return false;
  if (S_ISDIR(st.st_mode)) {
    entry.kind = EntryKind::kFolder;
  } else if (S_ISREG(st.st_mode)) {
    entry.kind = EntryKind::kFile;
    entry.size = static_cast<std::uint64_t>(st.st_size);
    entry.sizeKnown = true;
  } else {
    entry.kind = EntryKind::kOther;
  }
  return true;
}

void DirReader::Detach() {
  Impl& s = *impl_;
  if (!s.dir)
    return;
  DirEntry e;
  while (Next(e))
    s.rest.push_back({std::string(e.name), e.kind});
  s.dir.reset();
}

}  // namespace tarnwick::platform
