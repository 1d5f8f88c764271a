#include "core/export/zip_directory.h"

#include <algorithm>
#include <cstring>

namespace tarnwick::zipformat {
namespace {

std::uint16_t get16(const char* p) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                    (static_cast<unsigned char>(p[1]) << 8));
}
std::uint32_t get32(const char* p) {
  return static_cast<std::uint32_t>(get16(p)) | (static_cast<std::uint32_t>(get16(p + 2)) << 16);
}
std::uint64_t get64(const char* p) {
  return static_cast<std::uint64_t>(get32(p)) | (static_cast<std::uint64_t>(get32(p + 4)) << 32);
}

bool readExact(platform::InputFile& file, std::uint64_t offset, std::string& out,
               std::size_t size) {
  out.resize(size);
  std::size_t got = 0;
  return file.ReadAt(offset, out, got) == platform::FileError::None && got == size;
}

// Applies a Zip64 extra field of a central record to the fields that overflowed.
void applyZip64(EntryRecord& e, std::string_view extra, bool sizeMax, bool csizeMax,
                bool offsetMax) {
  while (extra.size() >= 4) {
    const std::uint16_t tag = get16(extra.data());
    const std::uint16_t len = get16(extra.data() + 2);
    if (extra.size() < 4u + len)
      return;
    std::string_view body = extra.substr(4, len);
    if (tag == 0x0001) {
      auto take = [&body](std::uint64_t& v) {
        if (body.size() < 8)
          return;
        v = get64(body.data());
        body.remove_prefix(8);
      };
      if (sizeMax)
        take(e.size);
      if (csizeMax)
        take(e.compressedSize);
      if (offsetMax)
        take(e.localHeaderOffset);
    } else if (tag == 0x5455 && len >= 5 && (body[0] & 1) != 0) {
      e.unixTime = static_cast<std::int32_t>(get32(body.data() + 1));
    }
    extra.remove_prefix(4u + len);
  }
}

}  // namespace

bool ReadDirectory(platform::InputFile& file, std::vector<ExistingEntry>& entries,
                   std::string& error) {
  entries.clear();
  error = "Zip file structure invalid";
  const std::uint64_t fileSize = file.Info().size;
  if (fileSize < 22)
    return false;
  // The end record lies within the last 22 + 65535 bytes (its comment is at most 65535 long).
  const std::uint64_t tailSize = std::min<std::uint64_t>(fileSize, 22 + 65535);
  std::string tail;
  if (!readExact(file, fileSize - tailSize, tail, tailSize))
    return false;
  std::size_t endPos = std::string::npos;
  for (std::size_t i = tail.size() - 22 + 1; i-- > 0;) {
    if (get32(tail.data() + i) == 0x06054b50) {
      endPos = i;
      break;
    }
  }
  if (endPos == std::string::npos)
    return false;
  const char* end = tail.data() + endPos;
  if (get16(end + 4) != 0 || get16(end + 6) != 0) {
    error = "multi-disk archives are not supported";
    return false;
  }
  std::uint64_t count = get16(end + 10);
  std::uint64_t dirSize = get32(end + 12);
  std::uint64_t dirOffset = get32(end + 16);
  const std::uint64_t endOffset = fileSize - tailSize + endPos;
  if (endOffset >= 20) {
    std::string locator;
    if (readExact(file, endOffset - 20, locator, 20) && get32(locator.data()) == 0x07064b50) {
      std::string z64;
      if (!readExact(file, get64(locator.data() + 8), z64, 56) || get32(z64.data()) != 0x06064b50) {
        return false;
      }
      count = get64(z64.data() + 32);
      dirSize = get64(z64.data() + 40);
      dirOffset = get64(z64.data() + 48);
    }
  }
  if (dirOffset > fileSize || dirSize > fileSize - dirOffset)
    return false;
  std::string dir;
  if (!readExact(file, dirOffset, dir, static_cast<std::size_t>(dirSize)))
    return false;
  std::size_t pos = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (dir.size() - pos < 46 || get32(dir.data() + pos) != 0x02014b50)
      return false;
    const char* h = dir.data() + pos;
    ExistingEntry entry;
    EntryRecord& e = entry.record;
    e.versionMadeBy = get16(h + 4);
    // The data descriptor goes: the sizes are written into the new headers directly.
    e.flags = static_cast<std::uint16_t>(get16(h + 8) & ~kFlagDataDescriptor);
    e.method = get16(h + 10);
    e.dosTime = get16(h + 12);
    e.dosDate = get16(h + 14);
    e.crc = get32(h + 16);
    e.compressedSize = get32(h + 20);
    e.size = get32(h + 24);
    const std::size_t nameLen = get16(h + 28), extraLen = get16(h + 30), commentLen = get16(h + 32);
    e.externalAttributes = get32(h + 38);
    e.localHeaderOffset = get32(h + 42);
    if (dir.size() - pos < 46 + nameLen + extraLen + commentLen)
      return false;
    e.name.assign(h + 46, nameLen);
    applyZip64(e, std::string_view(h + 46 + nameLen, extraLen), e.size == kMax32,
               e.compressedSize == kMax32, e.localHeaderOffset == kMax32);
    pos += 46 + nameLen + extraLen + commentLen;

    std::string local;
    if (!readExact(file, e.localHeaderOffset, local, 30) || get32(local.data()) != 0x04034b50) {
      return false;
    }
    entry.dataOffset =
        e.localHeaderOffset + 30 + get16(local.data() + 26) + get16(local.data() + 28);
    if (entry.dataOffset > fileSize || e.compressedSize > fileSize - entry.dataOffset)
      return false;
    e.zip64InLocal = e.size >= kMax32 || e.compressedSize >= kMax32;
    entries.push_back(std::move(entry));
  }
  error.clear();
  return true;
}

}  // namespace tarnwick::zipformat
