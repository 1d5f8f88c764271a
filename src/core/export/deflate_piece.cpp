#include "core/export/deflate_piece.h"

#include <libdeflate.h>

namespace tarnwick {

void PieceDeflater::Free::operator()(libdeflate_compressor* c) const {
  libdeflate_free_compressor(c);
}

PieceDeflater::PieceDeflater(int level) : compressor_(libdeflate_alloc_compressor(level)) {}

bool PieceDeflater::Run(std::string_view input, bool last, std::string& out) {
  if (!compressor_)
    return false;
  // Room for the worst case, plus the few bytes that make a piece joinable.
  out.resize(libdeflate_deflate_compress_bound(compressor_.get(), input.size()) + 8);
  const std::size_t n = libdeflate_deflate_compress(compressor_.get(), input.data(), input.size(),
                                                    out.data(), out.size());
  if (n == 0)
    return false;
  out.resize(n);
  return last || joiner_.MakeJoinable(out);
}

std::uint32_t Crc32(std::uint32_t crc, std::string_view data) {
  return libdeflate_crc32(crc, data.data(), data.size());
}

}  // namespace tarnwick
