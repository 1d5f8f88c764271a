// Files' paths with their folders in the letter case the file system keeps: the export opens the
// scan's paths, whose root is upper-cased, by the folders' stored names.
#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>

#include "core/platform/input_file.h"
#include "core/platform/stored_case_win.h"
#include "core/platform/utf16_win.h"
#include "support/temp_dir.h"
#endif

namespace tarnwick::platform {
namespace {

#ifdef _WIN32
std::wstring Upper(std::wstring text) {
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}
#endif

TEST(StoredCase, FoldersGivenInAnotherCaseComeBackAsStored) {
#ifndef _WIN32
  GTEST_SKIP() << "Windows only: other systems keep letter case apart";
#else
  tarnwick::test::TempDir dir;
  dir.write("Mixed/Sub/f.txt", "f");
  dir.write("Mixed/Other/g.txt", "g");
  dir.write("Top.txt", "t");
  StoredCaseFolders folders;
  // The folder itself as stored, asked once: the reference the cases below are held to.
  const std::wstring given = LongPath(dir.str());
  const std::wstring root = given.back() == L'\\' ? given : given + L'\\';
  const std::wstring stored = folders.Resolve(root + L"Top.txt");
  ASSERT_EQ(stored.size(), root.size() + 7);
  const std::wstring storedRoot = stored.substr(0, root.size());

  const std::wstring upperRoot = Upper(root);
  struct Case {
    std::wstring given, expected;
  } cases[] = {
      // Asked of the system: every folder on the way in its stored case.
      {upperRoot + L"MIXED\\SUB\\f.txt", storedRoot + L"Mixed\\Sub\\f.txt"},
      // Below a folder learnt on the way: its stored form, then the names as given.
      {upperRoot + L"MIXED\\Other\\g.txt", storedRoot + L"Mixed\\Other\\g.txt"},
      {upperRoot + L"Top.txt", storedRoot + L"Top.txt"},
      // A folder that is not there: its own name as given, below the root learnt (opening it
      // fails as it would have).
      {upperRoot + L"GONE\\x.txt", storedRoot + L"GONE\\x.txt"},
      // Elsewhere, nothing learnt: a missing folder is kept as given.
      {L"\\\\?\\C:\\NO-SUCH-FOLDER-HERE\\x.txt", L"\\\\?\\C:\\NO-SUCH-FOLDER-HERE\\x.txt"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Narrow(folders.Resolve(c.given)), Narrow(c.expected));
  // The file opens by the path the scan gives, root upper-cased.
  EXPECT_TRUE(SystemFiles().Open(Narrow(upperRoot + L"MIXED\\SUB\\f.txt")).file);
#endif
}

}  // namespace
}  // namespace tarnwick::platform
