// Zip then restore, through the engine's own archive writer and its manifest: every file comes
// back byte for byte with its name and time, odd names and long paths included.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "core/export/zip_engine.h"
#include "core/restore/restore_run.h"
#include "support/fake_drive.h"
#include "support/temp_dir.h"

namespace tarnwick::restore {
namespace {

namespace fs = std::filesystem;

std::int64_t modifiedTime(const fs::path& p) {
  const auto t = std::chrono::file_clock::to_sys(fs::last_write_time(p));
  return std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch()).count();
}

void setModifiedTime(const fs::path& p, std::int64_t t) {
  const auto sys = std::chrono::sys_seconds(std::chrono::seconds(t));
  fs::last_write_time(p, std::chrono::file_clock::from_sys(sys));
}

// Relative path -> content of every file below `root`.
std::map<std::string, std::string> files(const fs::path& root) {
  std::map<std::string, std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (e.is_regular_file())
      out[test::Utf8(fs::relative(e.path(), root))] = test::TempDir::read(e.path());
  }
  return out;
}

// The same places, somewhere else: the old scan folder (the test's "src") goes to "dest".
RestorePlan planIntoDest(const ArchiveSet& set, const test::TempDir& dir) {
  HereLayout here;
  here.folders = platform::ParseXdgUserDirs("", dir.str("newhome"));
  PlanRequest request;
  request.mappings = {{dir.str("src"), dir.str("dest"), {}, true}};
  return MakePlan(set, request, here);
}

TEST(RoundTrip, ZipThenRestoreGivesBackEveryFileWithItsNameAndTime) {
  test::TempDir dir;
  const std::string longName(230, 'L');
  std::vector<std::string> rels = {
      "src/Documents/letter.doc",
      "src/Documents/Gr\xC3\xBC\xC3\x9F"
      "e 100% #1.doc",
      "src/Desktop/empty.doc",
      "src/" + std::string(100, 'a') + "/" + std::string(100, 'b') + "/" + longName + ".doc",
#ifndef _WIN32
      "src/Documents/caf\xE9.doc",       // a Latin-1 name: not UTF-8
      "src/Documents/tab\tin name.doc",  // a control character
#endif
  };
  std::vector<std::string> paths;
  std::int64_t t = 1500000000;
  for (const auto& rel : rels) {
    std::string content = rel == "src/Desktop/empty.doc" ? "" : "content of " + rel;
    if (rel == "src/Documents/letter.doc")
      content += std::string(200000, 'x');  // deflated
    const fs::path p = dir.write(rel, content);
    setModifiedTime(p, t += 86401);
    paths.push_back(test::Utf8(p));
  }
  const fs::path zip = dir / "out.zip";
  ManifestInput manifest;
  manifest.header = ThisComputerHeader();
  manifest.header.computer = "OLDPC";
  manifest.header.scanFolder = dir.str("src");
  ZipOptions options;
  options.RootDir = "\\";
  ZipRunControl control;
  control.manifest = &manifest;
  ZipReport report;
  ASSERT_EQ(RunZip(test::Utf8(zip), paths, options, control, &report), kZipOk) << report.failure;

  ArchiveSet set;
  std::string error;
  ASSERT_TRUE(OpenArchiveSet({test::Utf8(zip)}, set, error)) << error;
  ASSERT_NE(set.FirstManifest(), nullptr) << set.parts[0].manifestError;
  const RestorePlan plan = planIntoDest(set, dir);
  ASSERT_TRUE(plan.error.empty()) << plan.error;
  const RunResult first = RunRestore(set, plan, {});
  ASSERT_EQ(first.outcomes.size(), rels.size());
  for (const auto& o : first.outcomes)
    EXPECT_EQ(o.outcome, Outcome::Restored) << o.target << ": " << o.reason;

  EXPECT_EQ(files(dir / "dest"), files(dir / "src"));
  for (const auto& rel : rels) {
    const fs::path restored = dir / ("dest" + rel.substr(3));
    EXPECT_EQ(modifiedTime(restored), modifiedTime(dir / rel)) << rel;
  }

  // A second restore changes nothing; a file the user changed since is kept.
  dir.write("dest/Documents/letter.doc", "changed on the new computer");
  const RunResult second = RunRestore(set, plan, {});
  std::map<Outcome, int> c;
  for (const auto& o : second.outcomes)
    ++c[o.outcome];
  EXPECT_EQ(c[Outcome::AlreadyThere], static_cast<int>(rels.size()) - 1);
  EXPECT_EQ(c[Outcome::KeptBoth], 1);
  EXPECT_EQ(test::TempDir::read(dir / "dest/Documents/letter.doc"), "changed on the new computer");
  EXPECT_EQ(test::TempDir::read(dir / "dest/Documents/letter (from OLDPC).doc"),
            test::TempDir::read(dir / "src/Documents/letter.doc"));
}

// A FAT32 target (with a small limit, so the parts stay small): the archive comes in parts, and
// giving the restore the first part brings back every file of every part.
TEST(RoundTrip, AnArchiveInPartsRestoresWhole) {
  test::TempDir dir;
  std::vector<std::string> paths;
  for (int i = 0; i < 9; ++i) {
    std::string content(15000, static_cast<char>('a' + i));
    // Bytes that do not deflate, so that every file takes its full size.
    for (std::size_t j = 0; j < content.size(); ++j)
      content[j] = static_cast<char>((j * 2654435761u + static_cast<unsigned>(i) * 40503u) >> 13);
    paths.push_back(test::Utf8(dir.write("src/Documents/d" + std::to_string(i) + ".doc", content)));
  }
  const test::FakeDrive fat(test::Fat32Drive(40 * 1024, 1ull << 30));
  ManifestInput manifest;
  manifest.header = ThisComputerHeader();
  manifest.header.computer = "OLDPC";
  manifest.header.scanFolder = dir.str("src");
  ZipRunControl control;
  control.manifest = &manifest;
  control.volumes = &fat;
  ZipReport report;
  const std::string zip = dir.str("out.zip");
  ASSERT_EQ(RunZip(zip, paths, ZipOptions{}, control, &report), kZipOk) << report.failure;
  ASSERT_GE(report.parts.size(), 3u);
  for (const auto& part : report.parts)
    EXPECT_LE(fs::file_size(test::FromUtf8(part)), 40u * 1024) << part;

  ArchiveSet set;
  std::string error;
  ASSERT_TRUE(OpenArchiveSet({zip}, set, error)) << error;
  EXPECT_EQ(set.parts.size(), report.parts.size());
  EXPECT_TRUE(set.missingParts.empty());
  const RestorePlan plan = planIntoDest(set, dir);
  ASSERT_TRUE(plan.error.empty()) << plan.error;
  EXPECT_TRUE(plan.warnings.empty());
  const RunResult run = RunRestore(set, plan, {});
  ASSERT_EQ(run.outcomes.size(), paths.size());
  for (const auto& o : run.outcomes)
    EXPECT_EQ(o.outcome, Outcome::Restored) << o.target << ": " << o.reason;
  EXPECT_EQ(files(dir / "dest"), files(dir / "src"));
}

}  // namespace
}  // namespace tarnwick::restore
