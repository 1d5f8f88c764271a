// The restore session as every front end drives it: the plan's rows and statuses, a changed
// mapping, the conflict policy and the question with "for all", the outcome and its counts.
#include "app/restore/restore_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>

#include "app/restore/plan_status_checker.h"
#include "app/restore/restore_texts.h"

#include "core/restore/test_archive.h"

namespace tarnwick::app {
namespace {

// The separator the plan puts between a target folder and the names below it.
#ifdef _WIN32
constexpr const char* kSep = "\\";
#else
constexpr const char* kSep = "/";
#endif

struct RestoreSessionTest : ::testing::Test {
  test::TempDir dir;
  std::unique_ptr<RestoreSession> session;

  void open(const std::vector<test::ManifestTestFile>& files) {
    const auto zip = dir.write("old.zip", test::BuildTarnwickZip({}, files));
    restore::HereLayout here;
    here.folders = platform::ParseXdgUserDirs("", dir.str("home"));
    session = std::make_unique<RestoreSession>(here);
    ASSERT_TRUE(session->Open({test::Utf8(zip)})) << session->Error();
  }
};

const std::vector<test::ManifestTestFile> kFiles = {
    {"C:\\Users\\alice\\Documents\\a.doc", "Users/alice/Documents/a.doc", "A"},
    {"C:\\Users\\alice\\Desktop\\b.doc", "Users/alice/Desktop/b.doc", "B"},
    {"C:\\Users\\alice\\Desktop\\c.doc", "Users/alice/Desktop/c.doc", "C"},
    {"C:\\Users\\alice\\..\\x.doc", "x.doc", "X"},
};

TEST_F(RestoreSessionTest, RowsSayWhatIsAtEachTarget) {
  open(kFiles);
  dir.write("home/Desktop/b.doc", "B");
  dir.write("home/Desktop/c.doc", "not C");
  const auto rows = session->Rows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].status, "new");
  EXPECT_EQ(rows[1].status, "already there");
  EXPECT_EQ(rows[2].status, "a different file is there");
  EXPECT_TRUE(rows[3].refused);
  EXPECT_EQ(rows[3].status, "refused: the path leaves its folder (\"..\")");

  session->SetMapping("C:\\Users\\alice\\Desktop", dir.str("elsewhere"));
  EXPECT_EQ(session->Rows()[1].to, dir.str("elsewhere") + kSep + "b.doc");
  EXPECT_EQ(session->Rows()[0].to, dir.str("home") + "/Documents" + kSep + "a.doc");
}

// The window's rows come at once from names and sizes; only files of the same size wait for the
// checker, which ends with the same statuses Rows() gives.
TEST_F(RestoreSessionTest, QuickRowsLeaveOnlySameSizeFilesToTheChecker) {
  open(kFiles);
  dir.write("home/Documents/a.doc", "longer than A");  // another size: different at once
  dir.write("home/Desktop/b.doc", "B");                // same size and content
  dir.write("home/Desktop/c.doc", "X");                // same size, other content
  const PlanRows quick = session->QuickRows();
  ASSERT_EQ(quick.rows.size(), 4u);
  EXPECT_EQ(quick.rows[0].status, "a different file is there");
  EXPECT_EQ(quick.rows[1].status, kCheckingStatus);
  EXPECT_EQ(quick.rows[2].status, kCheckingStatus);
  ASSERT_EQ(quick.checks.size(), 2u);
  EXPECT_EQ(quick.checks[0].row, 1u);
  EXPECT_EQ(quick.checks[1].row, 2u);

  std::mutex m;
  std::condition_variable cv;
  std::map<std::size_t, std::string> reported;
  bool done = false;
  {
    PlanStatusChecker checker(
        quick.checks,
        [&](std::size_t row, const std::string& status) {
          std::lock_guard lock(m);
          reported[row] = status;
        },
        [&] {
          std::lock_guard lock(m);
          done = true;
          cv.notify_all();
        });
    std::unique_lock lock(m);
    ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(20), [&] { return done; }));
  }
  const auto rows = session->Rows();
  EXPECT_EQ(reported,
            (std::map<std::size_t, std::string>{{1, rows[1].status}, {2, rows[2].status}}));
  EXPECT_EQ(rows[1].status, "already there");
  EXPECT_EQ(rows[2].status, "a different file is there");
}

