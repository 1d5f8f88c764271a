#include "gui/scan/frm_scan.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "core/common/process_state.h"
#include "core/scan/search_state.h"
#include "gui/controls/status_bar.h"
#include "gui/scan/scan_globals.h"
#include "gui/support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace tarnwick::gui {
namespace {

using test::ScriptedPrompts;

const QString kComplete = "Scanning is complete.";
const QString kCancelQuestion = "Are you sure you want to cancel the scanning process?";
const QString kUnsavedQuestion = "Files have not been saved, are you sure you want to exit?";

// A scan window whose walk is a script: the test says what the walk reports and when it lets
// events run, so a click or a close can land in the middle of a scan.
class ScriptedScanWindow : public frmScan {
 public:
  using Script = std::function<void(SearchParams&, const std::string&, SearchSink&)>;
  explicit ScriptedScanWindow(Script script) : script_(std::move(script)) {}
  std::string root;

 protected:
  void RunSearch(SearchParams& params, const std::string& folder, SearchSink& sink) override {
    root = folder;
    script_(params, folder, sink);
  }

 private:
  Script script_;
};

// Reports a match the way the walk does: counters first, then the row.
void match(SearchParams& params, SearchSink& sink, const std::string& name,
           const std::string& folder, std::uint64_t size) {
  ++params.MatchCount;
  ++params.ScannedCount;
  params.TotalBytes += size;
  sink.OnMatch(name, folder, size);
}

// Lets `action` run from the event loop at the walk's next yield, as a user's click would.
void atNextYield(std::function<void()> action) {
  QTimer::singleShot(0, std::move(action));
}

void showAndWaitForScanEnd(frmScan& window) {
  window.show();
  QElapsedTimer clock;
  clock.start();
  while (!window.cmdExport->isVisible() && clock.elapsed() < 10000) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  ASSERT_TRUE(window.cmdExport->isVisible()) << "the scan did not end";
}

QString statusText() {
  return GetStatusText(ghStatusBar, 0);
}

std::vector<std::vector<QString>> rowsOf(const frmScan& window) {
  std::vector<std::vector<QString>> rows;
  for (int r = 0; r < window.mList->ListCount(); ++r) {
    rows.push_back({window.mList->SubItemText(r, 0), window.mList->SubItemText(r, 1),
                    window.mList->SubItemText(r, 2)});
  }
  return rows;
}

void expectQuestion(const ScriptedPrompts::Asked& asked, const QString& text) {
  EXPECT_EQ(asked.message.text, text);
  EXPECT_EQ(asked.message.caption, "Tarnwick");
  EXPECT_EQ(asked.message.icon, PromptIcon::Question);
  EXPECT_EQ(asked.message.buttons, PromptButtons::YesNo);
}

class FrmScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    QLocale::setDefault(QLocale::c());
    gSearch.Recurse = true;
    gSearch.Pattern = "*.doc;*.pdf";
  }
  void TearDown() override {
    frmScan::SetExportCommand({});
    QLocale::setDefault(QLocale::c());
    ResetProcessState();
  }
  ScriptedPrompts prompts_;
};

