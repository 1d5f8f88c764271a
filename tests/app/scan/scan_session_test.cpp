#include "app/scan/scan_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/scan/background_walk.h"
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

// "Save to zip file" appears once the walk is over and can be pressed only when the front end has
// an export to run.
TEST_F(ScanSessionTest, ExportIsOfferedAfterTheWalkAndEnabledOnlyWhenAvailable) {
  for (const bool available : {false, true}) {
    ScriptedSession session(params, root, running);
    session.SetExportAvailable(available);
    EXPECT_FALSE(session.ExportEnabled());
    ScriptedAnswers local;
    RecordingView v;
    session.Run(v, local);
    EXPECT_TRUE(session.ShowsExport());
    EXPECT_EQ(session.ExportEnabled(), available);
  }
}

// Wakes from a background walk, counted as a window's posted messages would be.
class Wakes {
 public:
  void Wake() {
    std::lock_guard lock(mutex_);
    ++count_;
    changed_.notify_all();
  }
  // Waits until `count` wakes have come (false after five seconds).
  bool WaitFor(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return count_ >= count; });
  }
  int Count() {
    std::lock_guard lock(mutex_);
    return count_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
};

// The walk on its own thread: what it finds reaches the session only when the window's thread
// takes it, the window is woken once per take however often the walk yields, and the end comes
// with the last rows.
TEST_F(ScanSessionTest, BackgroundWalkHandsItsFindingsToTheWindowsThread) {
  ScriptedSession session(params, root, running);
  std::mutex gate;
  gate.lock();  // held until the first batch was taken
  std::atomic<bool> atGate{false};
  session.walk = [&](SearchParams& p, SearchSink& sink) {
    sink.OnEnterFolder("/data/a");
    sink.OnUnreadable("/data/a/locked/", "Permission denied");
    for (int i = 0; i < 3; ++i) {
      sink.OnMatch("x" + std::to_string(i) + ".doc", "/data/a/", 1024);
      sink.Yield();
    }
    atGate = true;
    std::lock_guard wait(gate);
    p.MatchCount = 4;
    sink.OnEnterFolder("/data/b");
    sink.OnMatch("y.doc", "/data/b/", 1536);
  };
  Wakes wakes;
  BackgroundWalk walk(session, [&] { wakes.Wake(); });
  walk.Start();
  ASSERT_TRUE(wakes.WaitFor(1));
  for (int waited = 0; !atGate && waited < 5000; ++waited)  // the other yields come and go
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_TRUE(atGate);
  EXPECT_EQ(wakes.Count(), 1);
  EXPECT_EQ(session.Rows().Count(), 0u);
  RecordingView v;
  EXPECT_FALSE(walk.TakeFound(v));
  EXPECT_EQ(v.events,
            (std::vector<std::string>{"row 0 /data/a/x0.doc 1 KB", "row 1 /data/a/x1.doc 1 KB",
                                      "row 2 /data/a/x2.doc 1 KB", "status /data/a"}));
  ASSERT_EQ(session.UnreadableFolders().size(), 1u);
  gate.unlock();
  ASSERT_TRUE(wakes.WaitFor(2));
  v.events.clear();
  EXPECT_TRUE(walk.TakeFound(v));
  EXPECT_EQ(v.events, (std::vector<std::string>{"row 3 /data/b/y.doc 1,5 KB", "status /data/b"}));
  EXPECT_TRUE(session.Scanning());
  session.Finish(v, answers);
  EXPECT_EQ(answers.texts(), (std::vector<std::string>{"Scanning is complete."}));
  EXPECT_EQ(v.events.back(), "status 4 matches from a total of 0 scanned files - 0 KB");
  EXPECT_TRUE(session.ShowsExport());
}

// A window closed under a running walk (its owner went away) stops the walk and waits for it.
TEST_F(ScanSessionTest, ABackgroundWalkStillRunningIsStoppedWhenDropped) {
  ScriptedSession session(params, root, running);
  std::atomic<int> yields{0};
  session.walk = [&](SearchParams&, SearchSink& sink) {
    while (running) {
      sink.OnMatch("a.doc", "/d/", 1);
      sink.Yield();
      ++yields;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  };
  Wakes wakes;
  {
    BackgroundWalk walk(session, [&] { wakes.Wake(); });
    walk.Start();
    ASSERT_TRUE(wakes.WaitFor(1));
  }
  EXPECT_FALSE(running);
  const int after = yields;
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(yields, after);
}

}  // namespace
}  // namespace tarnwick::app
