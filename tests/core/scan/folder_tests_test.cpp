#include "core/scan/folder_tests.h"

#include <gtest/gtest.h>

#include "core/scan/search.h"
#include "core/scan/text_case.h"
#include "core/settings/app_state.h"

namespace tarnwick {
namespace {

class FolderTests : public ::testing::Test {
 protected:
  void SetUp() override { FillFolderLists(); }
  void TearDown() override { ResetSettingsState(); }
};

TEST_F(FolderTests, LastNameLowerCasedEqualsAnEntryAsAWhole) {
  const struct {
    const char* path;
    bool temp;
    bool sys;
  } cases[] = {
      {"/home/u/Temp/", true, false},
      {"/home/u/TEMP/", true, false},
      {"/home/u/Temp2/", false, false},
      {"/home/u/MyTemp/", false, false},
      {"/x/Temporary Internet Files/", true, false},
      {"/x/Cookies/", true, false},
      {"/backup/Windows/", false, true},
      {"/Program Files/", false, true},
      {"/Program Files (x86)/", false, false},
      {"/a/System Volume Information/", false, true},
      {"/a/RECYCLER/", false, true},
      {"/a/config.msi/", false, true},
      {"/Windows/sub/", false, false},  // only the last name counts
      {"Temp/", true, false},           // no separator before the name
      {"/", false, false},
      {"", false, false},
      {"/temp/\xFF/", false, false},  // a name that is not UTF-8
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsTempFolder(c.path), c.temp) << c.path;
    EXPECT_EQ(IsSystemFolder(c.path), c.sys) << c.path;
  }
}

TEST_F(FolderTests, WindowsStylePathsUseTheLastName) {
#ifdef _WIN32
  EXPECT_TRUE(IsSystemFolder("D:\\Backup\\Windows\\"));
  EXPECT_TRUE(IsTempFolder("C:/Users/u/AppData/Local/Temp/"));
  EXPECT_FALSE(IsSystemFolder("C:\\"));  // the name is "c:"
#else
  EXPECT_EQ(LastFolderName("C:\\Windows\\"), "C:\\Windows\\");  // "\" is a name character here
#endif
}

TEST(DisplayRoot, UpperCasesOnlyWhereTheFileSystemIgnoresCase) {
  EXPECT_EQ(UpperCase("c:\\dossier été\\straße\\"), "C:\\DOSSIER ÉTÉ\\STRAßE\\");
  EXPECT_EQ(UpperCase("bad\xFF/"), "BAD\xFF/");
#ifdef _WIN32
  EXPECT_EQ(DisplayRoot("c:\\users\\"), "C:\\USERS\\");
#else
  EXPECT_EQ(DisplayRoot("/home/Anna/docs/"), "/home/Anna/docs/");
#endif
}

}  // namespace
}  // namespace tarnwick
