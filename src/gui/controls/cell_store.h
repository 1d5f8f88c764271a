// Compact storage for the rows of the result list. A scan can list a million files, so each cell
// text is kept once, as UTF-8 bytes, in a byte arena made of fixed-size chunks (no reallocation
// copies of everything as it grows), and each row keeps only an 8-byte reference per cell. A cell
// whose text equals the cell above it in the same column shares its bytes: consecutive matches in
// one folder store their Path text once.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace tarnwick::gui {

class CellStore {
 public:
  // A new store has one column: a row always has its first text, columns or not.
  CellStore() { insertColumn(0); }

  // What a row carries besides its texts.
  struct RowInfo {
    std::int32_t itemData = 0;  // the caller's value for the row (the index it asked for)
    std::int16_t image = 0;     // index into the list's image list
    std::int16_t indent = 0;
  };

  int rowCount() const { return static_cast<int>(rows_.size()); }
  int columnCount() const { return static_cast<int>(columns_.size()); }

  // Inserts an empty column before `at` (0 <= at <= columnCount()).
  void insertColumn(int at);
  // Inserts a row before `at` (0 <= at <= rowCount()) with `text` in column 0.
  void insertRow(int at, std::string_view text, RowInfo info);
  // Sets one cell; row and column must exist.
  void setCell(int row, int column, std::string_view text);
  // The bytes of one cell, valid until the store is cleared; empty outside the table.
  std::string_view cell(int row, int column) const;
  const RowInfo& rowInfo(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  // Removes every row and every stored text; the columns stay.
  void clearRows();

 private:
  struct CellRef {
    std::uint32_t chunk = kNoChunk;
    std::uint32_t offset = 0;
  };
  static constexpr std::uint32_t kNoChunk = 0xFFFFFFFFu;
  static constexpr std::size_t kChunkSize = std::size_t{1} << 20;

  struct Chunk {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    std::size_t used = 0;
  };

  CellRef store(std::string_view text);
  std::string_view text(CellRef ref) const;
  // Reference for `text` in `column`: the previous text's bytes when equal, else a new copy.
  CellRef refFor(int column, std::string_view text);

  std::vector<Chunk> chunks_;
  std::vector<std::deque<CellRef>> columns_;  // one entry per row in each column
  std::vector<CellRef> lastStored_;           // per column: the text stored most recently
  std::deque<RowInfo> rows_;
};

}  // namespace tarnwick::gui
