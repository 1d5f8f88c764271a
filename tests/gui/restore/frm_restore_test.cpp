// The restore window: the plan reaches the list, a change of mapping re-plans, the run reports
// each row and the outcome, the conflict question reaches its answerer with "for all", and
// Cancel stops the worker with nothing half-written.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

#include "core/restore/test_archive.h"
#include "gui/restore/frm_restore.h"

namespace tarnwick::gui {
namespace {

namespace fs = std::filesystem;

struct RestoreWindowTest : ::testing::Test {
  test::TempDir dir;
  std::unique_ptr<frmRestore> window;
  std::vector<app::ConflictQuestion> asked;
  std::optional<app::RestoreOutcome> shown;

  void open(const std::vector<test::ManifestTestFile>& files) {
    const auto zip = dir.write("old.zip", test::BuildTarnwickZip({}, files));
    restore::HereLayout here;
    here.folders = platform::ParseXdgUserDirs("", dir.str("home"));
    auto session = std::make_unique<app::RestoreSession>(here);
    ASSERT_TRUE(session->Open({test::Utf8(zip)})) << session->Error();
    window = std::make_unique<frmRestore>(std::move(session), QStringLiteral("old.zip"));
    window->SetConflictAsker([this](QWidget*, const app::ConflictQuestion& q) {
      asked.push_back(q);
      return app::ConflictAnswer{restore::ConflictChoice::Skip, true};
    });
    window->SetOutcomeShower(
        [this](QWidget*, const app::RestoreOutcome& outcome) { shown = outcome; });
    window->SetFolderChooser(
        [this](QWidget*, const std::string&) { return std::optional(dir.str("elsewhere")); });
  }
  void runToTheEnd() {
    QEventLoop loop;
    QObject::connect(window.get(), &frmRestore::Finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    window->StartRestore();
    loop.exec();
    ASSERT_FALSE(window->Running());
    QCoreApplication::processEvents();  // the outcome shower runs after Finished
  }
  QTreeWidget* plan() const { return window->findChild<QTreeWidget*>(QStringLiteral("lvwPlan")); }
  QString cell(int row, int column) const { return plan()->topLevelItem(row)->text(column); }
};

const std::vector<test::ManifestTestFile> kFiles = {
    {"C:\\Users\\alice\\Documents\\a.doc", "Users/alice/Documents/a.doc", "A"},
    {"C:\\Users\\alice\\Desktop\\b.doc", "Users/alice/Desktop/b.doc", "B"},
    {"C:\\Users\\alice\\Desktop\\c.doc", "Users/alice/Desktop/c.doc", "C"},
};

TEST_F(RestoreWindowTest, ShowsThePlanRunsItAndReportsEachRow) {
  open(kFiles);
  ASSERT_EQ(plan()->topLevelItemCount(), 3);
  EXPECT_EQ(cell(0, 0), QStringLiteral("C:\\Users\\alice\\Documents\\a.doc"));
  EXPECT_EQ(cell(0, 1), QString::fromStdString(dir.str("home") + "/Documents/a.doc"));
  EXPECT_EQ(cell(0, 2), QStringLiteral("new"));
  dir.write("home/Desktop/b.doc", "mine");
  dir.write("home/Desktop/c.doc", "mine too");
  auto* combo = window->findChild<QComboBox*>(QStringLiteral("cboConflict"));
  combo->setCurrentIndex(combo->findText(QStringLiteral("Ask")));

  runToTheEnd();
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->summary, "1 restored, 0 already there, 0 kept both, 2 skipped, 0 failed.");
  // Asked once: the answer was for all.
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].text.find("b.doc"), std::string::npos);
  EXPECT_EQ(cell(0, 2), QStringLiteral("restored"));
  EXPECT_EQ(cell(1, 2), QStringLiteral("skipped: a different file is already there"));
  EXPECT_EQ(test::TempDir::read(dir / "home/Desktop/b.doc"), "mine");
}

// Files already there of the same size are compared off the window's thread: the list is shown
// with "checking..." and completed when the comparison ends.
TEST_F(RestoreWindowTest, TheStatusColumnIsCompletedOffTheWindowThread) {
  dir.write("home/Desktop/b.doc", "B");
  dir.write("home/Desktop/c.doc", "X");
  open(kFiles);
  EXPECT_EQ(cell(0, 2), QStringLiteral("new"));
  if (window->Checking()) {
    EXPECT_EQ(cell(2, 2), QStringLiteral("checking..."));
    QEventLoop loop;
    QObject::connect(window.get(), &frmRestore::PlanChecked, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
  }
  EXPECT_FALSE(window->Checking());
  EXPECT_EQ(cell(1, 2), QStringLiteral("already there"));
  EXPECT_EQ(cell(2, 2), QStringLiteral("a different file is there"));
}

TEST_F(RestoreWindowTest, ChangingAMappingReplansTheList) {
  open(kFiles);
  // The first mapping is Documents; double-clicking it asks for a folder.
  auto* table = window->findChild<QTableWidget*>(QStringLiteral("tblMappings"));
  ASSERT_NE(table, nullptr);
  emit table->cellDoubleClicked(0, 1);
  EXPECT_EQ(cell(0, 1), QString::fromStdString(dir.str("elsewhere") + "/a.doc"));
  EXPECT_EQ(cell(1, 1), QString::fromStdString(dir.str("home") + "/Desktop/b.doc"));
}

TEST_F(RestoreWindowTest, CancelLeavesNoHalfWrittenFile) {
  std::vector<test::ManifestTestFile> big;
  for (int i = 0; i < 3; ++i)
    big.push_back({"C:\\Users\\alice\\big" + std::to_string(i) + ".doc",
                   "big" + std::to_string(i) + ".doc", std::string(6 << 20, 'a' + i)});
  open(big);
  QEventLoop loop;
  QObject::connect(window.get(), &frmRestore::Finished, &loop, &QEventLoop::quit);
  window->StartRestore();
  window->findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  loop.exec();
  ASSERT_FALSE(window->Running());
  if (fs::exists(dir / "home")) {
    for (const auto& e : fs::directory_iterator(dir / "home"))
      EXPECT_NE(e.path().filename().string().rfind(".tw", 0), 0u) << e.path();
  }
}

}  // namespace
}  // namespace tarnwick::gui
