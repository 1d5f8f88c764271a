#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "core/platform/file_io.h"
#include "core/platform/output_file.h"
#include "core/platform/unique_fd.h"

namespace tarnwick::platform {
namespace {

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// A file is read-only when this process may not write it, or when it carries no write
// permission at all (the latter also holds for an administrator, who passes every access check).
bool isReadOnly(const std::string& path, const struct stat& st) {
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    return true;
  return ::access(path.c_str(), W_OK) != 0;
}

}  // namespace

bool IsOrdinaryFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd)
    return false;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
    return false;
  out.clear();
  out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    if (n == 0)
      return true;
    out.append(buf, static_cast<size_t>(n));
  }
}

bool WriteNewFile(const std::string& path, std::string_view bytes) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!fd)
    return false;
  if (!writeAll(fd.get(), bytes))
    return false;
  return fd.close();
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  // stat and access follow a link, so a link is judged by the file it leads to; OutputFile
  // writes that file too, keeping its permission bits.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || isReadOnly(path, st)))
    return false;
  FileError error = FileError::None;
  std::string detail;
  const auto out = OutputFile::CreateBeside(path, error, detail);
  return out != nullptr && out->Write(bytes) == FileError::None && out->Commit() == FileError::None;
}

}  // namespace tarnwick::platform
