#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/platform/restore_file.h"
#include "core/platform/unique_fd.h"

namespace tarnwick::platform {

struct RestoreFile::Handle {
  UniqueFd fd;
};

namespace {

FileError errorOf(int err) {
  switch (err) {
    case ENOSPC:
    case EDQUOT:
      return FileError::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return FileError::AccessDenied;
    case ENOENT:
    case ENOTDIR:
      return FileError::NotFound;
    default:
      return FileError::WriteFailed;
  }
}

// Renames `from` to `to` unless `to` exists. renameat2 does that in one step; on file systems
// that refuse it a hard link does the same (and the temporary name is removed after it); the
// last resort, for file systems without either, looks before it renames.
int renameNoReplace(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
    return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
    return errno;
#endif
  if (::link(from, to) == 0) {
    ::unlink(from);
    return 0;
  }
  if (errno == EEXIST)
    return EEXIST;
  struct stat st {};
  if (::lstat(to, &st) == 0)
    return EEXIST;
  return ::rename(from, to) == 0 ? 0 : errno;
}

}  // namespace

std::unique_ptr<RestoreFile> RestoreFile::CreateIn(const std::string& folder, FileError& error,
                                                   std::string& detail) {
  error = FileError::None;
  std::string temp = folder;
  if (temp.empty() || temp.back() != '/')
    temp += '/';
  temp += ".twXXXXXX";
  UniqueFd fd(::mkstemp(temp.data()));
  if (!fd) {
    error = errorOf(errno);
    detail = std::strerror(errno);
    return nullptr;
  }
  // The usual permissions of a new file, as any program that makes one gets them.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  ::fchmod(fd.get(), 0666 & ~mask);
  auto handle = std::make_unique<Handle>();
  handle->fd = std::move(fd);
  return std::unique_ptr<RestoreFile>(new RestoreFile(temp, std::move(handle)));
}

RestoreFile::RestoreFile(std::string tempPath, std::unique_ptr<Handle> handle)
    : tempPath_(std::move(tempPath)), handle_(std::move(handle)) {}

RestoreFile::~RestoreFile() {
  discard();
}

void RestoreFile::discard() {
  if (placed_ || !handle_)
    return;
  handle_->fd.close();
  ::unlink(tempPath_.c_str());
  handle_.reset();
}

FileError RestoreFile::Write(std::string_view bytes) {
  if (!handle_)
    return FileError::WriteFailed;
  while (!bytes.empty()) {
    const ssize_t n = ::write(handle_->fd.get(), bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return errorOf(errno);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return FileError::None;
}

PlaceResult RestoreFile::Place(const std::string& target, std::int64_t modifiedTime, bool replace,
                               std::string& detail) {
  if (!handle_ || placed_) {
    detail = "the file was not written";
    return PlaceResult::Failed;
  }
  const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(modifiedTime), 0}};
  int err = 0;
  if (::futimens(handle_->fd.get(), times) != 0)
    err = errno;
  // Replacing a file: its old content must not be lost to a crash before the new one is on disk.
  if (err == 0 && replace && ::fsync(handle_->fd.get()) != 0)
    err = errno;
  if (err == 0 && !handle_->fd.close())
    err = errno;
  if (err == 0) {
    err = replace ? (::rename(tempPath_.c_str(), target.c_str()) == 0 ? 0 : errno)
                  : renameNoReplace(tempPath_.c_str(), target.c_str());
  }
  if (err != 0) {
    discard();
    if (err == EEXIST)
      return PlaceResult::TargetExists;
    detail = std::strerror(err);
    return PlaceResult::Failed;
  }
  placed_ = true;
  handle_.reset();
  return PlaceResult::Placed;
}

bool MakeFolders(const std::string& folder, std::string& detail) {
  std::size_t pos = 0;
  while (pos <= folder.size()) {
    std::size_t next = folder.find('/', pos + 1);
    if (next == std::string::npos)
      next = folder.size();
    const std::string part = folder.substr(0, next);
    pos = next;
    if (part.empty() || part == "/") {
      if (next == folder.size())
        break;
      continue;
    }
    struct stat st {};
    if (::stat(part.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) {
        detail = "\"" + part + "\" is not a folder";
        return false;
      }
    } else if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      detail = std::strerror(errno);
      return false;
    }
    if (next == folder.size())
      break;
  }
  return true;
}

bool EntryExists(const std::string& path, bool& isOrdinaryFile) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0)
    return false;
  isOrdinaryFile = S_ISREG(st.st_mode);
  return true;
}

}  // namespace tarnwick::platform
