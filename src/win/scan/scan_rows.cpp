#include "win/scan/scan_rows.h"

#include <climits>

#include "core/scan/format_size.h"

namespace tarnwick::win {

int ScanRows::Count() const {
  return rows_.Count() > INT_MAX ? INT_MAX : static_cast<int>(rows_.Count());
}

std::string ScanRows::Cell(int row, int column) const {
  const app::ScanRow& r = rows_.Row(static_cast<std::size_t>(row));
  switch (column) {
    case 0:
      return r.name;
    case 1:
      return r.folder;
    case 2:
      return FormatSize(r.size, decimalSeparator_);
    default:
      return {};
  }
}

}  // namespace tarnwick::win
