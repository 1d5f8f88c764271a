// The whole-file operations on names in other scripts and on paths longer than 260 characters.
// What they write is checked through the C++ library's own calls, so an error in the UTF-8
// conversion cannot cancel itself out between our writing and our reading.
#include "core/platform/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/platform/system.h"
#include "support/temp_dir.h"

namespace tarnwick::platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(FileIo, NamesInOtherScriptsAreWrittenFoundAndReadBack) {
  const std::vector<std::string> names = {
      "Έγγραφο αναφοράς.doc",    // Greek
      "Отчёт за год.xls",        // Cyrillic
      "報告書 文档 보고서.pdf",  // Japanese, Chinese, Korean
      "notes \U0001F4C4.txt",    // outside the 16-bit range: a surrogate pair in UTF-16
  };
  TempDir dir;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::string path = dir.str(name);
    const std::string bytes = "content of " + name;
    ASSERT_TRUE(WriteNewFile(path, bytes));
    EXPECT_EQ(fs::file_size(dir / name), bytes.size());
    EXPECT_TRUE(IsOrdinaryFile(path));
    std::string read;
    ASSERT_TRUE(ReadWholeFile(path, read));
    EXPECT_EQ(read, bytes);
    ASSERT_TRUE(ReplaceFileAtomically(path, "replaced"));
    EXPECT_EQ(TempDir::read(dir / name), "replaced");
  }
  // The folder holds exactly these names: none was stored altered.
  std::set<std::string> listed;
  for (const auto& entry : fs::directory_iterator(dir.path()))
    listed.insert(test::Utf8(entry.path().filename()));
  EXPECT_EQ(listed, std::set<std::string>(names.begin(), names.end()));
}

// Wine lifts the 260-character limit for every path, prefixed or not, so under Wine this test
// passes even without the "\\?\" form; Windows keeps the limit unless the form is used. The
// prefix itself is pinned by the LongPath cases in utf16_test.cpp.
TEST(FileIo, PathsLongerThan260Characters) {
  TempDir dir;
  std::string rel;
  for (char c = 'a'; rel.size() < 300; ++c)
    rel += std::string(40, c) + "/";
  dir.mkdir(rel);
  const std::string path = dir.str(rel + "Settings.ini");
  ASSERT_GT(path.size(), 300u);

  ASSERT_TRUE(WriteNewFile(path, "[app]\r\n"));
  EXPECT_TRUE(IsOrdinaryFile(path));
  std::string read;
  ASSERT_TRUE(ReadWholeFile(path, read));
  EXPECT_EQ(read, "[app]\r\n");
  ASSERT_TRUE(ReplaceFileAtomically(path, "[app]\r\nk=1\r\n"));
  EXPECT_EQ(TempDir::read(dir / (rel + "Settings.ini")), "[app]\r\nk=1\r\n");
}

TEST(FileIo, BackslashAndSlashBothSeparateFoldersOnWindows) {
#ifndef _WIN32
  GTEST_SKIP() << "Windows only: elsewhere \"\\\" is an ordinary character of a name";
#else
  TempDir dir;
  dir.write("sub/folder/file.txt", "x");
  std::string slashed = dir.str("sub/folder/file.txt");
  std::string backslashed = slashed;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
  for (const std::string& path : {slashed, backslashed}) {
    SCOPED_TRACE(path);
    EXPECT_TRUE(IsOrdinaryFile(path));
    std::string read;
    EXPECT_TRUE(ReadWholeFile(path, read));
    EXPECT_EQ(read, "x");
  }
#endif
}

TEST(FileIo, FoldersAndMissingFilesAreNotOrdinaryFiles) {
  TempDir dir;
  dir.mkdir("folder");
  std::string read;
  EXPECT_FALSE(IsOrdinaryFile(dir.str("folder")));
  EXPECT_FALSE(ReadWholeFile(dir.str("folder"), read));
  EXPECT_FALSE(IsOrdinaryFile(dir.str("missing")));
  EXPECT_FALSE(ReadWholeFile(dir.str("missing"), read));
  EXPECT_FALSE(ReplaceFileAtomically(dir.str("folder"), "x"));
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
}

}  // namespace
}  // namespace tarnwick::platform
