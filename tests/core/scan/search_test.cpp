#include "core/scan/search.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <thread>
#include <tuple>

#include "core/common/process_state.h"
#include "core/platform/system.h"
#include "core/settings/app_state.h"
#include "support/temp_dir.h"
#include "support/win_files.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// The separator the walk puts after each sub-folder name in the Path column.
const std::string kSep(1, platform::kPathSeparator);

struct Row {
  std::string name, folder;
  std::uint64_t size;
  auto operator<=>(const Row&) const = default;
  friend void PrintTo(const Row& r, std::ostream* os) {
    *os << "{" << r.name << ", " << r.folder << ", " << r.size << "}";
  }
};

struct RecordingSink : SearchSink {
  std::vector<Row> rows;
  std::vector<std::string> entered;
  std::vector<std::pair<std::string, std::string>> unreadable;
  std::vector<std::chrono::steady_clock::time_point> yields;
  std::function<void()> onMatch;  // runs after a row is recorded

  void OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) override {
    rows.push_back({name, folder, size});
    if (onMatch)
      onMatch();
  }
  void OnEnterFolder(const std::string& path) override { entered.push_back(path); }
  void OnUnreadable(const std::string& path, const std::string& reason) override {
    unreadable.emplace_back(path, reason);
  }
  void Yield() override { yields.push_back(std::chrono::steady_clock::now()); }

  std::set<Row> rowSet() const { return {rows.begin(), rows.end()}; }
};

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    FillFolderLists();
    params.Recurse = true;
    params.Pattern = "*.doc;*.pdf";
    gScanning = true;
  }
  void TearDown() override { ResetProcessState(); }

  void scan(const std::string& folder) { SearchFolder(params, folder, sink); }
  std::string root() const { return dir.str() + "/"; }

  TempDir dir;
  SearchParams params;
  RecordingSink sink;
};

// The entries of a folder in the order the OS lists them, as UTF-8. (Windows lists the names of
// an NTFS folder sorted; Wine lists them in the order of the Linux folder below it. The tests
// take whatever order the OS gives.)
std::vector<std::string> listed(const fs::path& folder) {
  std::vector<std::string> names;
#ifdef _WIN32
  WIN32_FIND_DATAW entry;
  const HANDLE first = FindFirstFileW((test::win::Extended(folder) + L"\\*").c_str(), &entry);
  if (first == INVALID_HANDLE_VALUE)
    return names;
  const test::win::FindHandle find(first);
  do {
    names.push_back(test::Utf8(fs::path(entry.cFileName)));
  } while (FindNextFileW(find.get(), &entry));
#else
  DIR* d = opendir(folder.c_str());
  while (const dirent* e = readdir(d))
    names.emplace_back(e->d_name);
  closedir(d);
#endif
  return names;
}

TEST_F(SearchTest, CountsEveryEntryTheOsReturnsAndListsMatchesWithTheirFolder) {
  dir.write("a.doc", "12345");
  dir.write("b.txt", "x");
  dir.write(".hidden.pdf", std::string(2048, 'x'));  // a dot file is matched like any file
  dir.write("sub/x.DOC", "123");
  dir.write(".git/y.doc", "1");  // a dot folder is counted but not entered
  dir.mkdir("empty");
  scan(root());

  const std::set<Row> expected = {
      {"a.doc", root(), 5}, {".hidden.pdf", root(), 2048}, {"x.DOC", root() + "sub" + kSep, 3}};
  EXPECT_EQ(sink.rowSet(), expected);
  // root: . .. a.doc b.txt .hidden.pdf sub .git empty; sub: . .. x.DOC; empty: . ..
  EXPECT_EQ(params.ScannedCount, 8 + 3 + 2);
  EXPECT_EQ(params.MatchCount, 3);
  EXPECT_EQ(params.TotalBytes, 5u + 2048u + 3u);
  EXPECT_EQ(std::set<std::string>(sink.entered.begin(), sink.entered.end()),
            (std::set<std::string>{root() + "sub", root() + "empty"}));
  EXPECT_TRUE(sink.unreadable.empty());
}

