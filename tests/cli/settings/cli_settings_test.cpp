// tarnwick-cli settings: printing and setting values, usage errors, the start-up check.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/run_cli.h"
#include "support/temp_dir.h"

namespace tarnwick {
namespace {

using test::RunProcess;
using test::TempDir;

TEST(CliSettings, PrintsTheThreeValuesInOrder) {
  TempDir dir;
  const auto ini = dir.write("s.ini", "[app]\r\nignoresys=0\r\nextensions=\"*.a;*.b\"\r\n");
  const auto r = test::RunCli({"settings", "--settings", ini.string()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "extensions=*.a;*.b\nignoretemp=\nignoresys=0\n");
}

TEST(CliSettings, SetWritesOneKeyAndKeepsTheRest) {
  TempDir dir;
  const auto ini = dir.write("s.ini", "[app]\r\nextensions=*.doc\r\nmine=kept\r\n");
  const auto r = test::RunCli({"settings", "set", "ignoretemp", "1", "--settings", ini.string()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(TempDir::read(ini), "[app]\r\nextensions=*.doc\r\nmine=kept\r\nignoretemp=1\r\n");
}

TEST(CliSettings, SetRefusesALineBreakAndAnUnwritableFile) {
  TempDir dir;
  const std::string before = "[app]\r\nextensions=*.doc\r\n";
  const auto ini = dir.write("s.ini", before);
  auto r = test::RunCli({"settings", "set", "extensions", "a\n[evil]", "--settings", ini.string()});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("line break"), std::string::npos) << r.err;
  EXPECT_EQ(TempDir::read(ini), before);

  dir.mkdir("folder.ini");
  r = test::RunCli({"settings", "set", "k", "v", "--settings", (dir / "folder.ini").string()});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("could not write"), std::string::npos) << r.err;
}

TEST(CliSettings, UsageErrorsExitTwoAndHelpPrintsUsage) {
  for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                {"nonsense"},
                                                                {"settings", "extra"},
                                                                {"settings", "set", "k"},
                                                                {"settings", "--settings"}}) {
    const auto r = test::RunCli(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  const auto help = test::RunCli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("settings set KEY VALUE"), std::string::npos);
}

TEST(CliSettings, WithoutAFileUsesTheOneBesideTheProgramAndCreatesItWhenMissing) {
  // A copy of the program in a fresh folder, so the test never touches the build folder's file.
  TempDir dir;
  const auto exe = dir / "tarnwick-cli";
  std::filesystem::copy_file(TARNWICK_CLI_PATH, exe);
  auto r = RunProcess({exe.string(), "settings"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(std::filesystem::file_size(dir / "Settings.ini"), 276u);
  EXPECT_EQ(r.out.substr(0, 17), "extensions=*.url;");

  // A folder where the settings file should be: the start-up message, exit 2.
  TempDir other;
  const auto exe2 = other / "tarnwick-cli";
  std::filesystem::copy_file(TARNWICK_CLI_PATH, exe2);
  other.mkdir("Settings.ini");
  r = RunProcess({exe2.string(), "settings"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("You need to be an administrator to run this program."), std::string::npos);
}

}  // namespace
}  // namespace tarnwick
