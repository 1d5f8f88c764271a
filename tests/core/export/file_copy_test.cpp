// The copy into the migration folder: structure and times kept, the overwrite question and its
// four answers, unreadable files, cancel, and the texts the user reads afterwards.
#include "core/export/file_copy.h"

#include <gtest/gtest.h>

#include "app/export/outcome_texts.h"
#include "core/export/export_fixtures.h"
#include "core/export/export_paths.h"
#include "core/export/faulty_files.h"

namespace tarnwick {
namespace {

using test::TempDir;

class FileCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scan = dir.str() + "/scan/";
    migration = MigrationFolder(dir.str() + "/PC1.zip");
    source("a.doc", "A");
    source("sub/deeper/b.doc", test::TextBytes(3 * 1024 * 1024));
    source("sub/c.doc", "C");
  }

  void source(const std::string& rel, const std::string& bytes) {
    const auto p = dir.write("scan/" + rel, bytes);
    test::SetModifiedTime(p, 1600000000 + static_cast<std::int64_t>(items.size()));
    items.push_back({p.string(), MigrationDestination(p.string(), scan, migration)});
  }

  TempDir dir;
  std::string scan, migration;
  std::vector<CopyItem> items;
};

TEST_F(FileCopyTest, CopiesKeepStructureContentAndTimes) {
  int progressCalls = 0;
  CopyProgress last;
  CopyControl control;
  control.progress = [&](const CopyProgress& p) {
    ++progressCalls;
    last = p;
  };
  const CopyReport report = CopyFiles(items, control);
  EXPECT_TRUE(report.AllCopied());
  EXPECT_EQ(report.copied.size(), 3u);
  for (const auto& item : items) {
    EXPECT_TRUE(item.destination.starts_with(dir.str() + "/PC1/")) << item.destination;
    EXPECT_EQ(TempDir::read(item.destination), TempDir::read(item.source));
    EXPECT_EQ(test::ModifiedTime(item.destination), test::ModifiedTime(item.source));
  }
  EXPECT_EQ(TempDir::read(dir / "PC1/sub/c.doc"), "C");
  EXPECT_EQ(last.filesDone, 3u);
  EXPECT_EQ(last.bytesDone, last.bytesTotal);
  EXPECT_GT(progressCalls, 3);
  EXPECT_EQ(CopyOutcomeMessage(migration, report),
            "Successfully copied all files to the migration folder");
}

TEST_F(FileCopyTest, ExistingFilesAreReplacedOnlyAsTheUserAnswers) {
  struct Case {
    const char* label;
    std::vector<OverwriteAnswer> answers;
    std::vector<std::string> expectedContent;  // of a, b, c afterwards
    std::size_t questions;
    bool cancelled;
  };
  const std::string bigB = TempDir::read(items[1].source);
  using A = OverwriteAnswer;
  const std::vector<Case> cases = {
      {"yes, no, yes", {A::Yes, A::No, A::Yes}, {"A", "old", "C"}, 3, false},
      {"yes to all", {A::YesToAll}, {"A", bigB, "C"}, 1, false},
      {"no, then cancel", {A::No, A::Cancel}, {"old", "old", "old"}, 2, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    for (const auto& item : items) {
      dir.write(item.destination.substr(dir.str().size() + 1), "old");
    }
    std::size_t asked = 0;
    CopyControl control;
    control.askOverwrite = [&](const std::string& destination) {
      EXPECT_EQ(destination, items[asked].destination);
      return c.answers.at(asked++);
    };
    const CopyReport report = CopyFiles(items, control);
    EXPECT_EQ(asked, c.questions);
    EXPECT_EQ(report.cancelled, c.cancelled);
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(TempDir::read(items[i].destination), c.expectedContent[i]) << i;
    }
    EXPECT_FALSE(report.AllCopied() && c.cancelled);
  }
}

TEST_F(FileCopyTest, UnreadableFilesAndCancelAreReportedAndLeaveNoPartialCopy) {
  // The first file vanished since the scan; the big one fails partway.
  std::filesystem::remove(items[0].source);
  test::FaultyFiles files;
  files.Add(items[1].source, {.failReadsFrom = 2 * 1024 * 1024});
  CopyControl control;
  control.files = &files;
  CopyReport report = CopyFiles(items, control);
  ASSERT_EQ(report.notCopied.size(), 2u);
  EXPECT_EQ(report.notCopied[0].reason, platform::FileError::NotFound);
  EXPECT_EQ(report.notCopied[1].failure, CopyFailure::SourceUnreadable);
  EXPECT_EQ(report.notCopied[1].reason, platform::FileError::ReadFailed);
  EXPECT_FALSE(std::filesystem::exists(items[1].destination));
  EXPECT_EQ(test::FolderNames(dir / "PC1/sub/deeper").size(), 0u) << "no temporary file left";
  EXPECT_EQ(CopyOutcomeMessage(migration, report),
            "Copied 1 of 3 files to the migration folder " + migration +
                ".\n\nThese files were not copied:\n" + items[0].source + " (not found)\n" +
                items[1].source + " (could not be read)\n");

  // Cancelled while the big file is copied: it and the rest are not copied.
  std::filesystem::remove_all(dir / "PC1");
  dir.write("scan/a.doc", "A");
  std::atomic<bool> cancel{false};
  CopyControl cancelling;
  cancelling.cancel = &cancel;
  cancelling.progress = [&](const CopyProgress& p) {
    if (p.bytesDone > 1)
      cancel = true;
  };
  report = CopyFiles(items, cancelling);
  EXPECT_TRUE(report.cancelled);
  EXPECT_EQ(report.copied.size(), 1u);
  ASSERT_EQ(report.notCopied.size(), 2u);
  EXPECT_EQ(report.notCopied[0].failure, CopyFailure::Cancelled);
  EXPECT_FALSE(std::filesystem::exists(items[1].destination));
  EXPECT_EQ(test::FolderNames(dir / "PC1/sub/deeper").size(), 0u);
}

TEST(ExportMessagesTest, ArchiveMessageNamesEveryMissingFileWithItsReason) {
  ZipReport report;
  report.archiveWritten = true;
  report.archived = {{"/d/a.doc", "d/a.doc", 1, 1, false, false}};
  EXPECT_EQ(ArchiveOutcomeMessage("/o/PC1.zip", 1, report),
            "Successfully archived all files into /o/PC1.zip");

  using platform::FileError;
  report.skipped = {{"/d/Outlook.PST", FileError::InUse, {}},
                    {"/d/b.doc", FileError::NotFound, {}},
                    {"/d/c.doc", FileError::InUse, {}}};
  EXPECT_EQ(ArchiveOutcomeMessage("/o/PC1.zip", 4, report, 2),
            "Archived 1 of 4 files into /o/PC1.zip.\n\nThese files are not in the archive:\n"
            "/d/Outlook.PST (the mail program is using it; close the mail program and export "
            "again)\n/d/b.doc (not found)\n... and 1 more\n");
  report.archiveWritten = false;
  EXPECT_EQ(ArchiveOutcomeMessage("/o/PC1.zip", 4, report), "");
}

}  // namespace
}  // namespace tarnwick
