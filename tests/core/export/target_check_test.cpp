// The target is checked before anything is written, through a drive the test describes: too
// little free space, a read-only drive, a FAT32 file system and its 4 GiB - 1 file size limit.
#include "core/export/target_check.h"

#include <gtest/gtest.h>

#include "app/export/outcome_texts.h"
#include "core/common/process_state.h"
#include "core/export/export_fixtures.h"
#include "core/export/file_copy.h"
#include "core/export/zip_engine.h"
#include "core/export/zip_state.h"
#include "support/fake_drive.h"

namespace tarnwick {
namespace {

using test::FakeDrive;
using test::TempDir;

constexpr std::uint64_t kGB = 1ull << 30;

platform::VolumeInfo drive(std::uint64_t freeBytes, bool readOnly = false, bool fat32 = false) {
  platform::VolumeInfo v;
  v.freeBytes = freeBytes;
  if (fat32)
    v = test::Fat32Drive(platform::kFat32MaxFileSize, freeBytes);
  v.readOnly = readOnly;
  return v;
}

TEST(TargetCheckTest, SizesAreRoundedSoNeedsAreNeverUnderstated) {
  EXPECT_EQ(AboutSize(4 * kGB + 3 * kGB / 10, true), "4.3 GB");
  EXPECT_EQ(AboutSize(4 * kGB + 3 * kGB / 10 + 1, true), "4.4 GB");
  EXPECT_EQ(AboutSize(2 * kGB - 1, false), "1.9 GB");
  EXPECT_EQ(AboutSize(2 * kGB, false), "2.0 GB");
  EXPECT_EQ(AboutSize(1536 * 1024, true), "1.5 MB");
  EXPECT_EQ(AboutSize(100, true), "0.1 KB");
  EXPECT_EQ(AboutSize(platform::kFat32MaxFileSize, false), "3.9 GB");
}

TEST(TargetCheckTest, ArchiveTargetProblemsInOneLine) {
  TempDir dir;
  const std::string archive = (dir / "PC1.zip").string();
  TargetNeeds needs{4 * kGB + kGB / 4, 3 * kGB, "/home/a/big.pst", true};
  struct Case {
    const char* label;
    platform::VolumeInfo drive;
    std::string archive;
    std::string problem;
  };
  const Case cases[] = {
      {"room enough", drive(5 * kGB), archive, ""},
      {"too little free space", drive(2 * kGB), archive,
       "The archive needs about 4.3 GB; the drive has 2.0 GB free."},
      {"read-only", drive(100 * kGB, true), archive,
       "The drive of " + dir.str() + " is read-only."},
      {"archive over the FAT32 limit", drive(100 * kGB, false, true), archive,
       "The archive (about 4.3 GB) is larger than the drive's file system (FAT32) can hold in one "
       "file (3.9 GB)."},
      {"no such folder", drive(100 * kGB), dir.str() + "/missing/PC1.zip",
       "The folder " + dir.str() + "/missing does not exist."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckArchiveTarget(c.archive, needs, FakeDrive(c.drive)), c.problem) << c.label;
  }
  needs.largestFile = 5 * kGB;
  EXPECT_EQ(CheckArchiveTarget(archive, needs, FakeDrive(drive(100 * kGB, false, true))),
            "/home/a/big.pst (5.0 GB) is larger than the drive's file system (FAT32) can hold in "
            "one file (3.9 GB).");
}

class TargetRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    for (int i = 0; i < 3; ++i)
      names.push_back(
          dir.write("src/f" + std::to_string(i) + ".doc", test::TextBytes(100000)).string());
    dir.write("old.zip", "the old archive");
  }
  void TearDown() override { ResetProcessState(); }

  TempDir dir;
  std::vector<std::string> names;
  std::string archive = (dir / "old.zip").string();
};

// Nothing is written, the old archive stays, and the reason is the run's failure.
TEST_F(TargetRunTest, TheArchiveIsNotWrittenWhereItCannotGo) {
  for (const auto& d : {drive(200000), drive(kGB, true)}) {
    const FakeDrive fake(d);
    ZipRunControl control;
    control.volumes = &fake;
    ZipReport report;
    EXPECT_EQ(RunZip(archive, names, ZipOptions{}, control, &report), kZipCreateFailed);
    EXPECT_FALSE(report.archiveWritten);
    EXPECT_FALSE(report.targetProblem.empty());
    EXPECT_EQ(report.failure, report.targetProblem);
    EXPECT_EQ(TempDir::read(archive), "the old archive");
    EXPECT_EQ(test::FolderNames(dir.path()), (std::set<std::string>{"old.zip", "src"}));
  }
  const FakeDrive roomy(drive(kGB));
  ZipRunControl control;
  control.volumes = &roomy;
  EXPECT_EQ(RunZip(archive, names, ZipOptions{}, control), kZipOk) << LastZipMessage;
}

TEST_F(TargetRunTest, TheCopySaysOnceWhyNothingCanBeCopied) {
  std::vector<CopyItem> items;
  for (const auto& n : names)
    items.push_back({n, dir.str() + "/PC1/" + std::filesystem::path(n).filename().string()});
  for (const auto& d : {drive(1000), drive(kGB, true)}) {
    const FakeDrive fake(d);
    CopyControl control;
    control.targetFolder = dir.str() + "/PC1";
    control.volumes = &fake;
    const CopyReport report = CopyFiles(items, control);
    EXPECT_TRUE(report.copied.empty());
    EXPECT_EQ(report.notCopied.size(), items.size());
    EXPECT_FALSE(std::filesystem::exists(dir / "PC1"));
    const std::string message = CopyOutcomeMessage(dir.str() + "/PC1", report);
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    EXPECT_NE(message.find(report.failure), std::string::npos) << message;
  }
  EXPECT_EQ(CopyFiles(items, {}).failure, "");
  const FakeDrive small(drive(1000));
  CopyControl control;
  control.targetFolder = dir.str() + "/PC2";
  control.volumes = &small;
  EXPECT_EQ(CopyFiles(items, control).failure,
            "The copy needs about 293.0 KB; the drive has 0.9 KB free.");
}

}  // namespace
}  // namespace tarnwick
