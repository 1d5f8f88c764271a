// A target whose file system limits the size of a file (FAT32, here with a small limit given
// through the volume seam): the archive is shared out over several complete archives, each within
// the limit, each readable alone and with its own manifest; a file too large for any part is
// refused before anything is written.
#include "core/export/split_plan.h"

#include <gtest/gtest.h>

#include <map>

#include "core/common/process_state.h"
#include "core/export/export_fixtures.h"
#include "core/export/target_check.h"
#include "core/export/zip_engine.h"
#include "core/export/zip_reader.h"
#include "core/export/zip_state.h"
#include "support/fake_drive.h"

namespace tarnwick {
namespace {

using test::TempDir;

std::vector<std::pair<std::size_t, std::size_t>> spans(const SplitPlan& plan) {
  std::vector<std::pair<std::size_t, std::size_t>> out;
  for (const auto& p : plan.parts)
    out.emplace_back(p.begin, p.end);
  return out;
}

TEST(SplitPlanTest, EntriesAreSharedOutInOrderWithinTheLimit) {
  using Spans = std::vector<std::pair<std::size_t, std::size_t>>;
  constexpr std::uint64_t e = kEndRecordsBound;
  struct Case {
    const char* label;
    std::vector<std::uint64_t> entries;
    std::optional<std::uint64_t> limit;
    Spans parts;
    std::optional<std::size_t> tooLarge;
  };
  const Case cases[] = {
      {"no limit: one part", {100, 200, 300}, std::nullopt, {{0, 3}}, {}},
      {"all fit exactly", {100, 200, 300}, e + 600, {{0, 3}}, {}},
      {"one byte short", {100, 200, 300}, e + 599, {{0, 2}, {2, 3}}, {}},
      {"a part per entry", {300, 300, 300}, e + 300, {{0, 1}, {1, 2}, {2, 3}}, {}},
      {"order kept, no filling of gaps", {250, 100, 250, 100}, e + 360, {{0, 2}, {2, 4}}, {}},
      {"the largest entry that fits nowhere is named", {500, 100, 700, 50}, e + 400, {}, 2},
      {"no entries: one empty part", {}, e + 10, {{0, 0}}, {}},
  };
  for (const auto& c : cases) {
    PartCosts costs;
    costs.entries = c.entries;
    const SplitPlan plan = PlanParts(costs, c.limit);
    EXPECT_EQ(spans(plan), c.parts) << c.label;
    EXPECT_EQ(plan.tooLarge, c.tooLarge) << c.label;
    std::uint64_t total = 0;
    for (const auto& p : plan.parts) {
      if (c.limit) {
        EXPECT_LE(p.bound, *c.limit) << c.label;
      }
      total += p.bound;
    }
    EXPECT_EQ(plan.totalBound, total) << c.label;
  }
}

// Each part's manifest counts against its limit: part 1 carries the header and the notes, every
// part a line per entry.
TEST(SplitPlanTest, EachPartsManifestCountsAgainstTheLimit) {
  PartCosts costs;
  costs.entries.assign(6, 1000);
  costs.listings.assign(6, 100);
  costs.manifest = true;
  costs.firstListing = 1100;
  costs.laterListing = 300;
  const std::uint64_t manifestOf3 = EntryBound(300 + 3 * 100, 21);
  const SplitPlan plan = PlanParts(costs, kEndRecordsBound + 3000 + manifestOf3);
  // Part 1's larger header leaves room for two entries only; later parts take three.
  EXPECT_EQ(spans(plan),
            (std::vector<std::pair<std::size_t, std::size_t>>{{0, 2}, {2, 5}, {5, 6}}));
  EXPECT_EQ(plan.parts[0].bound, kEndRecordsBound + 2000 + EntryBound(1100 + 200, 21));
}

class SplitArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    // Data that does not deflate: each file is stored at its size, so the parts are predictable.
    for (int i = 0; i < 7; ++i) {
      const auto p = dir.write("src/f" + std::to_string(i) + ".doc",
                               test::RandomBytes(20000, static_cast<unsigned>(i) + 1));
      names.push_back(p.string());
    }
    manifest.header.program = "Tarnwick 9.9";
    manifest.header.computer = "PC1";
    manifest.header.system = "Linux";
    manifest.header.scanFolder = dir.str() + "/src";
    manifest.unreadableFolders = {{"/home/alice/private", "access denied"}};
    control.manifest = &manifest;
  }
  void TearDown() override { ResetProcessState(); }

