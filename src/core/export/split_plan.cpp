#include "core/export/split_plan.h"

#include <algorithm>
#include <string_view>

#include "core/export/target_check.h"

namespace tarnwick {
namespace {

constexpr std::size_t kManifestNameLength = std::string_view("tarnwick-manifest.txt").size();

// A part being filled: the sums its bound is made from.
struct Filling {
  std::uint64_t entries = 0;
  std::uint64_t listing = 0;

  std::uint64_t Bound(const PartCosts& c) const {
    return kEndRecordsBound + entries + (c.manifest ? EntryBound(listing, kManifestNameLength) : 0);
  }
};

}  // namespace

SplitPlan PlanParts(const PartCosts& costs, std::optional<std::uint64_t> limit) {
  SplitPlan plan;
  const std::size_t n = costs.entries.size();
  const auto listing = [&](std::size_t i) {
    return i < costs.listings.size() ? costs.listings[i] : 0;
  };

  // An entry that does not fit a part of its own cannot be written at all.
  if (limit) {
    const std::uint64_t base = std::max(costs.firstListing, costs.laterListing);
    for (std::size_t i = 0; i < n; ++i) {
      const Filling alone{costs.entries[i], base + listing(i)};
      if (alone.Bound(costs) > *limit &&
          (!plan.tooLarge || costs.entries[i] > costs.entries[*plan.tooLarge]))
        plan.tooLarge = i;
    }
    if (plan.tooLarge)
      return plan;
  }

  PartSpan span;
  Filling fill{0, costs.firstListing};
  for (std::size_t i = 0; i < n; ++i) {
    Filling next{fill.entries + costs.entries[i], fill.listing + listing(i)};
    if (limit && span.end > span.begin && next.Bound(costs) > *limit) {
      span.bound = fill.Bound(costs);
      plan.parts.push_back(span);
      span = PartSpan{i, i, 0};
      fill = Filling{0, costs.laterListing};
      next = Filling{costs.entries[i], costs.laterListing + listing(i)};
    }
    fill = next;
    span.end = i + 1;
  }
  span.bound = fill.Bound(costs);
  plan.parts.push_back(span);
  for (const auto& p : plan.parts)
    plan.totalBound += p.bound;
  return plan;
}

}  // namespace tarnwick
