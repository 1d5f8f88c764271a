// The export command's pure helpers: the ".zip" rule, the migration folder and where each file
// lands below it.
#include "core/export/export_paths.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(ExportPathsTest, ZipExtensionIsAddedUnlessTheNameEndsInZip) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/home/u/PC1", "/home/u/PC1.zip"},
      {"/home/u/PC1.zip", "/home/u/PC1.zip"},
      {"/home/u/PC1.ZIP", "/home/u/PC1.ZIP"},
      {"/home/u/report.txt", "/home/u/report.txt.zip"},
      {"/home/u/name.", "/home/u/name.zip"},
      {"/home/my.folder/PC1", "/home/my.folder/PC1.zip"},
      {"a", "a.zip"},
      {"", ""},
  };
  for (const auto& [chosen, archive] : cases)
    EXPECT_EQ(WithZipExtension(chosen), archive) << chosen;
}

TEST(ExportPathsTest, MigrationFolderIsTheArchivePathWithoutItsExtension) {
  EXPECT_EQ(MigrationFolder("/home/u/PC1.zip"), "/home/u/PC1/");
  EXPECT_EQ(MigrationFolder("/home/u/report.txt.zip"), "/home/u/report.txt/");
  EXPECT_EQ(MigrationFolder(".zip"), "");
}

TEST(ExportPathsTest, DestinationKeepsTheStructureBelowTheScanFolder) {
  struct Case {
    std::string source, scanFolder, expected;
  };
  const std::vector<Case> cases = {
      {"/data/docs/a/b.doc", "/data/docs/", "/out/PC1/a/b.doc"},
      {"/data/docs/b.doc", "/data/docs/", "/out/PC1/b.doc"},
      // The root: only the leading separator is replaced.
      {"/data/docs/b.doc", "/", "/out/PC1/data/docs/b.doc"},
      // Outside the scan folder (on Linux a folder differing in case is another folder): the
      // whole path below the migration folder.
      {"/DATA/docs/b.doc", "/data/docs/", "/out/PC1/DATA/docs/b.doc"},
      // Nothing can climb out of the migration folder.
      {"/data/docs/../../etc/x.doc", "/data/docs/", "/out/PC1/etc/x.doc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MigrationDestination(c.source, c.scanFolder, "/out/PC1/"), c.expected) << c.source;
  }
}

}  // namespace
}  // namespace tarnwick
