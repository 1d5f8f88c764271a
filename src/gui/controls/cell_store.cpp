#include "gui/controls/cell_store.h"

#include <cstring>

namespace tarnwick::gui {
namespace {

// Texts are stored behind their length as a base-128 number, so a reference is two integers.
std::size_t encodedLengthSize(std::size_t n) {
  std::size_t bytes = 1;
  while (n >= 0x80) {
    n >>= 7;
    ++bytes;
  }
  return bytes;
}

}  // namespace

void CellStore::insertColumn(int at) {
  columns_.insert(columns_.begin() + at, std::deque<CellRef>(rows_.size()));
  lastStored_.insert(lastStored_.begin() + at, CellRef{});
}

void CellStore::insertRow(int at, std::string_view text, RowInfo info) {
  const auto pos = static_cast<std::size_t>(at);
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(pos), info);
  for (auto& column : columns_) {
    column.insert(column.begin() + static_cast<std::ptrdiff_t>(pos), CellRef{});
  }
  if (!columns_.empty())
    columns_[0][pos] = refFor(0, text);
}

void CellStore::setCell(int row, int column, std::string_view text) {
  columns_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] = refFor(column, text);
}

std::string_view CellStore::cell(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
    return {};
  return text(columns_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)]);
}

void CellStore::clearRows() {
  rows_.clear();
  for (auto& column : columns_)
    column.clear();
  for (auto& last : lastStored_)
    last = CellRef{};
  chunks_.clear();
}

CellStore::CellRef CellStore::refFor(int column, std::string_view value) {
  if (value.empty())
    return CellRef{};
  CellRef& last = lastStored_[static_cast<std::size_t>(column)];
  if (last.chunk != kNoChunk && text(last) == value)
    return last;
  last = store(value);
  return last;
}

CellStore::CellRef CellStore::store(std::string_view value) {
  const std::size_t need = encodedLengthSize(value.size()) + value.size();
  if (chunks_.empty() || chunks_.back().size - chunks_.back().used < need) {
    // A text larger than a chunk gets a chunk of its own size.
    const std::size_t size = need > kChunkSize ? need : kChunkSize;
    chunks_.push_back(Chunk{std::make_unique_for_overwrite<char[]>(size), size, 0});
  }
  Chunk& chunk = chunks_.back();
  CellRef ref{static_cast<std::uint32_t>(chunks_.size() - 1),
              static_cast<std::uint32_t>(chunk.used)};
  char* out = chunk.bytes.get() + chunk.used;
  std::size_t n = value.size();
  while (n >= 0x80) {
    *out++ = static_cast<char>((n & 0x7F) | 0x80);
    n >>= 7;
  }
  *out++ = static_cast<char>(n);
  std::memcpy(out, value.data(), value.size());
  chunk.used += need;
  return ref;
}

std::string_view CellStore::text(CellRef ref) const {
  if (ref.chunk == kNoChunk)
    return {};
  const char* in = chunks_[ref.chunk].bytes.get() + ref.offset;
  std::size_t n = 0;
  int shift = 0;
  for (;;) {
    const auto byte = static_cast<unsigned char>(*in++);
    n |= static_cast<std::size_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0)
      break;
    shift += 7;
  }
  return {in, n};
}

}  // namespace tarnwick::gui
