#include "app/main/main_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/support/scripted_answers.h"
#include "core/platform/system.h"
#include "core/settings/app_state.h"
#include "core/settings/settings.h"
#include "support/temp_dir.h"

namespace tarnwick::app {
namespace {

using testing::ScriptedAnswers;
using test::TempDir;

TEST(PrepareScan, FillsTheRequestAndEndsTheFolderInOneSeparator) {
  const std::string sep(1, platform::kPathSeparator);
  gExtList = {"*.doc", "*.xls"};
  struct Case {
    std::string typed, root;
  } cases[] = {{"", sep}, {"data", "data" + sep}, {"data" + sep, "data" + sep}};
  for (const Case& c : cases) {
    SearchParams params;
    params.MatchCount = 5;
    params.ScannedCount = 6;
    params.TotalBytes = 7;
    std::string root;
    PrepareScan(c.typed, true, false, params, root);
    EXPECT_EQ(root, c.root) << c.typed;
    EXPECT_TRUE(params.Recurse);
    EXPECT_TRUE(params.IgnoreTemp);
    EXPECT_FALSE(params.IgnoreSys);
    EXPECT_EQ(params.Pattern, "*.doc;*.xls");
    EXPECT_EQ(params.MatchCount + params.ScannedCount, 0);
    EXPECT_EQ(params.TotalBytes, 0u);
  }
  gExtList.clear();
}

TEST(ConfirmExit, AsksTheExitQuestionAndLeavesUnlessNo) {
  for (const Answer a : {Answer::Yes, Answer::No}) {
    ScriptedAnswers answers;
    answers.answer(a);
    EXPECT_EQ(ConfirmExit(answers), a == Answer::Yes);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].text, "Are you sure you want to exit?");
    EXPECT_EQ(answers.asked[0].caption, "Tarnwick");
    EXPECT_EQ(answers.asked[0].icon, Icon::Question);
    EXPECT_EQ(answers.asked[0].buttons, Buttons::YesNo);
  }
}

// The settings are written before the window hides, and the splash lasts 3000 ms.
TEST(RunExitSequence, WritesTheThreeSettingsThenHidesThenShowsTheSplash) {
  TempDir dir;
  const std::string file = dir.str("Settings.ini");
  struct View final : ExitView {
    std::string file;
    std::vector<std::string> steps;
    void Hide() override {
      steps.push_back("hide:" + ReadSetting(file, kSettingsSection, "ignoretemp"));
    }
    void ShowSplash(int ms) override { steps.push_back("splash:" + std::to_string(ms)); }
  } view;
  view.file = file;
  gExtensions = "*.doc;*.txt";
  RunExitSequence(file, true, false, view);
  EXPECT_EQ(view.steps, (std::vector<std::string>{"hide:1", "splash:3000"}));
  EXPECT_EQ(ReadSetting(file, kSettingsSection, "extensions"), "*.doc;*.txt");
  EXPECT_EQ(ReadSetting(file, kSettingsSection, "ignoresys"), "0");
  gExtensions.clear();
}

}  // namespace
}  // namespace tarnwick::app
