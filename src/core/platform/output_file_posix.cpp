#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/platform/output_file.h"
#include "core/platform/unique_fd.h"

namespace tarnwick::platform {

struct OutputFile::Handle {
  UniqueFd fd;
};

namespace {

FileError writeError(int err) {
  return err == ENOSPC || err == EDQUOT ? FileError::DiskFull : FileError::WriteFailed;
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

}  // namespace

std::unique_ptr<OutputFile> OutputFile::CreateBeside(const std::string& target, FileError& error,
                                                     std::string& detail) {
  error = FileError::None;
  // A link at the target is followed, so its target gets the new content and the link stays.
  const std::string resolved = resolveLinks(target);
  mode_t mode = 0666 & ~currentUmask();
  bool replaces = false;
  struct stat st {};
  if (::stat(resolved.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      error = FileError::NotAFile;
      detail = "a folder has that name";
      return nullptr;
    }
    if (S_ISREG(st.st_mode)) {
      mode = st.st_mode & 07777;
      replaces = true;
    }
  }
  // A short name of its own in the same folder rather than the target's name with a suffix: a
  // target whose name is near the file system's limit (255 bytes) must still be writable.
  const std::size_t slash = resolved.rfind('/');
  std::string temp =
      (slash == std::string::npos ? std::string() : resolved.substr(0, slash + 1)) + ".twXXXXXX";
  UniqueFd fd(::mkstemp(temp.data()));
  if (!fd) {
    error = errno == ENOSPC                                         ? FileError::DiskFull
            : (errno == EACCES || errno == EPERM || errno == EROFS) ? FileError::AccessDenied
            : errno == ENOENT                                       ? FileError::NotFound
                                                                    : FileError::WriteFailed;
    detail = std::strerror(errno);
    return nullptr;
  }
  auto handle = std::make_unique<Handle>();
  handle->fd = std::move(fd);
  std::unique_ptr<OutputFile> file(new OutputFile(resolved, temp, std::move(handle)));
  file->mode_ = mode;
  file->replacesFile_ = replaces;
  return file;
}

OutputFile::OutputFile(std::string target, std::string tempPath, std::unique_ptr<Handle> handle)
    : target_(std::move(target)), tempPath_(std::move(tempPath)), handle_(std::move(handle)) {}

OutputFile::~OutputFile() {
  discard();
}

void OutputFile::discard() {
  if (committed_ || !handle_)
    return;
  handle_->fd.close();
  ::unlink(tempPath_.c_str());
  handle_.reset();
}

FileError OutputFile::Write(std::string_view bytes) {
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
  return FileError::None;
}

FileError OutputFile::WriteAt(std::uint64_t offset, std::string_view bytes) {
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

std::uint64_t OutputFile::Position() const {
  return position_;
}

FileError OutputFile::TruncateTo(std::uint64_t size) {
  if (!handle_)
    return FileError::WriteFailed;
  if (::ftruncate(handle_->fd.get(), static_cast<off_t>(size)) != 0 ||
      ::lseek(handle_->fd.get(), static_cast<off_t>(size), SEEK_SET) < 0) {
    return FileError::WriteFailed;
  }
  position_ = size;
  return FileError::None;
}

std::unique_ptr<InputFile> OutputFile::ReadBack(FileError& error) {
  error = FileError::None;
  if (!handle_) {
    error = FileError::WriteFailed;
    return nullptr;
  }
  if (::fsync(handle_->fd.get()) != 0) {
    error = writeError(errno);
    return nullptr;
  }
  // Clean pages only can be dropped, hence after fsync; what remains cached (other readers of
  // the file, none here) would be read from memory.
  ::posix_fadvise(handle_->fd.get(), 0, 0, POSIX_FADV_DONTNEED);
  OpenedFile opened = SystemFiles().Open(tempPath_);
  error = opened.error;
  return std::move(opened.file);
}

FileError OutputFile::Commit(std::string* detail) {
  if (!handle_ || committed_)
    return FileError::WriteFailed;
  const int fd = handle_->fd.get();
  bool ok = true;
  if (mode_)
    ok = ::fchmod(fd, static_cast<mode_t>(*mode_ & 07777)) == 0;
  if (ok && modifiedTime_) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(*modifiedTime_), 0}};
    ok = ::futimens(fd, times) == 0;
  }
  if (ok && replacesFile_)
    ok = ::fsync(fd) == 0;
  int err = ok ? 0 : errno;
  if (ok) {
    ok = handle_->fd.close();
    if (!ok)
      err = errno;
  }
  if (ok && ::rename(tempPath_.c_str(), target_.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    if (detail != nullptr)
      *detail = std::strerror(err);
    discard();
    return writeError(err);
  }
  committed_ = true;
  handle_.reset();
  return FileError::None;
}

}  // namespace tarnwick::platform
