#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/platform/temp_file.h"
#include "core/platform/unique_fd.h"

namespace tarnwick::platform {

struct TempFile::Handle {
  UniqueFd fd;
  // End of the part already handed to the disk by startWriteBack().
  std::uint64_t writeBackStart = 0;
};

namespace {

FileError writeError(int err) {
  return err == ENOSPC || err == EDQUOT ? FileError::DiskFull : FileError::WriteFailed;
}

FileError createError(int err) {
  switch (err) {
    case ENOSPC:
    case EDQUOT:
      return FileError::DiskFull;
    case EROFS:
      return FileError::ReadOnlyDrive;
    case EACCES:
    case EPERM:
      return FileError::AccessDenied;
    case ENOENT:
    case ENOTDIR:
      return FileError::NotFound;
    default:
      return FileError::WriteFailed;
  }
}

// Appended data is handed to the disk in pieces of this size while the file is still being
// written, so that Flush() (before the archive's read-back) finds little left to write and the
// disk is busy while the processors deflate. It only starts the writing and waits for nothing; a
// failure is harmless, as Flush() writes whatever is left.
constexpr std::uint64_t kWriteBackPiece = 16u << 20;

void startWriteBack(int fd, std::uint64_t& start, std::uint64_t end) {
  if (end - start < kWriteBackPiece)
    return;
  ::sync_file_range(fd, static_cast<off_t>(start), static_cast<off_t>(end - start),
                    SYNC_FILE_RANGE_WRITE);
  start = end;
}

mode_t currentUmask() {
  // The only way to read the mask is to set it; put it straight back.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

std::string resolveLinks(const std::string& path) {
  char real[PATH_MAX];
  if (::realpath(path.c_str(), real) != nullptr)
    return real;
  return path;
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

std::unique_ptr<TempFile> TempFile::CreateFor(const std::string& target,
                                              const TempFileOptions& options, FileError& error,
                                              std::string& detail) {
  error = FileError::None;
  const std::string resolved = options.followLink ? resolveLinks(target) : target;
  struct stat st {};
  if (options.replace && ::lstat(resolved.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    error = FileError::NotAFile;
    detail = "a folder has that name";
    return nullptr;
  }
  const std::size_t slash = resolved.rfind('/');
  std::string temp =
      (slash == std::string::npos ? std::string() : resolved.substr(0, slash + 1)) + ".twXXXXXX";
  UniqueFd fd(::mkstemp(temp.data()));
  if (!fd) {
    error = createError(errno);
    detail = std::strerror(errno);
    return nullptr;
  }
  // mkstemp makes the file private; it gets the usual permissions of a new file.
  ::fchmod(fd.get(), 0666 & ~currentUmask());
  auto handle = std::make_unique<Handle>();
  handle->fd = std::move(fd);
  return std::unique_ptr<TempFile>(new TempFile(resolved, temp, options, std::move(handle)));
}

TempFile::TempFile(std::string target, std::string tempPath, TempFileOptions options,
                   std::unique_ptr<Handle> handle)
    : target_(std::move(target)),
      tempPath_(std::move(tempPath)),
      options_(options),
      handle_(std::move(handle)) {}

TempFile::~TempFile() {
  discard();
}

void TempFile::discard() {
  if (placed_ || !handle_)
    return;
  handle_->fd.close();
  ::unlink(tempPath_.c_str());
  handle_.reset();
}

FileError TempFile::Write(std::string_view bytes) {
  if (!handle_)
    return FileError::WriteFailed;
  while (!bytes.empty()) {
    const ssize_t n = ::write(handle_->fd.get(), bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return writeError(errno);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
    position_ += static_cast<std::uint64_t>(n);
  }
  startWriteBack(handle_->fd.get(), handle_->writeBackStart, position_);
  return FileError::None;
}

FileError TempFile::WriteAt(std::uint64_t offset, std::string_view bytes) {
  if (!handle_)
    return FileError::WriteFailed;
  while (!bytes.empty()) {
    const ssize_t n =
        ::pwrite(handle_->fd.get(), bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return writeError(errno);
    }
    bytes.remove_prefix(static_cast<size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
  return FileError::None;
}

FileError TempFile::TruncateTo(std::uint64_t size) {
  if (!handle_)
    return FileError::WriteFailed;
  if (::ftruncate(handle_->fd.get(), static_cast<off_t>(size)) != 0 ||
      ::lseek(handle_->fd.get(), static_cast<off_t>(size), SEEK_SET) < 0) {
    return FileError::WriteFailed;
  }
  position_ = size;
  handle_->writeBackStart = std::min(handle_->writeBackStart, size);
  return FileError::None;
}

FileError TempFile::Flush() {
  if (!handle_)
    return FileError::WriteFailed;
  if (::fsync(handle_->fd.get()) != 0)
    return writeError(errno);
  // Clean pages only can be dropped, hence after fsync.
  ::posix_fadvise(handle_->fd.get(), 0, 0, POSIX_FADV_DONTNEED);
  return FileError::None;
}

PlaceResult TempFile::Place(std::string& detail, FileError* error) {
  if (!handle_ || placed_) {
    detail = "the file was not written";
    return PlaceResult::Failed;
  }
  const int fd = handle_->fd.get();
  int err = 0;
  if (mode_ && ::fchmod(fd, static_cast<mode_t>(*mode_ & 07777)) != 0)
    err = errno;
  if (err == 0 && modifiedTime_) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(*modifiedTime_), 0}};
    if (::futimens(fd, times) != 0)
      err = errno;
  }
  struct stat st {};
  const bool replacesFile = options_.replace && ::lstat(target_.c_str(), &st) == 0;
  if (err == 0 && replacesFile && ::fsync(fd) != 0)
    err = errno;
  if (err == 0 && !handle_->fd.close())
    err = errno;
  if (err == 0) {
    err = options_.replace ? (::rename(tempPath_.c_str(), target_.c_str()) == 0 ? 0 : errno)
                           : renameNoReplace(tempPath_.c_str(), target_.c_str());
  }
  if (err != 0) {
    discard();
    if (error != nullptr)
      *error = writeError(err);
    if (err == EEXIST && !options_.replace)
      return PlaceResult::TargetExists;
    detail = std::strerror(err);
    return PlaceResult::Failed;
  }
  placed_ = true;
  handle_.reset();
  return PlaceResult::Placed;
}

}  // namespace tarnwick::platform
