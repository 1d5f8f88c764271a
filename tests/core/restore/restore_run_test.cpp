#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>

#include "core/restore/restore_run.h"
#include "core/restore/test_archive.h"

namespace tarnwick::restore {
namespace {

namespace fs = std::filesystem;

std::int64_t modifiedTime(const fs::path& p) {
  const auto t = std::chrono::file_clock::to_sys(fs::last_write_time(p));
  return std::chrono::duration_cast<std::chrono::seconds>(t.time_since_epoch()).count();
}

// Every path below `root`, as UTF-8 relative paths.
std::set<std::string> tree(const fs::path& root) {
  std::set<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root))
    out.insert(test::Utf8(fs::relative(e.path(), root)));
  return out;
}

std::map<Outcome, int> counts(const RunResult& r) {
  std::map<Outcome, int> out;
  for (const auto& o : r.outcomes)
    ++out[o.outcome];
  return out;
}

// A Tarnwick archive from "C:\Users\alice", restored with the old profile mapped to a folder of
// the test.
struct RunFixture {
  test::TempDir dir;
  ArchiveSet set;
  RestorePlan plan;
  std::string home;
  HereLayout here;

  RunFixture() {
    home = dir.str("home");
    here.folders = platform::ParseXdgUserDirs("", home);
    here.folders.home = home;
  }
  void open(const std::string& zipBytes) {
    const auto zip = dir.write("a.zip", zipBytes);
    std::string error;
    ASSERT_TRUE(OpenArchiveSet({test::Utf8(zip)}, set, error)) << error;
    PlanRequest request;
    request.mappings = {{"C:\\Users\\alice", home, "Home", false}};
    request.intoFolder = dir.str("out");
    plan = MakePlan(set, request, here);
    ASSERT_TRUE(plan.error.empty()) << plan.error;
  }
  void openPlain(const std::string& zipBytes) {
    const auto zip = dir.write("a.zip", zipBytes);
    std::string error;
    ASSERT_TRUE(OpenArchiveSet({test::Utf8(zip)}, set, error)) << error;
    PlanRequest request;
    request.intoFolder = dir.str("out");
    plan = MakePlan(set, request, here);
  }
  RunResult run(ConflictChoice choice = ConflictChoice::KeepBoth,
                const std::atomic<bool>* cancel = nullptr) {
    RunCallbacks cb;
    cb.onConflict = [=](const PlanEntry&, const std::string&) { return choice; };
    cb.cancel = cancel;
    return RunRestore(set, plan, cb);
  }
};

const std::string kLongName = std::string(240, 'n') + ".doc";
const std::string kDeep = "Documents/" + std::string(120, 'd') + "/" + std::string(120, 'e');

std::vector<test::ManifestTestFile> roundTripFiles() {
  std::string big;
  for (int i = 0; i < 300000; ++i)
    big += static_cast<char>('a' + (i * 7 + i / 1000) % 26);
  return {
      {"C:\\Users\\alice\\Documents\\a.doc", "Users/alice/Documents/a.doc", "first", 1500000000},
      {"C:\\Users\\alice\\Documents\\big.doc", "Users/alice/Documents/big.doc", big, 1600000000},
      {"C:\\Users\\alice\\Documents\\caf\xE9 100%.doc", "Users/alice/Documents/caf%E9 100%25.doc",
       "odd", 1600000002},
      {"C:\\Users\\alice\\Desktop\\Gr\xC3\xBC\xC3\x9F"
       "e.txt",
       "Users/alice/Desktop/Gr\xC3\xBC\xC3\x9F"
       "e.txt",
       "", 1600000004},
      {"C:\\Users\\alice\\" + kDeep + "\\" + kLongName, "Users/alice/" + kDeep + "/" + kLongName,
       "long", 1600000006},
  };
}

// The path a file of roundTripFiles() gets here.
fs::path restoredPath(const RunFixture& f, std::string_view below) {
  std::string rel;
  std::string part;
  for (char c : std::string(below) + "\\") {
    if (c == '\\' || c == '/') {
      rel += (rel.empty() ? "" : "/") + NameOnSystem(part, HereSystem());
      part.clear();
    } else {
      part += c;
    }
  }
  return f.dir / ("home/" + rel);
}

TEST(RestoreRun, RoundTripGivesBackEveryFileWithItsNameAndTimeAndASecondRunChangesNothing) {
  RunFixture f;
  const auto files = roundTripFiles();
  f.open(test::BuildTarnwickZip({}, files));
  const RunResult first = f.run();
  EXPECT_FALSE(first.cancelled);
  ASSERT_EQ(counts(first)[Outcome::Restored], 5) << first.outcomes[0].reason;
  for (const auto& file : files) {
    const fs::path p =
        restoredPath(f, file.originalPath.substr(std::string("C:\\Users\\alice\\").size()));
    ASSERT_TRUE(fs::exists(p)) << test::Utf8(p);
    EXPECT_EQ(test::TempDir::read(p), file.data) << test::Utf8(p);
    EXPECT_EQ(modifiedTime(p), file.modified) << test::Utf8(p);
  }
  // The standard library's folder walk on Windows stops at 260 characters: there the second
  // run's outcomes alone say that nothing was written.
#ifndef _WIN32
  const auto before = tree(f.dir.path());
#endif
  const RunResult second = f.run();
  EXPECT_EQ(counts(second)[Outcome::AlreadyThere], 5);
#ifndef _WIN32
  EXPECT_EQ(tree(f.dir.path()), before);
#endif
}

