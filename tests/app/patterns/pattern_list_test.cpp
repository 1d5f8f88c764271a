#include "app/patterns/pattern_list.h"

#include <gtest/gtest.h>

#include "app/support/scripted_answers.h"
#include "core/settings/app_state.h"

namespace tarnwick::app {
namespace {

using testing::ScriptedAnswers;

class PatternListTest : public ::testing::Test {
 protected:
  void SetUp() override { gExtList = {"*.doc", "*.xls", "*.txt"}; }
  void TearDown() override {
    gExtList.clear();
    gExtensions.clear();
  }
};

TEST_F(PatternListTest, ConfirmingNeedsStarDotAndOneMoreCharacter) {
  EXPECT_FALSE(PatternCanBeConfirmed("*."));
  EXPECT_FALSE(PatternCanBeConfirmed("a.doc"));
  EXPECT_TRUE(PatternCanBeConfirmed("*.d"));
  EXPECT_TRUE(PatternCanBeConfirmed("*.1"));  // refused later, with its message
}

TEST_F(PatternListTest, RefusesAllButAsciiLettersAndDuplicatesWithTheirMessages) {
  PatternList list;
  list.Select(1);
  struct Case {
    const char* text;
    bool editing;
    const char* message;  // nullptr: accepted
  } cases[] = {
      {"*.pdf", false, nullptr},
      {"*.PDF", false, nullptr},
      {"*.do1", false, "Please enter a valid file extension"},
      {"*.d c", false, "Please enter a valid file extension"},
      {"*.d*", false, "Please enter a valid file extension"},
      {"*.\xc3\xa9t", false, "Please enter a valid file extension"},
      {"*.DOC", false, "The file extension '*.doc' is already in the list."},
      {"*.xls", false, "The file extension '*.xls' is already in the list."},
      // Editing, the selected entry may keep its own text, but not take another's.
      {"*.XLS", true, nullptr},
      {"*.doc", true, "The file extension '*.doc' is already in the list."},
  };
  for (const Case& c : cases) {
    const auto refusal = list.Refusal(c.text, c.editing);
    if (c.message == nullptr) {
      EXPECT_FALSE(refusal) << c.text;
    } else {
      ASSERT_TRUE(refusal) << c.text;
      EXPECT_EQ(refusal->text, c.message);
      EXPECT_EQ(refusal->icon, Icon::Exclamation);
      EXPECT_EQ(refusal->buttons, Buttons::Ok);
    }
  }
}

TEST_F(PatternListTest, AddEditAndRemoveKeepTheSelectionAndTheSharedList) {
  PatternList list;
  ScriptedAnswers answers;
  EXPECT_TRUE(list.Add("*.PDF", answers));
  EXPECT_EQ(list.Selected(), 3u);
  EXPECT_EQ(gExtensions, "*.doc;*.xls;*.txt;*.pdf");
  EXPECT_FALSE(list.Add("*.pdf", answers));  // refused and asked
  EXPECT_EQ(answers.asked.size(), 1u);
  EXPECT_EQ(list.Count(), 4u);

  list.Select(0);
  EXPECT_TRUE(list.EditSelected("*.Rtf", answers));
  EXPECT_EQ(gExtList[0], "*.rtf");

  // Removing selects the entry that followed, or the new last one.
  list.Select(1);
  list.RemoveSelected();
  EXPECT_EQ(list.Selected(), 1u);
  EXPECT_EQ(gExtensions, "*.rtf;*.txt;*.pdf");
  list.Select(2);
  list.RemoveSelected();
  EXPECT_EQ(list.Selected(), 1u);
  list.RemoveSelected();
  list.RemoveSelected();
  EXPECT_FALSE(list.Selected());
  EXPECT_FALSE(list.CanEditOrRemove());
  EXPECT_EQ(gExtensions, "");
  list.RemoveSelected();  // nothing selected: nothing happens
}

}  // namespace
}  // namespace tarnwick::app
