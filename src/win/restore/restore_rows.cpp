#include "win/restore/restore_rows.h"

#include "app/restore/restore_texts.h"

namespace tarnwick::win {

std::string PlanRowSource::Cell(int row, int column) const {
  if (row < 0 || row >= Count())
    return {};
  const app::RestoreRow& r = rows_[static_cast<std::size_t>(row)];
  switch (column) {
    case 0:
      return r.from;
    case 1:
      return r.to;
    case 2:
      return r.status;
    default:
      return {};
  }
}

int MappingRowSource::Count() const {
  return static_cast<int>(session_.Mappings().size()) + (session_.HasManifest() ? 1 : 0);
}

bool MappingRowSource::IsOtherPlaces(int row) const {
  return session_.HasManifest() && row == static_cast<int>(session_.Mappings().size());
}

std::string MappingRowSource::Cell(int row, int column) const {
  if (row < 0 || row >= Count())
    return {};
  if (IsOtherPlaces(row))
    return column == 0 ? app::kOtherPlacesLabel : session_.OtherPlacesFolder();
  const auto& m = session_.Mappings()[static_cast<std::size_t>(row)];
  return column == 0 ? m.from : m.to;
}

}  // namespace tarnwick::win
