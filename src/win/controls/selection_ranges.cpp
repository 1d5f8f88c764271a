#include "win/controls/selection_ranges.h"

#include <algorithm>
#include <iterator>

namespace tarnwick::win {

void SelectionRanges::Remove(int from, int to) {
  auto it = ranges_.lower_bound(from);
  if (it != ranges_.begin() && std::prev(it)->second > from)
    --it;
  while (it != ranges_.end() && it->first < to) {
    const int a = it->first;
    const int b = it->second;
    count_ -= b - a;
    it = ranges_.erase(it);
    if (a < from) {
      ranges_.emplace(a, from);
      count_ += from - a;
    }
    if (b > to) {
      ranges_.emplace(to, b);
      count_ += b - to;
      break;
    }
  }
}

void SelectionRanges::Set(int from, int to, bool selected) {
  if (from >= to)
    return;
  Remove(from, to);
  if (!selected)
    return;
  // Join with touching neighbours, so the map stays small.
  int a = from;
  int b = to;
  auto next = ranges_.find(b);
  if (next != ranges_.end()) {
    b = next->second;
    count_ -= next->second - next->first;
    ranges_.erase(next);
  }
  auto it = ranges_.lower_bound(a);
  if (it != ranges_.begin() && std::prev(it)->second == a) {
    --it;
    a = it->first;
    count_ -= it->second - it->first;
    ranges_.erase(it);
  }
  ranges_.emplace(a, b);
  count_ += b - a;
}

bool SelectionRanges::Contains(int row) const {
  auto it = ranges_.upper_bound(row);
  if (it == ranges_.begin())
    return false;
  --it;
  return row < it->second;
}

}  // namespace tarnwick::win
