#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "cli/run_cli.h"
#include "cli/scan/cli_process.h"
#include "support/temp_dir.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kNoSwitches = {"--no-ignore-temp", "--no-ignore-sys"};

std::vector<std::string> scanArgs(const std::string& folder, const std::string& patterns,
                                  std::vector<std::string> extra = kNoSwitches) {
  std::vector<std::string> args = {"scan", folder, "--patterns", patterns};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    result.push_back(line);
  return result;
}

TEST(CliScan, PrintsRowsOnStdoutAndTheSummaryOnStderr) {
  TempDir dir;
  dir.write("a.doc", std::string(1536, 'x'));
  dir.write("x.txt", "x");
  dir.write("sub/B.PDF", std::string(2048, 'x'));
  // FOLDER without a final separator: the Path column still ends in one.
  const auto r = RunCli(scanArgs(dir.str(), "*.doc;*.pdf"));

  EXPECT_EQ(r.exitCode, 0);
  const std::vector<std::string> rows = lines(r.out);
  EXPECT_EQ(std::set<std::string>(rows.begin(), rows.end()),
            (std::set<std::string>{"a.doc\t" + dir.str() + "/\t1.5 KB",
                                   "B.PDF\t" + dir.str() + "/sub/\t2 KB"}));
  // root: . .. a.doc x.txt sub; sub: . .. B.PDF. No progress line: stderr is not a terminal.
  EXPECT_EQ(r.err, "2 matches from a total of 8 scanned files - 3.5 KB\n");
  for (const auto& row : rows) {
    const auto tab1 = row.find('\t');
    const auto tab2 = row.find('\t', tab1 + 1);
    EXPECT_TRUE(fs::is_regular_file(row.substr(tab1 + 1, tab2 - tab1 - 1) + row.substr(0, tab1)));
  }
}

TEST(CliScan, SwitchesChooseWhichFoldersAreEntered) {
  TempDir dir;
  dir.write("Temp/t.doc");
  dir.write("windows/w.doc");
  dir.write("docs/d.doc");
  const struct {
    std::vector<std::string> switches;
    size_t rows;
  } cases[] = {
      {{"--no-ignore-temp", "--no-ignore-sys"}, 3},
      {{"--ignore-temp", "--no-ignore-sys"}, 2},
      {{"--no-ignore-temp", "--ignore-sys"}, 2},
      {{"--ignore-temp", "--ignore-sys"}, 1},
      {{"--ignore-temp", "--ignore-sys", "--no-ignore-temp"}, 2},  // the last one counts
  };
  for (const auto& c : cases) {
    const auto r = RunCli(scanArgs(dir.str(), "*.doc", c.switches));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(lines(r.out).size(), c.rows) << testing::PrintToString(c.switches);
  }
}

TEST(CliScan, WhatTheCommandLineLeavesOpenComesFromTheSettingsFile) {
  TempDir dir;
  dir.write("Temp/t.doc");
  dir.write("windows/w.doc");
  dir.write("docs/d.doc");
  dir.write("docs/d.pdf");
  const auto ini =
      dir.write("s.ini", "[app]\r\nextensions=*.doc;*.xls\r\nignoretemp=1\r\nignoresys=0\r\n");
  const std::vector<std::string> base = {"scan", (dir / "Temp").parent_path().string(),
                                         "--settings", ini.string()};
  const struct {
    std::vector<std::string> extra;
    std::set<std::string> names;
  } cases[] = {
      {{}, {"w.doc", "d.doc"}},
      {{"--patterns", "*.pdf"}, {"d.pdf"}},
      {{"--no-ignore-temp"}, {"t.doc", "w.doc", "d.doc"}},
      {{"--ignore-sys"}, {"d.doc"}},
  };
  for (const auto& c : cases) {
    auto args = base;
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::set<std::string> names;
    for (const auto& row : lines(r.out))
      names.insert(row.substr(0, row.find('\t')));
    EXPECT_EQ(names, c.names) << testing::PrintToString(c.extra);
  }
}

TEST(CliScan, UsageErrorsAndHelp) {
  const struct {
    std::vector<std::string> args;
    int exitCode;
  } cases[] = {
      {{"scan", "--bogus"}, 2},
      {{"scan", "/a", "/b", "--patterns", "*"}, 2},
      {{"scan", "/tmp", "--patterns"}, 2},
      {{"scan", "/tmp", "--settings", "/nonexistent/Settings.ini"}, 2},
      {{"scan", "--help"}, 0},
  };
  for (const auto& c : cases) {
    const auto r = RunCli(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << testing::PrintToString(c.args);
    EXPECT_NE((c.exitCode == 0 ? r.out : r.err).find("usage: tarnwick-cli"), std::string::npos);
  }
}

TEST(CliScan, AFolderThatCannotBeReadIsAWarningAndAFailure) {
  TempDir dir;
  const auto r = RunCli(scanArgs(dir.str() + "/missing", "*"));
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "tarnwick-cli: warning: cannot read " + dir.str() +
                       "/missing/: No such file or directory\n"
                       "0 matches from a total of 0 scanned files - 0 KB\n");
}

TEST(CliScan, AListThatCannotBeWrittenIsAFailure) {
  TempDir dir;
  dir.write("a.doc");
  CliProcess p(scanArgs(dir.str(), "*.doc"), "/dev/full");
  EXPECT_EQ(p.Wait(), 2);
  EXPECT_NE(p.err.find("could not write"), std::string::npos);
}

TEST(CliScan, CtrlCCancelsKeepsWhatWasFoundAndExits130) {
  TempDir dir;
  // More rows than the pipe and the program's buffer hold, so the program is still scanning
  // (blocked on its output) when Ctrl+C arrives.
  const std::string longName(80, 'n');
  for (int f = 0; f < 30; ++f) {
    for (int i = 0; i < 100; ++i) {
      dir.write("f" + std::to_string(f) + "/" + longName + std::to_string(i) + ".doc");
    }
  }
  CliProcess p(scanArgs(dir.str(), "*.doc"));
  p.WaitForOutput();
  kill(p.pid(), SIGINT);
  EXPECT_EQ(p.Wait(), 130);

  const auto rows = lines(p.out);
  EXPECT_LT(rows.size(), 3000u);
  EXPECT_EQ(p.err.rfind(std::to_string(rows.size()) + " matches from a total of ", 0), 0u) << p.err;
}

}  // namespace
}  // namespace tarnwick::test
