#include "core/restore/file_crc.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

#include "core/platform/input_file.h"

namespace tarnwick::restore {

std::uint32_t UpdateCrc(std::uint32_t crc, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto n = static_cast<uInt>(std::min<std::size_t>(bytes.size(), 1u << 30));
    crc = static_cast<std::uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), n));
    bytes.remove_prefix(n);
  }
  return crc;
}

bool FileCrc(const std::string& path, std::uint64_t& size, std::uint32_t& crc,
             const std::atomic<bool>* stop) {
  platform::OpenedFile opened = platform::SystemFiles().Open(path);
  if (!opened.file)
    return false;
  std::vector<char> buffer(256 * 1024);
  std::uint64_t offset = 0;
  crc = 0;
  for (;;) {
    if (stop != nullptr && stop->load())
      return false;
    std::size_t got = 0;
    if (opened.file->ReadAt(offset, std::span<char>(buffer), got) != platform::FileError::None)
      return false;
    crc = UpdateCrc(crc, std::string_view(buffer.data(), got));
    offset += got;
    if (got < buffer.size())
      break;
  }
  size = offset;
  return true;
}

}  // namespace tarnwick::restore