  // What one part holds: its entries by name and its manifest's text.
  struct PartContent {
    std::map<std::string, std::uint64_t> entries;
    std::string manifest;
  };
  static PartContent readPart(const std::string& path) {
    PartContent content;
    std::string error;
    auto reader = zipformat::ZipReader::OpenPath(path, error);
    EXPECT_TRUE(reader) << path << ": " << error;
    if (!reader)
      return content;
    for (std::size_t i = 0; i < reader->Entries().size(); ++i) {
      const auto& r = reader->Entries()[i].record;
      content.entries[r.name] = r.size;
      if (r.name == "tarnwick-manifest.txt") {
        zipformat::EntryStatus status{};
        content.manifest = reader->ReadEntryText(i, status);
      }
    }
    return content;
  }

  TempDir dir;
  std::vector<std::string> names;
  ManifestInput manifest;
  ZipRunControl control;
  std::string archive = (dir / "PC1.zip").string();
  static constexpr std::uint64_t kLimit = 64 * 1024;
};

TEST_F(SplitArchiveTest, PartsAreCompleteArchivesWithinTheLimit) {
  const test::FakeDrive fat(test::Fat32Drive(kLimit, 1ull << 30));
  control.volumes = &fat;
  ZipReport report;
  ASSERT_EQ(RunZip(archive, names, ZipOptions{}, control, &report), kZipOk) << LastZipMessage;
  EXPECT_TRUE(report.verified);
  const std::vector<std::string> expected = {archive, dir.str() + "/PC1-2.zip",
                                             dir.str() + "/PC1-3.zip"};
  ASSERT_EQ(report.parts, expected);
  EXPECT_EQ(test::FolderNames(dir.path()),
            (std::set<std::string>{"PC1.zip", "PC1-2.zip", "PC1-3.zip", "src"}));

  std::map<std::string, int> partOf;  // every file in exactly one part
  for (std::size_t k = 0; k < expected.size(); ++k) {
    const std::string& path = expected[k];
    EXPECT_LE(std::filesystem::file_size(path), kLimit) << path;
    const PartContent part = readPart(path);
    const std::string partLine =
        "Part: " + std::to_string(k + 1) + " of " + std::to_string(expected.size()) + "\n";
    EXPECT_NE(part.manifest.find(partLine), std::string::npos) << part.manifest;
    // Only part 1 carries what the scan knew.
    EXPECT_EQ(part.manifest.find("[unreadable folders]") != std::string::npos, k == 0) << path;
    std::vector<test::ExpectedEntry> entries;
    for (const auto& a : report.archived) {
      if (a.part != static_cast<int>(k) + 1)
        continue;
      ++partOf[a.path];
      entries.push_back({a.entryName, a.size, std::nullopt, std::filesystem::path(a.path)});
      EXPECT_NE(part.manifest.find("\t" + a.entryName + "\t" + a.path + "\n"), std::string::npos)
          << a.path << " not in the manifest of " << path;
    }
    entries.push_back({"tarnwick-manifest.txt", part.manifest.size(), std::nullopt, std::nullopt});
    EXPECT_EQ(part.entries.size(), entries.size()) << path;
    EXPECT_EQ(test::CheckWithAllReaders(path, entries), "") << path;
  }
  ASSERT_EQ(partOf.size(), names.size());
  for (const auto& [path, count] : partOf)
    EXPECT_EQ(count, 1) << path;
  // List order: the parts hold f0-f2, f3-f5 and f6.
  EXPECT_EQ(report.archived.front().part, 1);
  EXPECT_EQ(report.archived.back().part, 3);
  for (std::size_t i = 1; i < report.archived.size(); ++i)
    EXPECT_LE(report.archived[i - 1].part, report.archived[i].part);
}

