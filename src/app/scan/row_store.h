// The scan's result rows, kept by the app layer so that every front end reads the same rows: the
// Qt list shows them, a virtual list view reads them by index, the export takes their paths.
// Names and folders are the exact bytes the walk reported (not necessarily valid UTF-8).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::app {

struct ScanRow {
  std::string name;    // the Filename column
  std::string folder;  // the Path column: ends in the path separator
  std::uint64_t size = 0;
};

class RowStore {
 public:
  std::size_t Count() const { return rows_.size(); }
  const ScanRow& Row(std::size_t index) const { return rows_[index]; }
  // Path + Filename: the path that opens the file again.
  std::string FullPath(std::size_t index) const;
  // Every row's full path, in row order.
  std::vector<std::string> FullPaths() const;

  void Add(ScanRow row) { rows_.push_back(std::move(row)); }
  void Clear() { rows_.clear(); }

 private:
  std::vector<ScanRow> rows_;
};

}  // namespace tarnwick::app
