// Deciding how many archives a run writes: on a drive whose file system limits the size of a file
// (FAT32), the entries are shared out, in list order, over several complete archives ("parts")
// so that each part stays within the limit. Each part is bounded from above: its entries at their
// largest (a deflated file counted as if stored), its central directory, its end records and its
// own manifest with one line per entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarnwick {

// The room, at most, that the pieces of an archive take.
struct PartCosts {
  // Per entry: its local header, data and central record (`EntryBound`).
  std::vector<std::uint64_t> entries;
  // Per entry: its line in the manifest (zero for an archive without manifest).
  std::vector<std::uint64_t> listings;
  bool manifest = false;           // each part carries a manifest entry
  std::uint64_t firstListing = 0;  // part 1's manifest text besides its lines (header, notes)
  std::uint64_t laterListing = 0;  // the same for parts 2, 3 ...
};

struct PartSpan {
  std::size_t begin = 0;  // entries [begin, end)
  std::size_t end = 0;
  std::uint64_t bound = 0;  // the most the part's file can take
};

struct SplitPlan {
  std::vector<PartSpan> parts;   // at least one; exactly one without a limit
  std::uint64_t totalBound = 0;  // of all parts: the free space they need together
  // An entry that cannot go in any part, even alone: the largest such. Then `parts` is empty.
  std::optional<std::size_t> tooLarge;
};

// The end records of one archive: end of central directory, Zip64 end record and its locator.
inline constexpr std::uint64_t kEndRecordsBound = 22 + 56 + 20;

// Shares the entries out over parts no larger than `limit` bytes each (one part when there is no
// limit), filling each part before starting the next and keeping the entries' order.
SplitPlan PlanParts(const PartCosts& costs, std::optional<std::uint64_t> limit);

}  // namespace tarnwick