TEST_F(SearchTest, RowsComeDepthFirstInTheOrderFound) {
  for (const char* f : {"a/1.doc", "a/b/2.doc", "a/3.doc", "c/4.doc", "5.doc"})
    dir.write(f);
  scan(root());
  // Expected order: follow the OS's listing order, entering each folder where it is listed.
  std::vector<std::string> expected;
  std::function<void(const fs::path&)> walk = [&](const fs::path& folder) {
    for (const auto& name : listed(folder)) {
      if (name[0] == '.')
        continue;
      if (fs::is_directory(folder / name)) {
        walk(folder / name);
      } else {
        expected.push_back(name);
      }
    }
  };
  walk(dir.path());
  std::vector<std::string> got;
  for (const auto& r : sink.rows)
    got.push_back(r.name);
  EXPECT_EQ(got, expected);
}

TEST_F(SearchTest, ExcludedFoldersAtAnyDepthAreNotEnteredButShownAndCounted) {
  for (const char* f :
       {"Temp/t.doc", "a/TEMP/t.doc", "a/b/Windows/w.doc", "a/Temp2/k.doc", "a/MyTemp/k.doc",
        "a/Program Files (x86)/k.doc", "a/Cookies/t.doc", "a/b/Program Files/w.doc"}) {
    dir.write(f);
  }
  const auto folders = [&] {
    std::set<std::string> found;
    for (const auto& r : sink.rows)
      found.insert(r.folder.substr(root().size()));
    return found;
  };
  // Folders relative to the root, as the Path column ends.
  const auto rel = [](std::string path) {
    std::replace(path.begin(), path.end(), '/', platform::kPathSeparator);
    return path;
  };
  const std::set<std::string> kept = {rel("a/Temp2/"), rel("a/MyTemp/"),
                                      rel("a/Program Files (x86)/")};
  const std::set<std::string> temp = {rel("Temp/"), rel("a/TEMP/"), rel("a/Cookies/")};
  const std::set<std::string> sys = {rel("a/b/Windows/"), rel("a/b/Program Files/")};

  for (const auto& [ignoreTemp, ignoreSys] :
       {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
    SCOPED_TRACE(testing::Message() << "temp " << ignoreTemp << " sys " << ignoreSys);
    params = SearchParams{true, ignoreTemp, ignoreSys, 0, 0, 0, "*.doc"};
    sink = RecordingSink{};
    scan(root());
    std::set<std::string> expected = kept;
    if (!ignoreTemp)
      expected.insert(temp.begin(), temp.end());
    if (!ignoreSys)
      expected.insert(sys.begin(), sys.end());
    EXPECT_EQ(folders(), expected);
    // The status text names an excluded folder too, before its exclusion test.
    EXPECT_NE(std::find(sink.entered.begin(), sink.entered.end(), root() + rel("a/TEMP")),
              sink.entered.end());
  }
}

TEST_F(SearchTest, AnExcludedRootYieldsNothingAtAll) {
  const auto temp = dir.mkdir("Temp");
  dir.write("Temp/x.doc");
  params.IgnoreTemp = true;
  scan(test::Utf8(temp) + kSep);
  EXPECT_TRUE(sink.rows.empty());
  EXPECT_EQ(params.ScannedCount, 0);
  EXPECT_EQ(params.TotalBytes, 0u);
  EXPECT_TRUE(sink.unreadable.empty());
}

TEST_F(SearchTest, CancelKeepsRowsAndCountsTheEnclosingFoldersEntries) {
  dir.write("A/B/f.doc");
  dir.write("A/B/g.doc");
  dir.write("A/z.doc");
  dir.write("y.doc");
  sink.onMatch = [&] {
    if (sink.rows.size() == 1)
      gScanning = false;
  };
  scan(root());

  // Every level counts what it had listed up to the cancel, then (once back from a sub-folder)
  // that sub-folder's own entry, and stops at its next entry.
  std::int64_t expected = 0;
  std::string firstMatch;
  std::function<bool(const fs::path&)> walk = [&](const fs::path& folder) {
    for (const auto& name : listed(folder)) {
      if (name[0] != '.' && fs::is_directory(folder / name)) {
        const bool stopped = walk(folder / name);
        ++expected;
        if (stopped)
          return true;
      } else {
        ++expected;
        if (name.ends_with(".doc")) {
          firstMatch = name;
          return true;
        }
      }
    }
    return false;
  };
  walk(dir.path());
  ASSERT_EQ(sink.rows.size(), 1u);
  EXPECT_EQ(sink.rows[0].name, firstMatch);
  EXPECT_EQ(params.MatchCount, 1);
  EXPECT_EQ(params.ScannedCount, expected);
}

TEST_F(SearchTest, LinkLoopsEndAtOnceAndNoFileIsListedTwice) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX links only: on Windows the C++ library cannot make links, the system "
                  "needs a privilege to, and Wine 8 makes none";
#else
  dir.write("docs/a.doc", "abc");
  dir.write("other/b.pdf", "12");
  fs::create_directory_symlink("..", dir / "docs/up");              // loop to the root
  fs::create_directory_symlink(dir / "docs", dir / "other/docs2");  // second way in
  fs::create_directory_symlink(dir / "outside", dir / "gone");      // leads nowhere
  fs::create_symlink(dir / "other/b.pdf", dir / "docs/link.pdf");   // link to a file
  fs::create_symlink(dir / "missing.pdf", dir / "dangling.pdf");    // link to nothing
  scan(root());

  // "docs" is walked once, by whichever way the OS lists first.
  ASSERT_EQ(sink.rows.size(), 3u);
  std::map<std::string, Row> byName;
  for (const auto& r : sink.rows)
    byName[r.name] = r;
  const std::set<std::string> docsWays = {root() + "docs/", root() + "other/docs2/"};
  EXPECT_TRUE(docsWays.contains(byName["a.doc"].folder));
  EXPECT_EQ(byName["link.pdf"].folder, byName["a.doc"].folder);
  EXPECT_EQ(byName["link.pdf"].size, 2u);  // the target's size
  EXPECT_EQ(byName["b.pdf"].folder, root() + "other/");
  // root: . .. docs other gone dangling.pdf; docs: . .. a.doc up link.pdf; other: . .. b.pdf
  // docs2 (the second way into docs, and "up", lead to folders entered before: counted only)
  EXPECT_EQ(params.ScannedCount, 6 + 5 + 4);
#endif
}

