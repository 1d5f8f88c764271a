#include "core/export/deflate_join.h"

#include <cstdint>
#include <optional>

namespace tarnwick {

DeflateJoiner::DeflateJoiner() : scratch_(256 * 1024) {
  ok_ = inflateInit2(&z_, -15) == Z_OK;
}

DeflateJoiner::~DeflateJoiner() {
  if (ok_)
    inflateEnd(&z_);
}

bool DeflateJoiner::MakeJoinable(std::string& stream) {
  if (!ok_ || stream.empty() || inflateReset(&z_) != Z_OK)
    return false;
  // Decodes the stream, stopping at every block boundary (Z_BLOCK). zlib reports a boundary in
  // bit 128 of data_type, with the number of bits of the last byte read not yet used in its low
  // three bits, and bit 64 when the block just ended was the final one: the last boundary before
  // that is where the final block's header starts, that one is where the stream's data ends.
  z_.next_in = reinterpret_cast<Bytef*>(stream.data());
  z_.avail_in = static_cast<uInt>(stream.size());
  std::uint64_t finalBlockBit = 0;
  std::optional<std::uint64_t> endBit;
  for (;;) {
    z_.next_out = scratch_.data();
    z_.avail_out = static_cast<uInt>(scratch_.size());
    const int rc = inflate(&z_, Z_BLOCK);
    if (rc == Z_STREAM_END)
      break;
    if (rc != Z_OK)
      return false;  // damaged, or it ends before its final block (no progress: Z_BUF_ERROR)
    if ((z_.data_type & 128) != 0) {
      const std::uint64_t at =
          std::uint64_t{z_.total_in} * 8 - static_cast<unsigned>(z_.data_type & 7);
      if ((z_.data_type & 64) != 0)
        endBit = at;
      else
        finalBlockBit = at;
    }
  }
  const std::uint64_t totalBits = std::uint64_t{stream.size()} * 8;
  if (!endBit || *endBit > totalBits || *endBit + 8 <= totalBits)
    return false;  // bytes after the stream's end: not one whole stream

  stream[finalBlockBit / 8] = static_cast<char>(
      static_cast<unsigned char>(stream[finalBlockBit / 8]) & ~(1u << (finalBlockBit % 8)));
  // An empty stored block: a 3-bit header of zeros (not final, stored), zero bits to the byte
  // boundary, then LEN 0 and NLEN 0xFFFF. The compressor pads its last byte with zero bits, so
  // the header fits there when at least three are spare; otherwise it ends in one more byte.
  if (totalBits - *endBit < 3)
    stream.push_back('\0');
  stream.append("\x00\x00\xff\xff", 4);
  return true;
}

}  // namespace tarnwick
