// What makes the archive trustworthy without opening it: it is read back and checked before it
// is put in place, and it carries a manifest of what it holds and what it does not.
#include <gtest/gtest.h>

#include <fstream>

#include "core/common/process_state.h"
#include "core/export/export_fixtures.h"
#include "core/export/zip_engine.h"
#include "core/export/zip_reader.h"
#include "core/export/zip_state.h"

namespace tarnwick {
namespace {

using test::TempDir;

class ZipIntegrityTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcessState(); }
  void TearDown() override { ResetProcessState(); }

  std::string add(const std::string& rel, const std::string& bytes) {
    const auto p = dir.write("src/" + rel, bytes);
    test::SetModifiedTime(p, 1700000000);
    names.push_back(p.string());
    return p.string();
  }

  TempDir dir;
  std::string archive = (dir / "out.zip").string();
  std::vector<std::string> names;
};

// A byte damaged between writing and the check (as a failing medium or cable would) is found:
// the archive is not put in place, the old one stays, the damaged entry is named.
TEST_F(ZipIntegrityTest, ADamagedByteIsCaughtAndTheOldArchiveKept) {
  add("text.doc", test::TextBytes(400000));
  add("noise.jpg", test::RandomBytes(300000));  // stored
  dir.write("out.zip", "the old archive");
  struct Case {
    const char* label;
    std::size_t entry;
    std::uint64_t into;  // bytes into the entry's data
  };
  for (const Case c : {Case{"deflated data", 0, 20000}, Case{"stored data", 1, 1000}}) {
    SCOPED_TRACE(c.label);
    ZipRunControl control;
    std::string damagedName;
    control.afterWrite = [&](const std::string& temp) {
      std::string error;
      std::uint64_t at = 0;
      {
        auto reader = zipformat::ZipReader::OpenPath(temp, error);
        ASSERT_TRUE(reader) << error;
        at = reader->Entries()[c.entry].dataOffset + c.into;
        damagedName = reader->Entries()[c.entry].record.name;
      }
      std::fstream f(temp, std::ios::in | std::ios::out | std::ios::binary);
      f.seekp(static_cast<std::streamoff>(at));
      f.put('\x7F');
    };
    bool sawVerifying = false;
    control.progress = [&](const ZipProgress& p) { sawVerifying |= p.verifying; };
    ZipReport report;
    EXPECT_EQ(RunZip(archive, names, ZipOptions{}, control, &report), kZipVerifyFailed);
    EXPECT_TRUE(sawVerifying);
    EXPECT_FALSE(report.archiveWritten);
    ASSERT_EQ(report.damaged.size(), 1u);
    EXPECT_EQ(report.damaged[0].entryName, damagedName);
    EXPECT_NE(LastZipMessage.find("damaged in the archive"), std::string::npos) << LastZipMessage;
    EXPECT_EQ(TempDir::read(archive), "the old archive");
    EXPECT_EQ(test::FolderNames(dir.path()), (std::set<std::string>{"out.zip", "src"}));
  }
  // Unchecked, the same damage goes unnoticed: the check is what catches it.
  ZipRunControl unchecked;
  unchecked.verify = false;
  unchecked.afterWrite = [](const std::string& temp) {
    std::fstream f(temp, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(40000);
    f.put('\x7F');
  };
  ZipReport report;
  EXPECT_EQ(RunZip(archive, names, ZipOptions{}, unchecked, &report), kZipOk);
  EXPECT_FALSE(report.verified);
}

TEST_F(ZipIntegrityTest, ManifestListsEveryFileWhatIsMissingAndWhy) {
  const std::string a = add("report.doc", "quarterly figures");
  const std::string odd = add("caf\xE9.doc", "");
  const std::string tab = add("a\tb.doc", "x");
  names.push_back((dir / "src/gone.doc").string());

  ManifestInput in;
  in.header.program = "Tarnwick 9.9";
  in.header.computer = "PC1";
  in.header.user = "alice";
  in.header.system = "Linux";
  in.header.home = "/home/alice";
  in.header.knownFolders = {{"Documents", "/home/alice/Documents"}};
  in.header.created = 1796901605;  // 2026-12-10 11:20:05 UTC
  in.header.scanFolder = dir.str();
  in.header.patterns = "*.doc;*.docx";
  in.header.excludeTemporary = true;
  in.notGathered = {{"/home/alice/cloud.doc", "stored online only, not downloaded"}};
  in.unreadableFolders = {{"/home/alice/private", "access denied"}};
  ZipRunControl control;
  control.manifest = &in;
  ZipReport report;
  ASSERT_EQ(RunZip(archive, names, ZipOptions{}, control, &report), kZipSomeSkipped)
      << LastZipMessage;
  EXPECT_TRUE(report.verified);

  std::string error;
  auto reader = zipformat::ZipReader::OpenPath(archive, error);
  ASSERT_TRUE(reader) << error;
  ASSERT_EQ(reader->Entries().size(), 4u);
  EXPECT_EQ(reader->Entries().back().record.name, "tarnwick-manifest.txt");
  zipformat::EntryStatus status{};
  const std::string text = reader->ReadEntryText(3, status);
  ASSERT_EQ(status, zipformat::EntryStatus::Ok);

  const std::string e = test::FullEntryName(dir.path()) + "/src/";
  const std::string src = dir.str() + "/src/";
  const std::string expected =
      "Tarnwick manifest 1\n"
      "Program: Tarnwick 9.9\n"
      "Computer: PC1\n"
      "User: alice\n"
      "System: Linux\n"
      "Home: /home/alice\n"
      "Known folder: Documents\t/home/alice/Documents\n"
      "Created: 2026-12-10T11:20:05Z\n"
      "Scan folder: " +
      dir.str() +
      "\n"
      "Patterns: *.doc;*.docx\n"
      "Exclude temporary folders: yes\n"
      "Exclude system folders: no\n"
      "Part: 1 of 1\n"
      "Files in this part: 3\n"
      "Files not gathered: 2\n"
      "\n"
      "[files]\n"
      "size\tmodified\tcrc32\tentry name\toriginal path\n"
      "17\t2023-11-14T22:13:20Z\t" +
      test::Crc32Hex("quarterly figures") + "\t" + e + "report.doc\t" + src +
      "report.doc\n"
      "0\t2023-11-14T22:13:20Z\t00000000\t" +
      e + "caf%25E9.doc\t" + src +
      "caf%E9.doc\n"
      "1\t2023-11-14T22:13:20Z\t" +
      test::Crc32Hex("x") + "\t" + e + "a%2509b.doc\t" + src +
      "a%09b.doc\n"
      "\n"
      "[not gathered]\n"
      "original path\treason\n" +
      src +
      "gone.doc\tnot found\n"
      "/home/alice/cloud.doc\tstored online only, not downloaded\n"
      "\n"
      "[unreadable folders]\n"
      "path\treason\n"
      "/home/alice/private\taccess denied\n";
  EXPECT_EQ(text, expected);

  std::vector<test::ExpectedEntry> entries = {
      {e + "report.doc", 17, 1700000000, a},
      {e + "caf%E9.doc", 0, 1700000000, odd},
      {e + "a%09b.doc", 1, 1700000000, tab},
      {"tarnwick-manifest.txt", text.size(), std::nullopt, std::nullopt}};
  EXPECT_EQ(test::CheckWithAllReaders(archive, entries), "");
}

}  // namespace
}  // namespace tarnwick
