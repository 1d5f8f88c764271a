// One worker's compressor for the archive writer: deflates a file, or one piece of a large file,
// at once with libdeflate (a whole-buffer compressor, several times faster than zlib and a little
// smaller at the same level). A piece that is not a file's last is made joinable
// (`DeflateJoiner`), so that the pieces, deflated on different threads, form one stream.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/export/deflate_join.h"

struct libdeflate_compressor;

namespace tarnwick {

class PieceDeflater {
 public:
  // `level` as the long-established zip tool numbers them, 1 (fastest) to 9 (smallest); see
  // `LibdeflateLevel`.
  explicit PieceDeflater(int level);

  // Deflates `input` into `out` as one piece of a raw deflate stream; the last piece of a stream
  // ends it. False when compression failed.
  bool Run(std::string_view input, bool last, std::string& out);

 private:
  struct Free {
    void operator()(libdeflate_compressor* c) const;
  };
  std::unique_ptr<libdeflate_compressor, Free> compressor_;
  DeflateJoiner joiner_;
};

// The libdeflate level used for a zip level (1 to 9): the fastest whose output on documents
// (office files, mail stores, text) is no larger than zip's at that level. libdeflate compresses
// better than zip at the same number, so the same number would cost time for nothing: zip's
// default 6 is matched by libdeflate's 5, which is a fifth faster than its 6.
int LibdeflateLevel(int zipLevel);

// The CRC-32 of `data` continued from `crc` (0 to start), as ZIP records it.
std::uint32_t Crc32(std::uint32_t crc, std::string_view data);

}  // namespace tarnwick
