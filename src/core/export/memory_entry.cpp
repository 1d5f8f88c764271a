#include "core/export/memory_entry.h"

#include <zlib.h>

namespace tarnwick {
namespace {

// Raw deflate of the whole content; empty when zlib fails.
std::string deflateAll(std::string_view content, int level) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    return {};
  std::string out(deflateBound(&z, static_cast<uLong>(content.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
  z.avail_in = static_cast<uInt>(content.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return rc == Z_STREAM_END ? out : std::string();
}

}  // namespace

MemoryEntry MakeMemoryEntry(zipformat::EntryRecord record, std::string_view content, int level) {
  MemoryEntry e;
  record.crc = static_cast<std::uint32_t>(
      crc32_z(0, reinterpret_cast<const Bytef*>(content.data()), content.size()));
  record.size = content.size();
  std::string deflated = level > 0 ? deflateAll(content, level) : std::string();
  if (!deflated.empty() && deflated.size() < content.size()) {
    record.method = zipformat::kDeflated;
    e.data = std::move(deflated);
  } else {
    record.method = zipformat::kStored;
    e.data = content;
  }
  record.compressedSize = e.data.size();
  record.zip64InLocal = false;
  e.record = std::move(record);
  return e;
}

}  // namespace tarnwick