TEST_F(RestoreSessionTest, AskedOnceWhenTheAnswerIsForAll) {
  open(kFiles);
  dir.write("home/Desktop/b.doc", "not B");
  dir.write("home/Desktop/c.doc", "not C");
  session->SetConflicts(ConflictPolicy::Ask);
  std::vector<ConflictQuestion> asked;
  RestoreHooks hooks;
  hooks.askConflict = [&](const ConflictQuestion& q) {
    asked.push_back(q);
    return ConflictAnswer{restore::ConflictChoice::Replace, true};
  };
  const RestoreOutcome outcome = session->Run(hooks);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].existing, dir.str("home") + "/Desktop" + kSep + "b.doc");
  EXPECT_NE(asked[0].text.find("(from OLDPC)"), std::string::npos) << asked[0].text;
  EXPECT_EQ(outcome.restored, 3u);
  EXPECT_EQ(outcome.failed, 1u);
  EXPECT_FALSE(outcome.AllInPlace());
  EXPECT_FALSE(outcome.NothingInPlace());
  EXPECT_EQ(outcome.summary, "3 restored, 0 already there, 0 kept both, 0 skipped, 1 failed.");
  EXPECT_EQ(test::TempDir::read(dir / "home/Desktop/c.doc"), "C");
}

TEST_F(RestoreSessionTest, EachPolicyWithoutAQuestion) {
  const struct {
    ConflictPolicy policy;
    std::string summary;
    std::string mine;
  } cases[] = {
      {ConflictPolicy::KeepBoth, "1 restored, 0 already there, 1 kept both, 0 skipped, 0 failed.",
       "mine"},
      {ConflictPolicy::Skip, "1 restored, 0 already there, 0 kept both, 1 skipped, 0 failed.",
       "mine"},
      {ConflictPolicy::Replace, "2 restored, 0 already there, 0 kept both, 0 skipped, 0 failed.",
       "B"},
  };
  for (const auto& c : cases) {
    test::TempDir fresh;
    const auto zip = fresh.write("old.zip", test::BuildTarnwickZip({}, {kFiles[0], kFiles[1]}));
    restore::HereLayout here;
    here.folders = platform::ParseXdgUserDirs("", fresh.str("home"));
    RestoreSession s(here);
    ASSERT_TRUE(s.Open({test::Utf8(zip)}));
    fresh.write("home/Desktop/b.doc", "mine");
    s.SetConflicts(c.policy);
    RestoreHooks hooks;
    hooks.askConflict = [](const ConflictQuestion&) -> ConflictAnswer {
      ADD_FAILURE() << "no question with a policy";
      return {};
    };
    const RestoreOutcome outcome = s.Run(hooks);
    EXPECT_EQ(outcome.summary, c.summary);
    EXPECT_EQ(test::TempDir::read(fresh / "home/Desktop/b.doc"), c.mine);
  }
}

TEST_F(RestoreSessionTest, AnArchiveWithoutManifestWaitsForAFolder) {
  const auto zip = dir.write("plain.zip", test::BuildZip({{"a.doc", "A"}}));
  RestoreSession s;
  ASSERT_TRUE(s.Open({test::Utf8(zip)}));
  EXPECT_FALSE(s.HasManifest());
  EXPECT_FALSE(s.PlanError().empty());
  s.SetIntoFolder(dir.str("out"));
  EXPECT_TRUE(s.PlanError().empty());
  const RestoreOutcome outcome = s.Run({});
  EXPECT_TRUE(outcome.AllInPlace());
  EXPECT_EQ(test::TempDir::read(dir / "out/a.doc"), "A");

  RestoreSession bad;
  EXPECT_FALSE(bad.Open({dir.str("missing.zip")}));
  EXPECT_FALSE(bad.Error().empty());
}

}  // namespace
}  // namespace tarnwick::app