TEST(RestoreRun, AFileTheUserChangedIsKeptUnlessReplaceIsChosen) {
  RunFixture f;
  const auto files = roundTripFiles();
  f.open(test::BuildTarnwickZip({}, {files[0]}));
  f.run();
  const fs::path mine = f.dir / "home/Documents/a.doc";
  const fs::path other = f.dir / "home/Documents/a (from OLDPC).doc";
  f.dir.write("home/Documents/a.doc", "changed by the user");

  EXPECT_EQ(counts(f.run(ConflictChoice::Skip))[Outcome::Skipped], 1);
  EXPECT_FALSE(fs::exists(other));

  const RunResult kept = f.run(ConflictChoice::KeepBoth);
  ASSERT_EQ(counts(kept)[Outcome::KeptBoth], 1);
  EXPECT_EQ(test::FromUtf8(kept.outcomes[0].target), other);
  EXPECT_EQ(test::TempDir::read(mine), "changed by the user");
  EXPECT_EQ(test::TempDir::read(other), "first");
  // Again: the kept copy is recognised, no third file.
  EXPECT_EQ(counts(f.run(ConflictChoice::KeepBoth))[Outcome::AlreadyThere], 1);
  EXPECT_FALSE(fs::exists(f.dir / "home/Documents/a (from OLDPC 2).doc"));

  EXPECT_EQ(counts(f.run(ConflictChoice::Replace))[Outcome::Restored], 1);
  EXPECT_EQ(test::TempDir::read(mine), "first");
}

TEST(RestoreRun, AHostileArchiveWritesNothingOutsideItsFolder) {
  RunFixture f;
  f.dir.mkdir("out");
  f.openPlain(test::BuildZip({{"ok/a.doc", "fine"},
                              {"../escaped.doc", "x"},
                              {"ok/../../escaped2.doc", "x"},
                              {"ok\\..\\..\\escaped3.doc", "x"},
                              {"/tmp/escaped4.doc", "x"},
                              {"C:/escaped5.doc", "x"},
                              {"lnk", "..", 0, true},
                              {"lnk/escaped6.doc", "x"}}));
  const auto before = tree(f.dir.path());
  const RunResult r = f.run();
  auto c = counts(r);
  EXPECT_EQ(c[Outcome::Restored], 1);
  EXPECT_EQ(c[Outcome::Failed], 7);
  auto after = tree(f.dir.path());
  std::set<std::string> added;
  for (const auto& p : after) {
    if (!before.count(p))
      added.insert(p);
  }
  const std::string sep(1, static_cast<char>(fs::path::preferred_separator));
  EXPECT_EQ(added, (std::set<std::string>{"out" + sep + "ok", "out" + sep + "ok" + sep + "a.doc"}));
}

TEST(RestoreRun, ADamagedEntryIsNotPutInPlaceAndLeavesNoTemporaryFile) {
  RunFixture f;
  const test::ManifestTestFile file{"C:\\Users\\alice\\d.doc", "d.doc", "precious data"};
  // Stored, so that the test can find the bytes and change one.
  std::string zip = test::BuildZip(
      {{"tarnwick-manifest.txt", test::ManifestText({}, {file})}, {"d.doc", file.data}});
  const std::size_t at = zip.find("precious data");
  ASSERT_NE(at, std::string::npos);
  zip[at] = 'P';
  f.open(zip);
  const RunResult r = f.run();
  ASSERT_EQ(r.outcomes.size(), 1u);
  EXPECT_EQ(r.outcomes[0].outcome, Outcome::Failed);
  EXPECT_NE(r.outcomes[0].reason.find("damaged"), std::string::npos) << r.outcomes[0].reason;
  EXPECT_TRUE(tree(f.dir / "home").empty());
}

TEST(RestoreRun, CancelLeavesNothingHalfWritten) {
  RunFixture f;
  const auto files = roundTripFiles();
  f.open(test::BuildTarnwickZip({}, {files[1], files[0]}));
  std::atomic<bool> stop{false};
  RunCallbacks cb;
  cb.cancel = &stop;
  cb.onProgress = [&](std::uint64_t, std::uint64_t, std::uint64_t bytes, std::uint64_t) {
    if (bytes > 0)
      stop = true;  // in the middle of the big file
  };
  const RunResult r = RunRestore(f.set, f.plan, cb);
  EXPECT_TRUE(r.cancelled);
  // Only the folder made for the big file; no file, no temporary file.
  for (const auto& p : tree(f.dir / "home"))
    EXPECT_TRUE(fs::is_directory(f.dir / ("home/" + p))) << p;
}

}  // namespace
}  // namespace tarnwick::restore
