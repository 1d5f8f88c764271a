// A run from start to end: the first start in an empty folder, the question when closing, the
// settings written at exit and shown again at the next start.
#include <QSignalSpy>

#include "core/settings/settings.h"
#include "gui/app/app_main.h"
#include "main_window_fixture.h"

namespace tarnwick::test {
namespace {

using gui::PromptAnswer;
using gui::PromptButtons;
using gui::PromptIcon;

class StartAndExitTest : public MainWindowTest {
 protected:
  gui::frmMain& StartProgram() {
    ResetProcessState();
    EXPECT_TRUE(gui::LoadProgramState(QString::fromStdString(dir.str())));
    return OpenOnCurrentState();
  }
  std::string Setting(const char* key) const {
    return ReadSetting(settingsFile(), kSettingsSection, key);
  }
};

TEST_F(StartAndExitTest, FirstStartShowsTheDefaultPatternsWithBothSwitchesOn) {
  StartProgram();
  EXPECT_EQ(TempDir::read(settingsFile()), std::string(DefaultSettingsBytes()));
  const QStringList entries = Entries();
  ASSERT_EQ(entries.size(), 35);
  EXPECT_EQ(entries.first(), QStringLiteral("*.url"));
  EXPECT_EQ(entries[8], QStringLiteral("*.xlsx"));
  EXPECT_EQ(entries[12], QStringLiteral("*.xlsx"));
  EXPECT_EQ(entries.last(), QStringLiteral("*.xps"));
  EXPECT_TRUE(Find<QCheckBox>("chkIgnoreTemp")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("chkIgnoreSys")->isChecked());
}

// Answering No keeps the window as it is and writes nothing.
TEST_F(StartAndExitTest, AnsweringNoKeepsTheWindowAndWritesNothing) {
  StartProgram();
  QSignalSpy unloaded(window.get(), &gui::frmMain::Unloaded);
  window->show();
  Find<QCheckBox>("chkIgnoreSys")->setChecked(false);
  AddPattern(QStringLiteral("*.txt"));
  const std::string before = TempDir::read(settingsFile());
  prompts.answer(PromptAnswer::No);

  EXPECT_FALSE(window->close());

  ASSERT_EQ(prompts.asked().size(), 1u);
  const gui::MessageRequest& asked = prompts.asked()[0].message;
  EXPECT_EQ(asked.text, QStringLiteral("Are you sure you want to exit?"));
  EXPECT_EQ(asked.caption, QStringLiteral("Tarnwick"));
  EXPECT_EQ(asked.icon, PromptIcon::Question);
  EXPECT_EQ(asked.buttons, PromptButtons::YesNo);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Entries().size(), 36);
  EXPECT_FALSE(Find<QCheckBox>("chkIgnoreSys")->isChecked());
  EXPECT_EQ(TempDir::read(settingsFile()), before);
  EXPECT_EQ(splashes, 0);
  EXPECT_EQ(unloaded.count(), 0);
  window->hide();
}

// Closing after a change (with the pattern dialog used, so it lingers hidden) writes the three
// keys, hides the window before the splash and unloads; the next start shows what was left.
TEST_F(StartAndExitTest, ClosingWritesTheSettingsAndTheNextStartShowsThem) {
  StartProgram();
  QSignalSpy unloaded(window.get(), &gui::frmMain::Unloaded);
  window->show();
  Find<QCheckBox>("chkIgnoreSys")->setChecked(false);
  AddPattern(QStringLiteral("*.TXT"));
  prompts.answer(PromptAnswer::Yes);

  EXPECT_TRUE(window->close());

  EXPECT_EQ(splashes, 1);
  EXPECT_FALSE(windowVisibleAtSplash);
  EXPECT_EQ(unloaded.count(), 1);
  EXPECT_EQ(Setting("extensions"), std::string(DefaultSettingsBytes().substr(18, 229)) + ";*.txt");
  EXPECT_EQ(Setting("ignoretemp"), "1");
  EXPECT_EQ(Setting("ignoresys"), "0");

  StartProgram();
  ASSERT_EQ(Entries().size(), 36);
  EXPECT_EQ(Entries().last(), QStringLiteral("*.txt"));
  EXPECT_TRUE(Find<QCheckBox>("chkIgnoreTemp")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("chkIgnoreSys")->isChecked());
}

// Closing without any change writes the keys anyway, with the values they had; an emptied list
// is written as an empty value and starts the next run with an empty list.
TEST_F(StartAndExitTest, ClosingWithoutChangesKeepsTheFileAndAnEmptyListStaysEmpty) {
  StartProgram();
  prompts.answer(PromptAnswer::Yes);
  window->close();
  EXPECT_EQ(TempDir::read(settingsFile()), std::string(DefaultSettingsBytes()));

  StartProgram();
  gui::SelectPosition(*list(), 0);
  while (list()->count() > 0)
    button("cmdExtRmv")->click();
  prompts.answer(PromptAnswer::Yes);
  window->close();
  EXPECT_EQ(Setting("extensions"), "");

  StartProgram();
  EXPECT_TRUE(Entries().isEmpty());
}

}  // namespace
}  // namespace tarnwick::test
