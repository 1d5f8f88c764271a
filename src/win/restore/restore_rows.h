// What the restore window's two lists show: the plan's rows (From, To, Status) and the mappings
// (From, To) with the folder for other drives last.
#pragma once

#include <vector>

#include "app/restore/restore_session.h"
#include "win/controls/list_view.h"

namespace tarnwick::win {

class PlanRowSource final : public RowSource {
 public:
  explicit PlanRowSource(const std::vector<app::RestoreRow>& rows) : rows_(rows) {}
  int Count() const override { return static_cast<int>(rows_.size()); }
  std::string Cell(int row, int column) const override;

 private:
  const std::vector<app::RestoreRow>& rows_;
};

class MappingRowSource final : public RowSource {
 public:
  explicit MappingRowSource(const app::RestoreSession& session) : session_(session) {}
  int Count() const override;
  std::string Cell(int row, int column) const override;
  // True for the last row, the folder for other drives and folders.
  bool IsOtherPlaces(int row) const;

 private:
  const app::RestoreSession& session_;
};

}  // namespace tarnwick::win
