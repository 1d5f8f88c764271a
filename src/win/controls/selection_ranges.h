// The selected rows of a virtual list, as the list reports them: single rows, ranges and "all".
// Kept as disjoint half-open ranges, so selecting a million rows costs one entry and no step
// ever visits every row.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace tarnwick::win {

class SelectionRanges {
 public:
  // Marks rows [from, to) selected or not.
  void Set(int from, int to, bool selected);
  void Clear() {
    ranges_.clear();
    count_ = 0;
  }
  bool Contains(int row) const;
  std::int64_t Count() const { return count_; }
  // The ranges in order, as [from, to) pairs.
  std::vector<std::pair<int, int>> Ranges() const { return {ranges_.begin(), ranges_.end()}; }

 private:
  void Remove(int from, int to);
  std::map<int, int> ranges_;  // from -> to (exclusive)
  std::int64_t count_ = 0;
};

}  // namespace tarnwick::win
