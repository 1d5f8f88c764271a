// The archive builder: its defaults, its list with the duplicate and absence errors, and that
// MakeZipFile archives exactly the files held, in order, reporting what was left out.
#include "core/export/cgzip_files.h"

#include <gtest/gtest.h>

#include "core/common/process_state.h"
#include "core/export/export_fixtures.h"
#include "core/export/zip_state.h"
#include "core/platform/system.h"

namespace tarnwick {
namespace {

using test::TempDir;

// Runs `f`, expecting the builder's error with the given number, source and description.
template <typename F>
void expectBuilderError(F f, std::uint32_t number, const std::string& source,
                        const std::string& description) {
  try {
    f();
    ADD_FAILURE() << "no error raised";
  } catch (const ZipBuilderError& e) {
    EXPECT_EQ(e.Number(), number);
    EXPECT_EQ(e.Source(), source);
    EXPECT_EQ(e.Description(), description);
  }
}

TEST(CGZipFilesTest, StartsEmptyWithDefaults) {
  CGZipFiles zip;
  EXPECT_EQ(zip.ZipFileCount(), 0);
  EXPECT_EQ(zip.RootDirectory(), "\\");
  EXPECT_EQ(zip.ZipFileName(), "");
  EXPECT_FALSE(zip.RecurseFolders() || zip.Encrypted() || zip.IncludeSystemFiles() ||
               zip.UpdatingZip());
  zip.SetEncrypted(true);
  zip.SetIncludeSystemFiles(true);
  EXPECT_TRUE(zip.Encrypted() && zip.IncludeSystemFiles());
}

TEST(CGZipFilesTest, ListRaisesOnDuplicatesAndAbsentPaths) {
  CGZipFiles zip;
  zip.AddFile("/data/a.doc");
  zip.AddFile("/data/b.doc");
  zip.AddFile("querty");  // an ordinary name like any other: a new list is empty
  EXPECT_EQ(zip.ZipFileCount(), 3);

  const auto duplicate = [&](const std::string& p) {
    expectBuilderError([&] { zip.AddFile(p); }, 0x800407D1, "CGZip::AddFile",
                       "File is already in Zip List");
  };
  duplicate("/data/a.doc");
  duplicate("querty");
  // Letter case: the same file on Windows, another file elsewhere.
  if constexpr (platform::kFileSystemIgnoresCase) {
    duplicate("/DATA/A.DOC");
  } else {
    zip.AddFile("/DATA/A.DOC");
    zip.RemoveFile("/DATA/A.DOC");
  }
  EXPECT_EQ(zip.ZipFileCount(), 3);

  expectBuilderError([&] { zip.RemoveFile("/data/never.doc"); }, 0x800407D2, "CGZip::RemoveFile",
                     "File is not in Zip List");
  zip.RemoveFile("/data/a.doc");
  EXPECT_EQ(zip.ZipFileCount(), 2);
  zip.AddFile("/data/a.doc");  // may come back, now last
  EXPECT_EQ(zip.ZipFileCount(), 3);
  EXPECT_EQ(ZipBuilderError(kZipErrorAlreadyInList, "", "").SignedNumber(), -2147219503);
}

TEST(CGZipFilesTest, MakeZipFileArchivesTheFilesHeldInOrderAndReportsTheRest) {
  ResetProcessState();
  TempDir dir;
  const auto b = dir.write("b.txt", test::TextBytes(3000));
  const auto a = dir.write("a.txt", "alpha");
  const auto gone = dir / "gone.txt";
  // Only the files held are archived: nothing else from the working folder.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  dir.write("querty", "not to be archived");

  CGZipFiles zip;
  zip.SetZipFileName((dir / "out.zip").string());
  zip.AddFile(b.string());
  zip.AddFile(gone.string());
  zip.AddFile(a.string());
  int progressCalls = 0;
  ZipProgress last;
  zip.SetProgressCallback([&](const ZipProgress& p) {
    ++progressCalls;
    last = p;
  });
  EXPECT_EQ(zip.MakeZipFile(), kZipSomeSkipped);
  std::filesystem::current_path(cwd);

  EXPECT_EQ(zip.GetLastMessage(), LastZipMessage);
  const ZipReport& report = zip.LastReport();
  ASSERT_EQ(report.archived.size(), 2u);
  EXPECT_EQ(report.archived[0].path, b.string());
  EXPECT_EQ(report.archived[1].path, a.string());
  ASSERT_EQ(report.skipped.size(), 1u);
  EXPECT_EQ(report.skipped[0].path, gone.string());
  EXPECT_GT(progressCalls, 0);
  EXPECT_EQ(last.filesDone, 2u);
  EXPECT_EQ(last.filesTotal, 2u);
  EXPECT_EQ(last.bytesDone, 3005u);
  EXPECT_EQ(
      test::CheckWithAllReaders(dir / "out.zip", {{test::FullEntryName(b), 3000, std::nullopt, b},
                                                  {test::FullEntryName(a), 5, std::nullopt, a}}),
      "");
}

}  // namespace
}  // namespace tarnwick
