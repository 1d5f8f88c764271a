#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/platform/input_file.h"
#include "core/platform/unique_fd.h"

namespace tarnwick::platform {
namespace {

FileError fromErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
      return FileError::NotFound;
    case EACCES:
    case EPERM:
      return FileError::AccessDenied;
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
      return FileError::InUse;
    case EISDIR:
    case ENXIO:
    case ENODEV:
      return FileError::NotAFile;
    default:
      return FileError::Other;
  }
}

FileInfo infoFrom(const struct stat& st) {
  FileInfo info;
  info.size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
  info.modifiedTime = static_cast<std::int64_t>(st.st_mtime);
  info.mode = static_cast<std::uint32_t>(st.st_mode);
  info.isFolder = S_ISDIR(st.st_mode);
  info.isOrdinaryFile = S_ISREG(st.st_mode);
  return info;
}

class PosixInputFile final : public InputFile {
 public:
  PosixInputFile(UniqueFd fd, const FileInfo& info) : fd_(std::move(fd)), info_(info) {}

  const FileInfo& Info() const override { return info_; }

  FileError ReadAt(std::uint64_t offset, std::span<char> buffer, std::size_t& got) override {
    got = 0;
    while (got < buffer.size()) {
      const ssize_t n = ::pread(fd_.get(), buffer.data() + got, buffer.size() - got,
                                static_cast<off_t>(offset + got));
      if (n < 0) {
        if (errno == EINTR)
          continue;
        return FileError::ReadFailed;
      }
      if (n == 0)
        break;
      got += static_cast<std::size_t>(n);
    }
    return FileError::None;
  }

  FileError Restat(FileInfo& info) override {
    struct stat st {};
    if (::fstat(fd_.get(), &st) != 0)
      return FileError::ReadFailed;
    info = infoFrom(st);
    return FileError::None;
  }

 private:
  UniqueFd fd_;
  FileInfo info_;
};

class PosixFileSource final : public FileSource {
 public:
  OpenedFile Open(const std::string& path) const override {
    OpenedFile result;
    // Non-blocking, so that a pipe with no writer cannot hang the export; the flag is dropped
    // again for the ordinary file that remains.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd) {
      result.error = fromErrno(errno);
      result.detail = std::strerror(errno);
      return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
      result.error = FileError::ReadFailed;
      result.detail = std::strerror(errno);
      return result;
    }
    if (!S_ISREG(st.st_mode)) {
      result.error = FileError::NotAFile;
      return result;
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0)
      ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    result.file = std::make_unique<PosixInputFile>(std::move(fd), infoFrom(st));
    return result;
  }

  FileError Examine(const std::string& path, FileInfo& info) const override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
      return fromErrno(errno);
    info = infoFrom(st);
    return FileError::None;
  }
};

}  // namespace

const FileSource& SystemFiles() {
  static const PosixFileSource source;
  return source;
}

}  // namespace tarnwick::platform
