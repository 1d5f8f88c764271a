#include "app/scan/row_store.h"

namespace tarnwick::app {

std::string RowStore::FullPath(std::size_t index) const {
  const ScanRow& row = rows_[index];
  return row.folder + row.name;
}

std::vector<std::string> RowStore::FullPaths() const {
  std::vector<std::string> paths;
  paths.reserve(rows_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i)
    paths.push_back(FullPath(i));
  return paths;
}

}  // namespace tarnwick::app