// Before anything is written: a file too large for any part is named; the parts together must fit
// the free space.
TEST_F(SplitArchiveTest, TargetProblemsAreFoundBeforeAnythingIsWritten) {
  dir.write("PC1.zip", "the old archive");
  struct Case {
    const char* label;
    std::uint64_t limit;
    std::uint64_t freeBytes;
    bool tooLarge;
  };
  const Case cases[] = {
      {"a file larger than any part can be", 20000, 1ull << 30, true},
      {"a file that fits the limit but not with its headers", 20100, 1ull << 30, true},
      {"free space for one part but not all", kLimit, 2 * kLimit, false},
  };
  for (const auto& c : cases) {
    const test::FakeDrive fat(test::Fat32Drive(c.limit, c.freeBytes));
    control.volumes = &fat;
    ZipReport report;
    EXPECT_EQ(RunZip(archive, names, ZipOptions{}, control, &report), kZipCreateFailed) << c.label;
    EXPECT_FALSE(report.archiveWritten) << c.label;
    EXPECT_TRUE(report.parts.empty()) << c.label;
    EXPECT_EQ(report.tooLarge.has_value(), c.tooLarge) << c.label;
    if (c.tooLarge) {
      EXPECT_EQ(report.tooLarge->size, 20000u) << c.label;
      EXPECT_NE(report.failure.find(report.tooLarge->path), std::string::npos) << c.label;
    } else {
      EXPECT_NE(report.failure.find("needs about"), std::string::npos) << report.failure;
    }
    EXPECT_EQ(TempDir::read(archive), "the old archive") << c.label;
    EXPECT_EQ(test::FolderNames(dir.path()), (std::set<std::string>{"PC1.zip", "src"})) << c.label;
  }
}

// A part that fails its check: no part of the run is put in place, old archives stay as they were.
TEST_F(SplitArchiveTest, APartFailingItsCheckLeavesNoPartBehind) {
  dir.write("PC1.zip", "the old archive");
  dir.write("PC1-2.zip", "the old part 2");
  const test::FakeDrive fat(test::Fat32Drive(kLimit, 1ull << 30));
  control.volumes = &fat;
  int seen = 0;
  control.afterWrite = [&seen](const std::string& temporary) {
    if (++seen == 2) {  // a byte in the middle of part 2: its second file's data
      const auto middle = std::filesystem::file_size(temporary) / 2;
      std::fstream f(temporary, std::ios::in | std::ios::out | std::ios::binary);
      f.seekg(static_cast<std::streamoff>(middle));
      const char was = static_cast<char>(f.get());
      f.seekp(static_cast<std::streamoff>(middle));
      f.put(static_cast<char>(was ^ 0x55));
    }
  };
  ZipReport report;
  EXPECT_EQ(RunZip(archive, names, ZipOptions{}, control, &report), kZipVerifyFailed);
  EXPECT_EQ(seen, 3);
  EXPECT_FALSE(report.archiveWritten);
  EXPECT_TRUE(report.parts.empty());
  EXPECT_FALSE(report.damaged.empty());
  EXPECT_NE(report.failure.find("PC1-2.zip"), std::string::npos) << report.failure;
  EXPECT_EQ(TempDir::read(archive), "the old archive");
  EXPECT_EQ(TempDir::read(dir / "PC1-2.zip"), "the old part 2");
  EXPECT_EQ(test::FolderNames(dir.path()), (std::set<std::string>{"PC1.zip", "PC1-2.zip", "src"}));
}

}  // namespace
}  // namespace tarnwick
