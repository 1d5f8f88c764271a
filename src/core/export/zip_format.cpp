#include "core/export/zip_format.h"

#include <limits>

#include "core/platform/path_rules.h"

namespace tarnwick::zipformat {
namespace {

constexpr std::uint32_t kLocalSig = 0x04034b50;
constexpr std::uint32_t kCentralSig = 0x02014b50;
constexpr std::uint32_t kEndSig = 0x06054b50;
constexpr std::uint32_t kZip64EndSig = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSig = 0x07064b50;
constexpr std::uint16_t kZip64Tag = 0x0001;
constexpr std::uint16_t kTimestampTag = 0x5455;

void put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void put64(std::string& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i)
    out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
std::uint32_t clamp32(std::uint64_t v) {
  return v >= kMax32 ? kMax32 : static_cast<std::uint32_t>(v);
}

bool timestampFits(const EntryRecord& e) {
  return e.unixTime && *e.unixTime >= std::numeric_limits<std::int32_t>::min() &&
         *e.unixTime <= std::numeric_limits<std::int32_t>::max();
}

// Extended timestamp: modification time only, the same in both headers.
void putTimestamp(std::string& extra, const EntryRecord& e) {
  if (!timestampFits(e))
    return;
  put16(extra, kTimestampTag);
  put16(extra, 5);
  extra.push_back(1);  // modification time present
  put32(extra, static_cast<std::uint32_t>(static_cast<std::int32_t>(*e.unixTime)));
}

std::uint16_t versionNeeded(const EntryRecord& e, bool zip64) {
  if (zip64)
    return 45;
  return e.method == kDeflated ? 20 : 10;
}

}  // namespace

std::string LocalHeader(const EntryRecord& e) {
  std::string extra;
  if (e.zip64InLocal) {
    put16(extra, kZip64Tag);
    put16(extra, 16);
    put64(extra, e.size);
    put64(extra, e.compressedSize);
  }
  putTimestamp(extra, e);
  std::string out;
  out.reserve(30 + e.name.size() + extra.size());
  put32(out, kLocalSig);
  put16(out, versionNeeded(e, e.zip64InLocal));
  put16(out, e.flags);
  put16(out, e.method);
  put16(out, e.dosTime);
  put16(out, e.dosDate);
  put32(out, e.crc);
  put32(out, e.zip64InLocal ? kMax32 : static_cast<std::uint32_t>(e.compressedSize));
  put32(out, e.zip64InLocal ? kMax32 : static_cast<std::uint32_t>(e.size));
  put16(out, static_cast<std::uint16_t>(e.name.size()));
  put16(out, static_cast<std::uint16_t>(extra.size()));
  out += e.name;
  out += extra;
  return out;
}

std::string CentralHeader(const EntryRecord& e) {
  std::string zip64;
  if (e.size >= kMax32)
    put64(zip64, e.size);
  if (e.compressedSize >= kMax32)
    put64(zip64, e.compressedSize);
  if (e.localHeaderOffset >= kMax32)
    put64(zip64, e.localHeaderOffset);
  std::string extra;
  if (!zip64.empty()) {
    put16(extra, kZip64Tag);
    put16(extra, static_cast<std::uint16_t>(zip64.size()));
    extra += zip64;
  }
  putTimestamp(extra, e);
  std::string out;
  out.reserve(46 + e.name.size() + extra.size());
  put32(out, kCentralSig);
  put16(out, e.versionMadeBy);
  put16(out, versionNeeded(e, !zip64.empty() || e.zip64InLocal));
  put16(out, e.flags);
  put16(out, e.method);
  put16(out, e.dosTime);
  put16(out, e.dosDate);
  put32(out, e.crc);
  put32(out, clamp32(e.compressedSize));
  put32(out, clamp32(e.size));
  put16(out, static_cast<std::uint16_t>(e.name.size()));
  put16(out, static_cast<std::uint16_t>(extra.size()));
  put16(out, 0);  // comment length
  put16(out, 0);  // disk number start
  put16(out, 0);  // internal attributes
  put32(out, e.externalAttributes);
  put32(out, clamp32(e.localHeaderOffset));
  out += e.name;
  out += extra;
  return out;
}

std::string EndRecords(std::uint64_t entryCount, std::uint64_t directoryOffset,
                       std::uint64_t directorySize) {
  std::string out;
  const bool zip64 = entryCount >= kMax16 || directoryOffset >= kMax32 || directorySize >= kMax32;
  if (zip64) {
    const std::uint64_t zip64EndOffset = directoryOffset + directorySize;
    put32(out, kZip64EndSig);
    put64(out, 44);  // size of the rest of this record
    put16(out, (kHostUnix << 8) | 45);
    put16(out, 45);
    put32(out, 0);  // this disk
    put32(out, 0);  // disk holding the directory
    put64(out, entryCount);
    put64(out, entryCount);
    put64(out, directorySize);
    put64(out, directoryOffset);
    put32(out, kZip64LocatorSig);
    put32(out, 0);
    put64(out, zip64EndOffset);
    put32(out, 1);  // total disks
  }
  const std::uint16_t count16 =
      entryCount >= kMax16 ? kMax16 : static_cast<std::uint16_t>(entryCount);
  put32(out, kEndSig);
  put16(out, 0);
  put16(out, 0);
  put16(out, count16);
  put16(out, count16);
  put32(out, clamp32(directorySize));
  put32(out, clamp32(directoryOffset));
  put16(out, 0);  // comment length
  return out;
}

DosTime ToDosTime(std::int64_t unixSeconds) {
  // Rounded up so that the stored time is never earlier than the file's.
  const auto civil = platform::LocalCivilTime(unixSeconds + (unixSeconds & 1));
  platform::CivilTime c = civil.value_or(platform::CivilTime{});
  if (c.year < 1980)
    c = platform::CivilTime{};
  if (c.year > 2107)
    c = platform::CivilTime{2107, 12, 31, 23, 59, 58};
  DosTime t;
  t.time = static_cast<std::uint16_t>((c.hour << 11) | (c.minute << 5) | (c.second / 2));
  t.date = static_cast<std::uint16_t>(((c.year - 1980) << 9) | (c.month << 5) | c.day);
  return t;
}

}  // namespace tarnwick::zipformat