TEST_F(FrmScanTest, OpensWithTheResultListCancelAndAnEmptyStatusBar) {
  frmScan window;
  EXPECT_EQ(window.windowTitle(), "Tarnwick");
  EXPECT_EQ(window.size(), QSize(620, 416));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  QTableView* list = window.mList->hWnd();
  EXPECT_EQ(list->geometry(), QRect(8, 8, 605, 350));
  EXPECT_TRUE(list->showGrid());
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(window.mList->View(), 1);
  ASSERT_EQ(window.mList->ColumnCount(), 3);
  const std::tuple<QString, int> columns[] = {{"Filename", 150}, {"Path", 375}, {"Size", 75}};
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(list->model()->headerData(c, Qt::Horizontal).toString(), std::get<0>(columns[c]));
    EXPECT_EQ(list->columnWidth(c), std::get<1>(columns[c]));
  }
  EXPECT_EQ(window.mList->ListCount(), 0);
  EXPECT_EQ(window.cmdCancel->text(), "Cancel");
  EXPECT_EQ(window.cmdExport->text(), "Save to zip file");
  EXPECT_EQ(window.cmdCancel->geometry(), QRect(492, 364, 117, 25));
  EXPECT_EQ(window.cmdExport->geometry(), QRect(492, 364, 117, 25));
  EXPECT_FALSE(window.cmdCancel->isHidden());
  EXPECT_TRUE(window.cmdExport->isHidden());
  EXPECT_EQ(window.cmdExport->nextInFocusChain(), window.cmdCancel);
  ASSERT_EQ(ghStatusBar, window.findChild<QStatusBar*>());
  EXPECT_EQ(ghStatusBar->geometry().bottom(), 415);
  EXPECT_EQ(ghStatusBar->geometry().left(), 0);
  EXPECT_EQ(ghStatusBar->width(), 620);
  EXPECT_GT(ghStatusBar->geometry().top(), window.cmdCancel->geometry().bottom());
  EXPECT_EQ(statusText(), "");
  EXPECT_TRUE(gScanning);
  EXPECT_FALSE(window.mbSaved);
  EXPECT_FALSE(window.mbExporting);
}

TEST_F(FrmScanTest, RealScanListsTheMatchesThenSummarisesAndConfirms) {
  test::TempDir dir;
  // A root in mixed case keeps its case here: on this file system another case names another
  // folder.
  dir.write("Mixed Root/a.doc", std::string(1536, 'x'));
  dir.write("Mixed Root/sub/B.PDF", std::string(10, 'y'));
  dir.write("Mixed Root/sub/notes.txt", "z");
  dir.write("Mixed Root/.hidden/x.doc", "not entered");
  gRootFolder = dir.str() + "/Mixed Root/";

  frmScan window;
  showAndWaitForScanEnd(window);

  using Row = std::vector<QString>;
  std::vector<Row> rows = rowsOf(window);
  std::sort(rows.begin(), rows.end());
  const QString root = QString::fromStdString(gRootFolder);
  EXPECT_EQ(rows,
            (std::vector<Row>{{"B.PDF", root + "sub/", "0.01 KB"}, {"a.doc", root, "1.5 KB"}}));
  // Entries: ".", "..", a.doc, sub, .hidden in the root; ".", "..", B.PDF, notes.txt in sub.
  EXPECT_EQ(statusText(), "2 matches from a total of 9 scanned files - 1.51 KB");
  ASSERT_EQ(prompts_.asked().size(), 1u);
  const auto& asked = prompts_.asked()[0].message;
  EXPECT_EQ(asked.text, kComplete);
  EXPECT_EQ(asked.caption, "Tarnwick");
  EXPECT_EQ(asked.icon, PromptIcon::Information);
  EXPECT_EQ(asked.buttons, PromptButtons::Ok);
  EXPECT_FALSE(gScanning);
  EXPECT_TRUE(window.cmdCancel->isHidden());
  EXPECT_FALSE(window.cmdExport->isEnabled());  // no export command installed
  EXPECT_TRUE(window.UnreadableFolders().empty());
  // The view shows every row once events have run after the scan.
  QApplication::processEvents();
  EXPECT_EQ(window.mList->hWnd()->model()->rowCount(), 2);
}

TEST_F(FrmScanTest, EmptyAndMissingFoldersEndLikeAnyScan) {
  test::TempDir dir;
  struct Case {
    std::string root;
    QString summary;
    std::size_t unreadable;
  };
  const Case cases[] = {
      {dir.str() + "/", "0 matches from a total of 2 scanned files - 0 KB", 0},
      {dir.str() + "/missing/", "0 matches from a total of 0 scanned files - 0 KB", 1}};
  for (const Case& c : cases) {
    ResetProcessState();
    gSearch.Recurse = true;
    gSearch.Pattern = "*.doc";
    gRootFolder = c.root;
    prompts_.clear();
    frmScan window;
    showAndWaitForScanEnd(window);
    EXPECT_EQ(statusText(), c.summary) << c.root;
    EXPECT_EQ(prompts_.messageTexts(), std::vector<QString>{kComplete});
    ASSERT_EQ(window.UnreadableFolders().size(), c.unreadable);
    if (c.unreadable != 0) {
      EXPECT_EQ(window.UnreadableFolders()[0].path, c.root);
    }
  }
}

