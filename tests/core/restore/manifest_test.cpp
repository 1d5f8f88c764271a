#include <gtest/gtest.h>

#include "core/restore/manifest.h"
#include "core/restore/test_archive.h"

namespace tarnwick::restore {
namespace {

TEST(Manifest, ReadsHeaderFilesAndSkipsWhatItDoesNotKnow) {
  test::ManifestHeader h;
  h.knownFolders = {{"Documents", "D:\\Docs"}};
  h.part = 2;
  h.partCount = 3;
  const std::string text = test::ManifestText(
      h, {{"C:\\Users\\alice\\caf\xE9\t.doc", "Users/alice/caf%E9%09.doc", "abc", 1700000000}});
  std::string error;
  const auto m = ParseManifest(text, error);
  ASSERT_TRUE(m) << error;
  EXPECT_EQ(m->computer, "OLDPC");
  EXPECT_EQ(m->system, PathSystem::Windows);
  EXPECT_EQ(m->home, "C:\\Users\\alice");
  EXPECT_EQ(m->scanFolder, "C:\\");
  ASSERT_EQ(m->knownFolders.size(), 1u);
  EXPECT_EQ(m->knownFolders[0].name, "Documents");
  EXPECT_EQ(m->knownFolders[0].path, "D:\\Docs");
  EXPECT_EQ(m->part, 2);
  EXPECT_EQ(m->partCount, 3);
  ASSERT_EQ(m->files.size(), 1u);  // [not gathered] and the unknown section are not files
  const ManifestFile& f = m->files[0];
  EXPECT_EQ(f.size, 3u);
  EXPECT_EQ(f.modified, 1700000000);
  EXPECT_EQ(f.crc, test::Crc32("abc"));
  EXPECT_EQ(f.originalPath, "C:\\Users\\alice\\caf\xE9\t.doc");
  EXPECT_EQ(f.entryName, "Users/alice/caf%E9%09.doc");

  // Saved again by an editor with CRLF line ends: the same.
  std::string crlf;
  for (char c : text) {
    if (c == '\n')
      crlf += '\r';
    crlf += c;
  }
  const auto again = ParseManifest(crlf, error);
  ASSERT_TRUE(again) << error;
  EXPECT_EQ(again->files[0].originalPath, f.originalPath);
}

TEST(Manifest, RefusesWhatIsNotAManifestOrHasABrokenFileLine) {
  std::string error;
  EXPECT_FALSE(ParseManifest("", error));
  EXPECT_FALSE(ParseManifest("Hello\n", error));
  EXPECT_FALSE(ParseManifest("Tarnwick manifest 2\n", error));
  const std::string bad =
      "Tarnwick manifest 1\nComputer: X\n\n[files]\n12\tyesterday\t00000000\ta\tb\n";
  EXPECT_FALSE(ParseManifest(bad, error));
  EXPECT_NE(error.find("yesterday"), std::string::npos);
}

TEST(Manifest, UtcTimes) {
  EXPECT_EQ(ParseUtcTime("1970-01-01T00:00:00Z"), 0);
  EXPECT_EQ(ParseUtcTime("2026-11-02T08:14:00Z"), 1793607240);
  EXPECT_EQ(ParseUtcTime("2024-02-29T23:59:59Z"), 1709251199);
  EXPECT_FALSE(ParseUtcTime("2023-02-29T00:00:00Z"));
  EXPECT_FALSE(ParseUtcTime("2026-11-02 08:14:00"));
}

}  // namespace
}  // namespace tarnwick::restore
