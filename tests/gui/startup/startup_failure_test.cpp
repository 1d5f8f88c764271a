// The desktop program's start-up when the settings file cannot be written beside it.
#include <gtest/gtest.h>

#include <QApplication>

#include "core/common/process_state.h"
#include "gui/app/app_main.h"
#include "gui/common/app_title.h"
#include "gui/support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace tarnwick {
namespace {

TEST(GuiStartup, UnwritableSettingsShowsTheErrorAndOpensNoWindow) {
  ResetProcessState();
  int argc = 1;
  char name[] = "tarnwick";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  test::ScriptedPrompts prompts;
  test::TempDir dir;
  dir.mkdir("Settings.ini");  // a folder where the file should be: it cannot be written

  EXPECT_EQ(gui::Main(app, QString::fromStdString(dir.str())), 1);

  ASSERT_EQ(prompts.asked().size(), 1u);
  const auto& box = prompts.asked()[0].message;
  EXPECT_EQ(box.text, "You need to be an administrator to run this program.");
  EXPECT_EQ(box.caption, gui::AppTitle());
  EXPECT_EQ(box.icon, gui::PromptIcon::Error);
  EXPECT_EQ(box.buttons, gui::PromptButtons::Ok);
  EXPECT_TRUE(box.foreground);
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

}  // namespace
}  // namespace tarnwick