TEST_F(FrmScanTest, CancelAnsweredYesStopsTheScanAndKeepsWhatWasFound) {
  prompts_.answer(PromptAnswer::Yes);  // cancel? Yes
  prompts_.answer(PromptAnswer::No);   // close unsaved? No
  int reportedAfterCancel = 0;
  ScriptedScanWindow window([&](SearchParams& params, const std::string& root, SearchSink& sink) {
    match(params, sink, "one.doc", root, 1024);
    match(params, sink, "two.doc", root + "sub/", 512);
    atNextYield([&] { window.cmdCancel->click(); });
    sink.Yield();
    // The walk reads the flag before every entry and stops.
    while (gScanning && reportedAfterCancel < 100) {
      match(params, sink, "more.doc", root, 1);
      ++reportedAfterCancel;
    }
    params.ScannedCount += 5;
  });
  gRootFolder = "/data/";
  showAndWaitForScanEnd(window);

  EXPECT_EQ(reportedAfterCancel, 0);
  ASSERT_EQ(prompts_.asked().size(), 1u);
  expectQuestion(prompts_.asked()[0], kCancelQuestion);
  EXPECT_EQ(window.mList->ListCount(), 2);
  EXPECT_EQ(statusText(), "2 matches from a total of 7 scanned files - 1.5 KB");
  EXPECT_TRUE(window.cmdCancel->isHidden());
  EXPECT_FALSE(gScanning);

  window.close();
  ASSERT_EQ(prompts_.asked().size(), 2u);
  expectQuestion(prompts_.asked()[1], kUnsavedQuestion);
  EXPECT_TRUE(window.isVisible());
}

TEST_F(FrmScanTest, CancelAnsweredNoLetsTheScanFinish) {
  prompts_.answer(PromptAnswer::No);
  ScriptedScanWindow window([&](SearchParams& params, const std::string& root, SearchSink& sink) {
    match(params, sink, "one.doc", root, 1024);
    atNextYield([&] { window.cmdCancel->click(); });
    sink.Yield();
    if (gScanning)
      match(params, sink, "two.doc", root, 1024);
  });
  showAndWaitForScanEnd(window);
  EXPECT_EQ(prompts_.messageTexts(), (std::vector<QString>{kCancelQuestion, kComplete}));
  EXPECT_EQ(window.mList->ListCount(), 2);
  EXPECT_EQ(statusText(), "2 matches from a total of 2 scanned files - 2 KB");
}

TEST_F(FrmScanTest, CloseDuringTheScanIsRefusedSilentlyAndRowsKeepComing) {
  bool visibleAfterClose = false;
  QString folderShown;
  ScriptedScanWindow window([&](SearchParams& params, const std::string& root, SearchSink& sink) {
    match(params, sink, "one.doc", root, 100);
    sink.OnEnterFolder(root + "first");
    sink.OnEnterFolder(root + "second");
    atNextYield([&] { window.close(); });
    sink.Yield();
    visibleAfterClose = window.isVisible();
    folderShown = statusText();
    match(params, sink, "two.doc", root + "second/", 100);
  });
  gRootFolder = "/data/";
  showAndWaitForScanEnd(window);
  EXPECT_TRUE(visibleAfterClose);
  EXPECT_EQ(folderShown, "/data/second");
  EXPECT_EQ(prompts_.messageTexts(), std::vector<QString>{kComplete});
  EXPECT_EQ(window.mList->ListCount(), 2);
  EXPECT_EQ(window.mList->SubItemText(1, 1), "/data/second/");
}

