// The start-up check and the settings read into the process-wide state.
#include "core/settings/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/common/process_state.h"
#include "core/settings/app_state.h"
#include "support/temp_dir.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

class Startup : public testing::Test {
 protected:
  void SetUp() override { ResetProcessState(); }
  void TearDown() override { ResetProcessState(); }

  bool check(const std::string& folder) {
    return CheckPrerequisites(folder, [this](const std::string& m) { messages.push_back(m); });
  }
  std::vector<std::string> messages;
};

TEST_F(Startup, FirstStartWritesTheDefaultFileAndLoadsIt) {
  TempDir dir;
  ASSERT_TRUE(check(dir.str()));
  EXPECT_TRUE(messages.empty());
  const auto path = SettingsPath(dir.str());
  EXPECT_EQ(TempDir::read(path), DefaultSettingsBytes());
  EXPECT_EQ(fs::file_size(path), 276u);

  LoadSettingsState(path);
  EXPECT_EQ(gExtList.size(), 35u);
  EXPECT_EQ(gExtensions.size(), 229u);
  EXPECT_EQ(gExtList.front(), "*.url");
  EXPECT_EQ(gExtList[8], "*.xlsx");
  EXPECT_EQ(gExtList[12], "*.xlsx");
  EXPECT_EQ(gExtList.back(), "*.xps");
  EXPECT_TRUE(gbIgnoreTemp);
  EXPECT_TRUE(gbIgnoreSys);
  EXPECT_EQ(gTempFolders[1], "temporary internet files");
  EXPECT_EQ(gSysFolders[6], "cmdcons");
}

TEST_F(Startup, ExistingFileIsNeverRewritten) {
  TempDir dir;
  const auto path = dir.write("Settings.ini", "not a settings file at all\x01");
  ASSERT_TRUE(check(dir.str()));
  EXPECT_EQ(TempDir::read(path), "not a settings file at all\x01");
  EXPECT_TRUE(messages.empty());
}

TEST_F(Startup, UnwritableFolderReportsOnceAndFails) {
  TempDir dir;
  dir.mkdir("Settings.ini");  // a folder of that name counts as missing, and cannot be written
  EXPECT_FALSE(check(dir.str()));
  EXPECT_EQ(messages,
            std::vector<std::string>{"You need to be an administrator to run this program."});

  messages.clear();
  dir.write("file", "x");
  EXPECT_FALSE(check((dir / "file").string()));  // the "folder" is a file
  EXPECT_EQ(messages.size(), 1u);
}

struct SwitchCase {
  std::string line;
  bool on;
};

TEST_F(Startup, OnlyTheExactTextOneTurnsASwitchOn) {
  const std::vector<SwitchCase> cases = {{"ignoretemp=1", true},    {"ignoretemp= 1 ", true},
                                         {"ignoretemp=01", false},  {"ignoretemp=true", false},
                                         {"ignoretemp=yes", false}, {"ignoretemp=", false},
                                         {"other=1", false}};
  TempDir dir;
  for (const auto& c : cases) {
    const auto path = dir.write("s.ini", "[app]\r\n" + c.line + "\r\n");
    LoadSettingsState(path.string());
    EXPECT_EQ(gbIgnoreTemp, c.on) << c.line;
    EXPECT_FALSE(gbIgnoreSys) << c.line;
  }
}

TEST_F(Startup, PatternListSplitsAtEverySemicolon) {
  using L = std::vector<std::string>;
  EXPECT_EQ(SplitPatterns(""), L{});
  EXPECT_EQ(SplitPatterns("*.doc"), L{"*.doc"});
  EXPECT_EQ(SplitPatterns("*.doc;"), (L{"*.doc", ""}));
  EXPECT_EQ(SplitPatterns("*.doc;;*.pdf"), (L{"*.doc", "", "*.pdf"}));
  EXPECT_EQ(SplitPatterns(";"), (L{"", ""}));
  EXPECT_EQ(SplitPatterns(" *.A ;b"), (L{" *.A ", "b"}));
  for (const char* text : {"", "*.doc;", ";;", "a;b;c"}) {
    EXPECT_EQ(JoinPatterns(SplitPatterns(text)), text);
  }
}

TEST_F(Startup, LongPatternListIsLoadedInFull) {
  TempDir dir;
  std::string list;
  for (int i = 0; i < 100; ++i)
    list += (i ? ";*.e" : "*.e") + std::to_string(i);
  ASSERT_GT(list.size(), 254u);
  const auto path = dir.write("s.ini", "[app]\r\nextensions=" + list + "\r\n");
  LoadSettingsState(path.string());
  EXPECT_EQ(gExtensions, list);
  EXPECT_EQ(gExtList.size(), 100u);
  EXPECT_EQ(gExtList.back(), "*.e99");
}

}  // namespace
}  // namespace tarnwick
