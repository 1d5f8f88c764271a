// The bytes of a ZIP archive's headers: local file headers, central directory records and the end
// records, with Zip64 wherever a size, an offset or the entry count outgrows the classic fields.
// Pure functions; the writer decides what goes where.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarnwick::zipformat {

inline constexpr std::uint16_t kStored = 0;
inline constexpr std::uint16_t kDeflated = 8;
inline constexpr std::uint16_t kFlagUtf8Name = 0x0800;
inline constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr std::uint32_t kMax32 = 0xFFFFFFFFu;
inline constexpr std::uint16_t kMax16 = 0xFFFFu;
// Host systems in "version made by": the meaning of the external attributes.
inline constexpr std::uint16_t kHostDos = 0;
inline constexpr std::uint16_t kHostUnix = 3;

struct EntryRecord {
  std::string name;  // UTF-8 with "/" separators; a folder's name ends in "/"
  std::uint16_t method = kStored;
  std::uint16_t flags = kFlagUtf8Name;
  std::uint16_t dosTime = 0;
  std::uint16_t dosDate = 0;
  std::optional<std::int64_t> unixTime;  // written as an extended timestamp when it fits 32 bits
  std::uint32_t crc = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t size = 0;
  std::uint64_t localHeaderOffset = 0;
  std::uint16_t versionMadeBy = (kHostUnix << 8) | 45;
  std::uint32_t externalAttributes = 0;
  // The local header carries a Zip64 field with both sizes. Decided before the data is written
  // (from the file's size), because the header must not change length afterwards.
  bool zip64InLocal = false;
};

// Local file header with the name and extra fields. Its length depends only on the name, whether
// a timestamp is present and zip64InLocal, so a header written before the data can be rewritten
// in place once CRC and sizes are known.
std::string LocalHeader(const EntryRecord& entry);

// Central directory record. Sizes or an offset beyond 32 bits go into a Zip64 field.
std::string CentralHeader(const EntryRecord& entry);

// Everything after the central directory: the Zip64 end record and its locator when the entry
// count, the directory's size or its offset need them, then the classic end record.
std::string EndRecords(std::uint64_t entryCount, std::uint64_t directoryOffset,
                       std::uint64_t directorySize);

// MS-DOS date and time fields (local time, two-second steps rounded up to the next even second,
// 1980-01-01 for anything earlier, 2107-12-31 23:59:58 for anything later).
struct DosTime {
  std::uint16_t time = 0;
  std::uint16_t date = 0;
};
DosTime ToDosTime(std::int64_t unixSeconds);

}  // namespace tarnwick::zipformat