TEST_F(FrmScanTest, ClosingAfterTheScanFollowsTheSavedAndExportingFlags) {
  struct Case {
    const char* what;
    bool exporting;
    bool saved;
    std::optional<PromptAnswer> answer;  // to the unsaved question, when it is asked
    bool closes;
  };
  const Case cases[] = {{"unsaved, No", false, false, PromptAnswer::No, false},
                        {"unsaved, Yes", false, false, PromptAnswer::Yes, true},
                        {"saved", false, true, std::nullopt, true},
                        {"exporting", true, false, std::nullopt, false}};
  for (const Case& c : cases) {
    ResetProcessState();
    ScriptedScanWindow window([](SearchParams& params, const std::string& root, SearchSink& sink) {
      match(params, sink, "a.doc", root, 1);
    });
    showAndWaitForScanEnd(window);
    prompts_.clear();
    window.mbExporting = c.exporting;
    window.mbSaved = c.saved;
    if (c.answer)
      prompts_.answer(*c.answer);
    window.close();
    if (c.answer) {
      ASSERT_EQ(prompts_.asked().size(), 1u) << c.what;
      expectQuestion(prompts_.asked()[0], kUnsavedQuestion);
    } else {
      EXPECT_TRUE(prompts_.asked().empty()) << c.what;
    }
    EXPECT_EQ(window.isVisible(), !c.closes) << c.what;
    // The rows stay while the window stays open, and go with it.
    EXPECT_EQ(window.mList == nullptr, c.closes) << c.what;
    if (!c.closes) {
      EXPECT_EQ(window.mList->ListCount(), 1) << c.what;
    }
  }
}

TEST_F(FrmScanTest, SaveToZipFileRunsTheInstalledExportCommand) {
  int runs = 0;
  frmScan::SetExportCommand([&](frmScan& window) {
    ++runs;
    EXPECT_EQ(window.mList->ListCount(), 1);
    EXPECT_EQ(window.mList->SubItemText(0, 1) + window.mList->SubItemText(0, 0), "/data/a.doc");
    window.mbSaved = true;
  });
  ScriptedScanWindow window([](SearchParams& params, const std::string& root, SearchSink& sink) {
    match(params, sink, "a.doc", root, 1);
  });
  gRootFolder = "/data/";
  showAndWaitForScanEnd(window);
  ASSERT_TRUE(window.cmdExport->isEnabled());
  window.cmdExport->click();
  EXPECT_EQ(runs, 1);
  prompts_.clear();
  window.close();
  EXPECT_TRUE(prompts_.asked().empty());
  EXPECT_FALSE(window.isVisible());
}

TEST_F(FrmScanTest, SizesUseTheLocalesDecimalSeparator) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  ScriptedScanWindow window([](SearchParams& params, const std::string& root, SearchSink& sink) {
    match(params, sink, "a.doc", root, 1536);
  });
  showAndWaitForScanEnd(window);
  EXPECT_EQ(window.mList->SubItemText(0, 2), "1,5 KB");
  EXPECT_EQ(statusText(), "1 matches from a total of 1 scanned files - 1,5 KB");
}

TEST_F(FrmScanTest, RunsModallyUntilClosed) {
  gRootFolder = "/data/";
  prompts_.answer(PromptAnswer::Ok);   // Scanning is complete.
  prompts_.answer(PromptAnswer::Yes);  // close unsaved? Yes
  ScriptedScanWindow window([](SearchParams& params, const std::string& root, SearchSink& sink) {
    match(params, sink, "a.doc", root, 1);
  });
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (window.cmdExport->isVisible())
      window.close();
  });
  closer.start(10);
  window.exec();
  EXPECT_EQ(window.root, "/data/");
  EXPECT_EQ(prompts_.messageTexts(), (std::vector<QString>{kComplete, kUnsavedQuestion}));
}

}  // namespace
}  // namespace tarnwick::gui
