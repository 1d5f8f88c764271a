// tarnwick-cli zip and copy as a child process: the engine's lines, the archive every reader
// opens, the exit codes, a file that changes while it is archived, Ctrl+C, and the copy with its
// folder structure and --overwrite.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "cli/run_cli.h"
#include "cli/scan/cli_process.h"
#include "core/export/export_fixtures.h"
#include "core/export/zip_reader.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> withScanOptions(std::vector<std::string> args,
                                         const std::string& patterns) {
  for (const char* a : {"--patterns", patterns.c_str(), "--no-ignore-temp", "--no-ignore-sys"}) {
    args.push_back(a);
  }
  return args;
}

class CliExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    a = dir.write("scan/a.doc", TextBytes(20000));
    b = dir.write("scan/sub/B.PDF", RandomBytes(3000));
    dir.write("scan/x.txt", "not matched");
    archive = (dir / "out.zip").string();
  }
  TempDir dir;
  fs::path a, b;
  std::string archive;
};

TEST_F(CliExportTest, ZipArchivesEveryMatchAndPrintsTheEngineLines) {
  const auto r = RunCli(withScanOptions({"zip", archive, (dir / "scan").string()}, "*.doc;*.pdf"));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("adding: " + FullEntryName(a) + " (deflated "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("adding: " + FullEntryName(b) + " (stored 0%)\n"), std::string::npos);
  EXPECT_NE(r.err.find("Successfully archived all files into " + archive), std::string::npos);
  // Rows come in the order the file system lists them; the manifest comes last.
  std::string error;
  const auto reader = zipformat::ZipReader::OpenPath(archive, error);
  ASSERT_TRUE(reader) << error;
  std::vector<ExpectedEntry> expected;
  for (const auto& entry : reader->Entries()) {
    const std::string& name = entry.record.name;
    if (name == "tarnwick-manifest.txt") {
      expected.push_back({name, entry.record.size, std::nullopt, std::nullopt});
      continue;
    }
    const fs::path& p = name == FullEntryName(a) ? a : b;
    expected.push_back({name, fs::file_size(p), ModifiedTime(p), p});
  }
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_NE(expected[0].name, expected[1].name);
  EXPECT_EQ(expected[2].name, "tarnwick-manifest.txt");
  EXPECT_EQ(CheckWithAllReaders(archive, expected), "");
  zipformat::EntryStatus status{};
  const std::string manifest = reader->ReadEntryText(2, status);
  EXPECT_NE(manifest.find("\nScan folder: " + (dir / "scan").string() + "/\n"), std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find("\nPatterns: *.doc;*.pdf\n"), std::string::npos);
  EXPECT_NE(manifest.find("\t" + a.string() + "\n"), std::string::npos);

  const auto unchecked = RunCli(withScanOptions(
      {"zip", (dir / "unchecked.zip").string(), (dir / "scan").string(), "--no-verify"}, "*.doc"));
  EXPECT_EQ(unchecked.exitCode, 0) << unchecked.err;
}

TEST_F(CliExportTest, NothingToArchiveMakesNothingAndExits2) {
  dir.write("out.zip", "old");
  const auto r = RunCli(withScanOptions({"zip", archive, (dir / "scan").string()}, "*.none"));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.out.find("zip error: Nothing to do!"), std::string::npos);
  EXPECT_EQ(TempDir::read(archive), "old");
  EXPECT_EQ(RunCli({"zip"}).exitCode, 2);
}

TEST_F(CliExportTest, AFileThatChangesWhileArchivedIsLeftOutAndExits1) {
  const auto growing = dir.write("scan/growing.doc", TextBytes(24 << 20));
  std::atomic<bool> done{false};
  std::thread writer([&] {
    std::ofstream out(growing, std::ios::app | std::ios::binary);
    while (!done) {
      out << "more text\n" << std::flush;
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
  });
  const auto r = RunCli(withScanOptions({"zip", archive, (dir / "scan").string()}, "*.doc;*.pdf"));
  done = true;
  writer.join();
  EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
  EXPECT_NE(
      r.out.find("zip warning: left out, changed while it was being read: " + growing.string()),
      std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("Archived 2 of 3 files into " + archive), std::string::npos) << r.err;
  auto listed = ListWithBsdtar(archive);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"tarnwick-manifest.txt", FullEntryName(a),
                                              FullEntryName(b)}));
  EXPECT_EQ(RunCommand("unzip -tqq " + Quote(archive)).exitCode, 0);
}

TEST_F(CliExportTest, CtrlCCancelsAndLeavesTheOldArchiveAndNoPartialFile) {
  for (int i = 0; i < 12; ++i)
    dir.write("scan/big" + std::to_string(i) + ".doc", TextBytes(8 << 20, i));
  dir.write("out.zip", "old");
  const auto before = FolderNames(dir.path());
  CliProcess cli(withScanOptions({"zip", archive, (dir / "scan").string()}, "*.doc"));
  cli.WaitForOutput();  // the first "adding" line: the archive run is under way
  kill(cli.pid(), SIGINT);
  EXPECT_EQ(cli.Wait(), 130) << cli.out << cli.err;
  EXPECT_NE(cli.out.find("zip error: Interrupted (aborting)"), std::string::npos) << cli.out;
  EXPECT_EQ(TempDir::read(archive), "old");
  EXPECT_EQ(FolderNames(dir.path()), before);
}

TEST_F(CliExportTest, CopyKeepsTheStructureAndReplacesOnlyWithOverwrite) {
  const std::string dest = (dir / "PC1").string();
  const auto copy = [&](bool overwrite) {
    std::vector<std::string> args = {"copy", dest, (dir / "scan").string()};
    if (overwrite)
      args.push_back("--overwrite");
    return RunCli(withScanOptions(args, "*.doc;*.pdf"));
  };
  auto r = copy(false);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(TempDir::read(dir / "PC1/a.doc"), TempDir::read(a));
  EXPECT_EQ(TempDir::read(dir / "PC1/sub/B.PDF"), TempDir::read(b));
  EXPECT_EQ(ModifiedTime(dir / "PC1/a.doc"), ModifiedTime(a));
  EXPECT_NE(r.err.find("Successfully copied all files to the migration folder"), std::string::npos);

  dir.write("PC1/a.doc", "changed");
  fs::remove(dir / "PC1/sub/B.PDF");
  r = copy(false);  // a.doc is there already: kept, reported
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(TempDir::read(dir / "PC1/a.doc"), "changed");
  EXPECT_NE(r.err.find("a file of that name is there already"), std::string::npos) << r.err;
  r = copy(true);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(TempDir::read(dir / "PC1/a.doc"), TempDir::read(a));
}

}  // namespace
}  // namespace tarnwick::test
