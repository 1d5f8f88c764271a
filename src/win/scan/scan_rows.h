// The scan session's rows as the result list shows them: Filename, Path and Size (in the
// program's size format with the user's decimal separator, made when a row is drawn).
#pragma once

#include <string>

#include "app/scan/row_store.h"
#include "win/controls/list_view.h"

namespace tarnwick::win {

class ScanRows final : public RowSource {
 public:
  ScanRows(const app::RowStore& rows, std::string decimalSeparator)
      : rows_(rows), decimalSeparator_(std::move(decimalSeparator)) {}
  int Count() const override;
  std::string Cell(int row, int column) const override;

 private:
  const app::RowStore& rows_;
  std::string decimalSeparator_;
};

}  // namespace tarnwick::win
