#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>

#include "cli/run_cli.h"
#include "cli/scan/cli_process.h"
#include "core/restore/test_archive.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> tree(const fs::path& root) {
  std::set<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root))
    out.insert(Utf8(fs::relative(e.path(), root)));
  return out;
}

class CliRestoreTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string zip(const std::string& name, const std::string& bytes) {
    return Utf8(dir.write(name, bytes));
  }
  std::string tarnwickZip() {
    return zip("old.zip",
               BuildTarnwickZip(
                   {}, {{"C:\\Users\\alice\\Documents\\a.doc", "Users/alice/Documents/a.doc", "A"},
                        {"C:\\Users\\alice\\b.doc", "Users/alice/b.doc", "B"}}));
  }
};

TEST_F(CliRestoreTest, DryRunPrintsThePlanAndWritesNothing) {
  const std::string archive = tarnwickZip();
  const auto before = tree(dir.path());
  const auto r =
      RunCli({"restore", archive, "--map", "C:\\Users\\alice=" + dir.str("home"), "--dry-run"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("C:\\Users\\alice\\b.doc -> " + dir.str("home") + "/b.doc  [new]"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(tree(dir.path()), before);
}

TEST_F(CliRestoreTest, ExitCodesSayWhetherEverythingIsInPlace) {
  const std::string archive = tarnwickZip();
  const std::string to = dir.str("into");
  auto r = RunCli({"restore", archive, "--to", to});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(TempDir::read(dir / "into/Users/alice/Documents/a.doc"), "A");
  EXPECT_NE(r.err.find("2 restored, 0 already there, 0 kept both, 0 skipped, 0 failed."),
            std::string::npos)
      << r.err;

  // The user changed a file: with skip it stays and is not restored (1); keep both is "in place".
  dir.write("into/Users/alice/b.doc", "mine");
  r = RunCli({"restore", archive, "--to", to, "--conflict", "skip"});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("skipped: " + to + "/Users/alice/b.doc (a different file is already there)"),
            std::string::npos)
      << r.err;
  r = RunCli({"restore", archive, "--to", to});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(TempDir::read(dir / "into/Users/alice/b.doc"), "mine");
  EXPECT_EQ(TempDir::read(dir / "into/Users/alice/b (from OLDPC).doc"), "B");

  // Nothing could be done: not an archive; no manifest and no --to; a usage error.
  EXPECT_EQ(RunCli({"restore", zip("not.zip", "hello")}).exitCode, 2);
  const std::string plain = zip("plain.zip", BuildZip({{"a.doc", "x"}}));
  r = RunCli({"restore", plain});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("no Tarnwick manifest"), std::string::npos) << r.err;
  EXPECT_EQ(RunCli({"restore", plain, "--conflict", "maybe"}).exitCode, 2);
  EXPECT_EQ(RunCli({"restore"}).exitCode, 2);
}

TEST_F(CliRestoreTest, AHostileArchiveIsReportedAndWritesNothingOutside) {
  const std::string archive = zip(
      "evil.zip",
      BuildZip(
          {{"good.doc", "g"}, {"../../evil.doc", "x"}, {"l", "/", 0, true}, {"l/etc/evil", "x"}}));
  dir.mkdir("out");
  const auto before = tree(dir.path());
  const auto r = RunCli({"restore", archive, "--to", dir.str("out")});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("failed: ../../evil.doc (refused: the path leaves its folder"),
            std::string::npos)
      << r.err;
  auto after = tree(dir.path());
  for (const auto& p : before)
    after.erase(p);
  EXPECT_EQ(after, std::set<std::string>{"out/good.doc"});
}

TEST_F(CliRestoreTest, CtrlCStopsWithNothingHalfWritten) {
  std::vector<ManifestTestFile> files;
  for (int i = 0; i < 4; ++i) {
    const std::string name = "big" + std::to_string(i) + ".doc";
    files.push_back({"C:\\Users\\alice\\" + name, name, std::string(8 << 20, 'a' + i)});
  }
  const std::string archive = zip("big.zip", BuildTarnwickZip({}, files));
  files.clear();
  CliProcess cli({"restore", archive, "--to", dir.str("out")});
  cli.WaitForOutput();  // the plan is printed: the run begins
  kill(cli.pid(), SIGINT);
  EXPECT_EQ(cli.Wait(), 130) << cli.err;
  if (fs::exists(dir / "out")) {
    for (const auto& p : tree(dir / "out"))
      EXPECT_EQ(p.rfind(".tw", 0), std::string::npos) << "a temporary file is left: " << p;
  }
}

}  // namespace
}  // namespace tarnwick::test
