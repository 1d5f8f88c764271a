// The temporary file both the archive writer and the restore write through: what Place() does
// with each kind of entry already at the target, under each option, and that nothing but the
// target is left in the folder, whatever happens.
#include "core/platform/temp_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tarnwick::platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

enum class AtTarget { Nothing, File, LinkToFile, Folder };

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder))
    names.push_back(test::Utf8(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(TempFile, PlacesOnlyWhereTheOptionsAllow) {
  struct Case {
    AtTarget at;
    TempFileOptions options;
    bool created;        // CreateFor succeeds
    PlaceResult result;  // what Place() says
    std::string target;  // the content at "doc.txt" afterwards ("" = a folder or nothing)
    std::string linked;  // the content of "real.txt" afterwards (the link's file)
  };
  const std::vector<Case> cases = {
      {AtTarget::Nothing, {.replace = false}, true, PlaceResult::Placed, "new", ""},
      {AtTarget::Nothing, {.replace = true}, true, PlaceResult::Placed, "new", ""},
      {AtTarget::File, {.replace = false}, true, PlaceResult::TargetExists, "old", ""},
      {AtTarget::File, {.replace = true}, true, PlaceResult::Placed, "new", ""},
      {AtTarget::Folder, {.replace = false}, true, PlaceResult::TargetExists, "", ""},
      {AtTarget::Folder, {.replace = true}, false, PlaceResult::Failed, "", ""},
#ifndef _WIN32  // Wine makes no links
      // Never replacing: a link is an entry like any other, and the file behind it is kept.
      {AtTarget::LinkToFile, {.replace = false}, true, PlaceResult::TargetExists, "old", "old"},
      // Replacing without following: the link itself is replaced, the file behind it kept.
      {AtTarget::LinkToFile, {.replace = true}, true, PlaceResult::Placed, "new", "old"},
      // Following: the file behind the link gets the content and the link stays.
      {AtTarget::LinkToFile,
       {.replace = true, .followLink = true},
       true,
       PlaceResult::Placed,
       "new",
       "new"},
#endif
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE("case " + std::to_string(i));
    TempDir dir;
    std::vector<std::string> expected = {"doc.txt"};
    if (c.at == AtTarget::File)
      dir.write("doc.txt", "old");
    if (c.at == AtTarget::Folder)
      dir.mkdir("doc.txt");
    if (c.at == AtTarget::LinkToFile) {
      dir.write("real.txt", "old");
      fs::create_symlink("real.txt", dir / "doc.txt");
      expected.push_back("real.txt");
    }
    FileError error = FileError::None;
    std::string detail;
    auto file = TempFile::CreateFor(dir.str("doc.txt"), c.options, error, detail);
    ASSERT_EQ(file != nullptr, c.created) << detail;
    if (file) {
      ASSERT_EQ(file->Write("ne"), FileError::None);
      ASSERT_EQ(file->Write("w"), FileError::None);
      file->SetModifiedTime(1'000'000'000);
      EXPECT_EQ(file->Place(detail), c.result) << detail;
      file.reset();
    } else {
      EXPECT_EQ(error, FileError::NotAFile);
    }
    const fs::path target = dir / "doc.txt";
    if (c.target.empty())
      EXPECT_TRUE(c.at == AtTarget::Folder ? fs::is_directory(target) : !fs::exists(target));
    else
      EXPECT_EQ(TempDir::read(target), c.target);
    if (!c.linked.empty()) {
      EXPECT_EQ(TempDir::read(dir / "real.txt"), c.linked);
      EXPECT_EQ(fs::is_symlink(target), c.options.followLink || !c.options.replace);
    }
    if (c.result == PlaceResult::Placed) {
      FileInfo info;
      ASSERT_EQ(SystemFiles().Examine(dir.str(c.options.followLink ? "real.txt" : "doc.txt"), info),
                FileError::None);
      EXPECT_EQ(info.modifiedTime, 1'000'000'000);
    }
    // No temporary file is left, placed or not.
    EXPECT_EQ(namesIn(dir.path()), expected);
  }
}

TEST(TempFile, WritesInPlaceAndTruncatesAndRemovesItselfUnplaced) {
  TempDir dir;
  FileError error = FileError::None;
  std::string detail;
  auto file = TempFile::CreateFor(dir.str("a.bin"), {}, error, detail);
  ASSERT_NE(file, nullptr) << detail;
  ASSERT_EQ(file->Write("abcdef"), FileError::None);
  ASSERT_EQ(file->WriteAt(1, "XY"), FileError::None);
  EXPECT_EQ(file->Position(), 6u);
  ASSERT_EQ(file->TruncateTo(4), FileError::None);
  ASSERT_EQ(file->Write("!"), FileError::None);
  ASSERT_EQ(file->Flush(), FileError::None);
  ASSERT_EQ(file->Place(detail), PlaceResult::Placed) << detail;
  EXPECT_EQ(TempDir::read(dir / "a.bin"), "aXYd!");

  // One that is never placed leaves nothing behind.
  auto dropped = TempFile::CreateFor(dir.str("b.bin"), {}, error, detail);
  ASSERT_NE(dropped, nullptr) << detail;
  ASSERT_EQ(dropped->Write("never placed"), FileError::None);
  dropped.reset();
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"a.bin"});
}

TEST(TempFile, AFolderThatIsNotThereIsReported) {
  TempDir dir;
  FileError error = FileError::None;
  std::string detail;
  EXPECT_EQ(TempFile::CreateFor(dir.str("missing/a.bin"), {}, error, detail), nullptr);
  EXPECT_EQ(error, FileError::NotFound);
  EXPECT_FALSE(detail.empty());
}

}  // namespace
}  // namespace tarnwick::platform
