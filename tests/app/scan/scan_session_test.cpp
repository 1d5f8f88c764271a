#include "app/scan/scan_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/support/scripted_answers.h"

namespace tarnwick::app {
namespace {

using testing::ScriptedAnswers;

// A session whose walk is a script: it reports what the test says, through the real sink.
class ScriptedSession final : public ScanSession {
 public:
  ScriptedSession(SearchParams& params, const std::string& root, std::atomic<bool>& running)
      : ScanSession(",", params, root, running) {}
  std::function<void(SearchParams&, SearchSink&)> walk;

 protected:
  void RunSearch(SearchParams& params, const std::string&, SearchSink& sink) override {
    if (walk)
      walk(params, sink);
  }
};

struct RecordingView final : ScanView {
  std::vector<std::string> events;
  std::function<void()> onYield;
  void OnRow(std::size_t index, const ScanRow& row, const std::string& size) override {
    events.push_back("row " + std::to_string(index) + " " + row.folder + row.name + " " + size);
  }
  void OnStatus(const std::string& text) override { events.push_back("status " + text); }
  void Yield() override {
    events.push_back("yield");
    if (onYield)
      onYield();
  }
};

class ScanSessionTest : public ::testing::Test {
 protected:
  SearchParams params;
  std::string root = "/data/";
  std::atomic<bool> running{false};
  ScriptedAnswers answers;
  RecordingView view;
};

TEST_F(ScanSessionTest, KeepsRowsShowsTheLastFolderOnYieldAndEndsWithTheSummary) {
  ScriptedSession session(params, root, running);
  EXPECT_TRUE(session.Scanning());
  EXPECT_FALSE(session.ShowsExport());
  session.walk = [](SearchParams& p, SearchSink& sink) {
    sink.OnEnterFolder("/data/a");
    sink.OnEnterFolder("/data/b");
    p.MatchCount = 1;
    p.ScannedCount = 4;
    p.TotalBytes = 1536;
    sink.OnMatch("x.doc", "/data/b/", 1536);
    sink.OnUnreadable("/data/c/", "Permission denied");
    sink.Yield();
    sink.Yield();  // nothing entered since: no new status
  };
  session.Run(view, answers);
  EXPECT_EQ(view.events, (std::vector<std::string>{
                             "row 0 /data/b/x.doc 1,5 KB", "status /data/b", "yield", "yield",
                             "status 1 matches from a total of 4 scanned files - 1,5 KB"}));
  ASSERT_EQ(session.Rows().Count(), 1u);
  EXPECT_EQ(session.Rows().FullPath(0), "/data/b/x.doc");
  ASSERT_EQ(session.UnreadableFolders().size(), 1u);
  EXPECT_EQ(session.UnreadableFolders()[0].path, "/data/c/");
  EXPECT_EQ(answers.texts(), (std::vector<std::string>{"Scanning is complete."}));
  EXPECT_EQ(answers.asked[0].icon, Icon::Information);
  EXPECT_FALSE(session.Scanning());
  EXPECT_TRUE(session.ShowsExport());
}

// Cancel asks first; only Yes stops the walk, and a cancelled scan does not say it is complete.
TEST_F(ScanSessionTest, CancelQuestionStopsTheWalkOnlyOnYes) {
  for (const Answer a : {Answer::No, Answer::Yes}) {
    ScriptedAnswers local;
    ScriptedSession session(params, root, running);
    int entriesAfterCancel = 0;
    session.walk = [&](SearchParams&, SearchSink& sink) {
      local.answer(a);
      session.AskCancel(local);
      while (running && entriesAfterCancel < 3) {
        ++entriesAfterCancel;
        sink.Yield();
      }
    };
    RecordingView v;
    session.Run(v, local);
    EXPECT_EQ(local.asked[0].text, "Are you sure you want to cancel the scanning process?");
    EXPECT_EQ(local.asked[0].buttons, Buttons::YesNo);
    EXPECT_EQ(entriesAfterCancel, a == Answer::Yes ? 0 : 3);
    EXPECT_EQ(local.asked.size(), a == Answer::Yes ? 1u : 2u);  // + "Scanning is complete."
    EXPECT_TRUE(session.ShowsExport());
  }
}

TEST_F(ScanSessionTest, ClosesOnlyWhenIdleAndSavedOrConfirmed) {
  struct Case {
    bool scanning, exporting, saved;
    std::optional<Answer> answer;  // the unsaved question's answer, when asked
    bool closes;
  } cases[] = {
      {true, false, true, {}, false},           {false, true, true, {}, false},
      {false, false, true, {}, true},           {false, false, false, Answer::Yes, true},
      {false, false, false, Answer::No, false},
  };
  for (const Case& c : cases) {
    ScriptedSession session(params, root, running);
    running = c.scanning;
    session.mbExporting = c.exporting;
    session.mbSaved = c.saved;
    ScriptedAnswers local;
    if (c.answer)
      local.answer(*c.answer);
    EXPECT_EQ(session.MayClose(local), c.closes);
    if (c.answer) {
      ASSERT_EQ(local.asked.size(), 1u);
      EXPECT_EQ(local.asked[0].text, "Files have not been saved, are you sure you want to exit?");
    } else {
      EXPECT_TRUE(local.asked.empty());
    }
  }
}

// Two scans in one process: each session starts its own run with no reset in between.
TEST_F(ScanSessionTest, ASecondSessionRunsAfterTheFirstWithoutAReset) {
  for (int i = 0; i < 2; ++i) {
    ScriptedSession session(params, root, running);
    session.walk = [](SearchParams&, SearchSink& sink) { sink.OnMatch("a", "/d/", 1); };
    ScriptedAnswers local;
    RecordingView v;
    session.Run(v, local);
    EXPECT_EQ(session.Rows().Count(), 1u);
    EXPECT_EQ(local.texts(), (std::vector<std::string>{"Scanning is complete."}));
  }
}

}  // namespace
}  // namespace tarnwick::app