TEST_F(SearchTest, DevicesPipesAndSocketsAreCountedButNeverListed) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX only: Windows keeps pipes and devices out of folders";
#else
  ASSERT_EQ(mkfifo((dir / "pipe.doc").c_str(), 0600), 0);
  dir.write("real.doc");
  scan(root());
  ASSERT_EQ(sink.rows.size(), 1u);
  EXPECT_EQ(sink.rows[0].name, "real.doc");
  EXPECT_EQ(params.ScannedCount, 4);
#endif
}

TEST_F(SearchTest, UnreadableFoldersAreReportedAndCountedInTheirParentOnly) {
#ifdef _WIN32
  // Windows denies a folder through its access list; Wine keeps no access lists.
  GTEST_SKIP() << "POSIX permissions only: Wine does not enforce Windows access lists";
#else
  dir.write("ok/a.doc");
  dir.write("locked/b.doc");
  // Permissions do not stop root: the walk runs in a child that gives up root first.
  EXPECT_EXIT(
      {
        chmod((dir / "locked").c_str(), 0);
        if (geteuid() == 0 && setuid(65534) != 0)
          _exit(3);
        scan(root());
        const bool ok = sink.rows.size() == 1 && sink.rows[0].name == "a.doc" &&
                        params.ScannedCount == 4 + 3 && sink.unreadable.size() == 1 &&
                        sink.unreadable[0].first == root() + "locked/" &&
                        sink.unreadable[0].second == std::strerror(EACCES);
        _exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
#endif
}

TEST_F(SearchTest, AMissingRootIsReportedAndCountsNothing) {
  scan(root() + "missing" + kSep);
  EXPECT_EQ(params.ScannedCount, 0);
  EXPECT_TRUE(sink.rows.empty());
  ASSERT_EQ(sink.unreadable.size(), 1u);
  EXPECT_EQ(sink.unreadable[0].first, root() + "missing" + kSep);
}

TEST_F(SearchTest, DeepTreesAreWalkedWithoutRecursionOrRunningOutOfHandles) {
  // Deeper than the number of folders the walk keeps open, short of the path length limit.
#ifdef _WIN32
  // Windows paths end at 32767 characters; this is still far past 260.
  constexpr int kDepth = 200;
  std::string levels;
  for (int i = 0; i < kDepth; ++i)
    levels += "d/";
  dir.write(levels + "deep.doc");
#else
  // Built one level at a time, relative to the level above.
  constexpr int kDepth = 1500;
  int fd = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < kDepth; ++i) {
    ASSERT_EQ(mkdirat(fd, "d", 0755), 0);
    const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = next;
  }
  close(openat(fd, "deep.doc", O_WRONLY | O_CREAT, 0644));
  close(fd);
#endif
  dir.write("d/d/shallow.doc");
  scan(root());

  std::string deepFolder = root();
  for (int i = 0; i < kDepth; ++i)
    deepFolder += "d" + kSep;
  ASSERT_EQ(sink.rows.size(), 2u);
  EXPECT_EQ(sink.rows[0].name == "deep.doc" ? sink.rows[0].folder : sink.rows[1].folder,
            deepFolder);
  EXPECT_EQ(params.ScannedCount, 3 + kDepth * 3 + 1);  // the root and each level: . .. d
  EXPECT_TRUE(sink.unreadable.empty());
}

TEST_F(SearchTest, NamesInOtherScriptsAreMatchedAndTheirSizesRead) {
  dir.write("Έγγραφα/Αναφορά.doc", "12345");
  dir.write("Документы/Отчёт.PDF", std::string(1000, 'x'));
  dir.write("文档/报告 보고서.doc", "ab");
  dir.write("文档/メモ.txt", "not listed");
  params.Pattern = "*.doc;отчёт*";  // the second pattern matches only with Cyrillic case ignored
  scan(root());
  const std::set<Row> expected = {{"Αναφορά.doc", root() + "Έγγραφα" + kSep, 5},
                                  {"Отчёт.PDF", root() + "Документы" + kSep, 1000},
                                  {"报告 보고서.doc", root() + "文档" + kSep, 2}};
  EXPECT_EQ(sink.rowSet(), expected);
  // Path followed by the name opens the file again.
  for (const auto& r : sink.rows)
    EXPECT_EQ(fs::file_size(test::FromUtf8(r.folder + r.name)), r.size) << r.name;
}

// Wine lifts the 260-character limit for every path, so under Wine this passes whether or not
// the folder reader uses the "\\?\" form; on Windows it fails without it.
TEST_F(SearchTest, PathsLongerThan260CharactersAreWalked) {
  std::string rel;
  for (char c = 'a'; rel.size() < 300; ++c)
    rel += std::string(50, c) + "/";
  dir.write(rel + "long.doc", "1234567");
  scan(root());
  std::string folder = rel;
  std::replace(folder.begin(), folder.end(), '/', platform::kPathSeparator);
  folder = root() + folder;
  ASSERT_GT(folder.size(), 300u);
  EXPECT_EQ(sink.rows, (std::vector<Row>{{"long.doc", folder, 7}}));
  EXPECT_TRUE(sink.unreadable.empty());
}

TEST_F(SearchTest, TheRootIsShownUpperCasedWhereCaseIsIgnoredAndStillOpens) {
  dir.write("Sub/Mixed Case.doc", "abc");
  const std::string shown = DisplayRoot(root());
  if constexpr (platform::kFileSystemIgnoresCase) {
    std::string upper = root();
    for (char& c : upper)
      c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    EXPECT_EQ(shown, upper);
  } else {
    EXPECT_EQ(shown, root());
  }
  scan(shown);
  // The root as shown, the names below it as the OS gives them.
  EXPECT_EQ(sink.rows, (std::vector<Row>{{"Mixed Case.doc", shown + "Sub" + kSep, 3}}));
  EXPECT_EQ(fs::file_size(test::FromUtf8(shown + "Sub" + kSep + "Mixed Case.doc")), 3u);
}

TEST_F(SearchTest, BothSeparatorsAreAcceptedInTheRoot) {
#ifndef _WIN32
  GTEST_SKIP() << "Windows only: elsewhere \"\\\" is an ordinary character of a name";
#else
  dir.write("sub/s.doc", "12");
  dir.write("Temp/t.doc");
  std::string slashed = dir.str();
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  const std::string backslashed = dir.str();
  params.IgnoreTemp = true;
  for (const std::string& r : {slashed + "/", backslashed + "\\", slashed + "\\"}) {
    SCOPED_TRACE(r);
    params = SearchParams{true, true, false, 0, 0, 0, "*.doc"};
    sink = RecordingSink{};
    scan(r);
    EXPECT_EQ(sink.rows, (std::vector<Row>{{"s.doc", r + "sub\\", 2}}));
    EXPECT_EQ(params.ScannedCount, 4 + 3);  // root: . .. sub Temp; sub: . .. s.doc
  }
  // An excluded root is told by its last name whichever separator ends it.
  for (const std::string& r : {slashed + "/Temp/", backslashed + "\\Temp\\"}) {
    params = SearchParams{true, true, false, 0, 0, 0, "*.doc"};
    scan(r);
    EXPECT_EQ(params.ScannedCount, 0) << r;
  }
#endif
}

TEST_F(SearchTest, AFileOver4GiBIsListedWithItsExactSize) {
  constexpr std::uint64_t kSize = (std::uint64_t{5} << 30) + 123;
  if (!dir.writeSparse("mail.pst", kSize))
    GTEST_SKIP() << "this file system cannot hold a sparse file";
  params.Pattern = "*.pst";
  scan(root());
  EXPECT_EQ(sink.rows, (std::vector<Row>{{"mail.pst", root(), kSize}}));
  EXPECT_EQ(params.TotalBytes, kSize);
}

TEST_F(SearchTest, YieldsOnAClockAndACancelThereStopsTheWalkSoon) {
  // Slow matches: each takes 2 ms, so without yields between them the window would freeze.
  for (int i = 0; i < 60; ++i)
    dir.write("f" + std::to_string(i) + ".doc");
  sink.onMatch = [] { std::this_thread::sleep_for(std::chrono::milliseconds(2)); };
  scan(root());
  ASSERT_GE(sink.yields.size(), 2u);
  for (size_t i = 1; i < sink.yields.size(); ++i) {
    const auto gap = sink.yields[i] - sink.yields[i - 1];
    EXPECT_GE(gap, std::chrono::milliseconds(20));   // not more often than the display needs
    EXPECT_LT(gap, std::chrono::milliseconds(100));  // and often enough for Cancel
  }

  // Cancel at the first yield: the walk stops at its next entry.
  struct CancellingSink : RecordingSink {
    void Yield() override { gScanning = false; }
  } cancelling;
  cancelling.onMatch = sink.onMatch;
  params = SearchParams{true, false, false, 0, 0, 0, "*.doc"};
  gScanning = true;
  SearchFolder(params, root(), cancelling);
  EXPECT_LT(cancelling.rows.size(), 30u);
  EXPECT_EQ(params.MatchCount, static_cast<std::int64_t>(cancelling.rows.size()));
}

// A status line on another thread reads the counters while the walk adds to them: it sees them
// only grow, and the walk's own totals are exact.
TEST_F(SearchTest, CountersMayBeReadFromAnotherThreadWhileTheWalkRuns) {
  for (int i = 0; i < 200; ++i)
    dir.write("d" + std::to_string(i % 10) + "/f" + std::to_string(i) + ".doc", "abc");
  std::atomic<bool> done{false};
  bool grew = true;
  std::thread reader([&] {
    std::int64_t lastMatches = 0, lastScanned = 0;
    std::uint64_t lastBytes = 0;
    while (!done.load()) {
      const std::int64_t matches = params.MatchCount;
      const std::int64_t scanned = params.ScannedCount;
      const std::uint64_t bytes = params.TotalBytes;
      grew = grew && matches >= lastMatches && scanned >= lastScanned && bytes >= lastBytes;
      lastMatches = matches;
      lastScanned = scanned;
      lastBytes = bytes;
    }
  });
  scan(root());
  done = true;
  reader.join();
  EXPECT_TRUE(grew);
  EXPECT_EQ(params.MatchCount, 200);
  EXPECT_EQ(params.TotalBytes, 600u);
}

}  // namespace
}  // namespace tarnwick
