// ReadSetting and WriteSetting on real files: missing files, read-only files, and a write that
// replaces the file whole or not at all.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/settings/settings.h"
#include "support/temp_dir.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(SettingsFile, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
  TempDir dir;
  const std::string path = (dir / "Settings.ini").string();
  EXPECT_EQ(ReadSetting(path, "app", "extensions"), "");
  EXPECT_TRUE(WriteSetting(path, "app", "ignoresys", "0"));
  EXPECT_EQ(TempDir::read(path), "[app]\r\nignoresys=0\r\n");
}

TEST(SettingsFile, WriteKeepsEveryOtherByteAndLeavesNoTemporaryFile) {
  TempDir dir;
  const std::string before = "; kept\r\n[app]\r\nextensions=*.doc\r\nother=x\r\n[more]\r\ny=1\n";
  const auto path = dir.write("Settings.ini", before);
  ASSERT_TRUE(WriteSetting(path.string(), "app", "extensions", "*.pdf;*.doc"));
  EXPECT_EQ(TempDir::read(path),
            "; kept\r\n[app]\r\nextensions=*.pdf;*.doc\r\nother=x\r\n[more]\r\ny=1\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(SettingsFile, EqualValueDoesNotTouchTheFile) {
  TempDir dir;
  const auto path = dir.write("Settings.ini", "[app]\r\nignoretemp=1\r\n");
  const auto stamp = fs::last_write_time(path) - std::chrono::hours(1);
  fs::last_write_time(path, stamp);
  ASSERT_TRUE(WriteSetting(path.string(), "app", "ignoretemp", "1"));
  EXPECT_EQ(fs::last_write_time(path), stamp);
}

TEST(SettingsFile, ReadOnlyFileStaysUnchanged) {
  TempDir dir;
  const std::string before = "[app]\r\nignoretemp=1\r\n";
  const auto path = dir.write("Settings.ini", before);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(WriteSetting(path.string(), "app", "ignoretemp", "0"));
  EXPECT_EQ(TempDir::read(path), before);
}

TEST(SettingsFile, UnwritableLocationFailsSilently) {
  TempDir dir;
  dir.write("file", "x");
  // A path below a file can never be created, whoever runs the test.
  EXPECT_FALSE(WriteSetting((dir / "file/Settings.ini").string(), "app", "k", "v"));
  // A folder where the file should be.
  dir.mkdir("Settings.ini");
  EXPECT_FALSE(WriteSetting((dir / "Settings.ini").string(), "app", "k", "v"));
  EXPECT_TRUE(fs::is_directory(dir / "Settings.ini"));
}

TEST(SettingsFile, WriteReplacesTheFileAtomicallyAndKeepsItsPermissions) {
  TempDir dir;
  const auto path = dir.write("Settings.ini", "[app]\r\nk=1\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  ASSERT_TRUE(WriteSetting(path.string(), "app", "k", "2"));
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  // A new file was renamed over the old one: a crash mid-write cannot leave a half file.
  EXPECT_NE(before.st_ino, after.st_ino);
  EXPECT_EQ(after.st_mode & 07777, 0600u);
  EXPECT_EQ(TempDir::read(path), "[app]\r\nk=2\r\n");
}

TEST(SettingsFile, WriteThroughALinkChangesItsTarget) {
  TempDir dir;
  const auto target = dir.write("real.ini", "[app]\r\nk=1\r\n");
  fs::create_symlink(target, dir / "Settings.ini");
  ASSERT_TRUE(WriteSetting((dir / "Settings.ini").string(), "app", "k", "2"));
  EXPECT_TRUE(fs::is_symlink(dir / "Settings.ini"));
  EXPECT_EQ(TempDir::read(target), "[app]\r\nk=2\r\n");
}

TEST(SettingsFile, RefusedValueLeavesFileAsItWas) {
  TempDir dir;
  const std::string before = "[app]\r\nk=1\r\n";
  const auto path = dir.write("Settings.ini", before);
  EXPECT_FALSE(WriteSetting(path.string(), "app", "k", "x\r\n[evil]\r\ny=1"));
  EXPECT_EQ(TempDir::read(path), before);
}

}  // namespace
}  // namespace tarnwick
