// The copy into the migration folder with a real file whose Windows name holds an unpaired
// surrogate (valid on NTFS, not valid UTF-16 text): the copy has the exact same name and content.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/export/export_paths.h"
#include "core/export/file_copy.h"
#include "core/platform/utf16_win.h"
#include "support/temp_dir.h"
#include "support/win_files.h"

namespace tarnwick {
namespace {

TEST(OddNameCopy, KeepsANameWithAnUnpairedSurrogateExactly) {
  test::TempDir dir;
  const std::wstring name = std::wstring(L"note-") + wchar_t(0xD800) + L".doc";
  const std::filesystem::path source = dir.path() / L"docs" / name;
  test::win::MakeFolders(source.parent_path());
  if (!test::win::WriteBytes(source, "odd content"))
    GTEST_SKIP() << "this file system cannot hold a name with an unpaired surrogate";

  const std::string scan = platform::Narrow((dir.path() / L"docs").wstring()) + "\\";
  const std::string migration = platform::Narrow((dir.path() / L"PC1").wstring()) + "\\";
  const std::string sourcePath = platform::Narrow(source.wstring());
  const std::vector<CopyItem> items{
      {sourcePath, MigrationDestination(sourcePath, scan, migration)}};
  const CopyReport report = CopyFiles(items);

  ASSERT_TRUE(report.AllCopied()) << report.notCopied[0].detail;
  const std::filesystem::path copied = dir.path() / L"PC1" / name;
  EXPECT_EQ(platform::Widen(items[0].destination), copied.wstring());
  EXPECT_EQ(test::win::ReadBytes(copied), "odd content");
}

}  // namespace
}  // namespace tarnwick
