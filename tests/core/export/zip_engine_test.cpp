// The ZIP engine end to end: archives that every common reader opens with the right names,
// sizes, times and contents; the lines it prints; files it cannot read; the old archive kept on
// failure and cancel; update.
#include <gtest/gtest.h>

#include <atomic>

#include "core/common/process_state.h"
#include "core/common/ui_hooks.h"
#include "core/export/export_fixtures.h"
#include "core/export/faulty_files.h"
#include "core/export/zip_engine.h"
#include "core/export/zip_state.h"

namespace tarnwick {
namespace {

using test::ExpectedEntry;
using test::FullEntryName;
using test::TempDir;

class ZipEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcessState(); }
  void TearDown() override { ResetProcessState(); }

  // Writes a file with a fixed time and remembers what the archive must hold for it.
  std::string add(const std::string& rel, const std::string& bytes,
                  std::int64_t mtime = 1700000001) {
    const auto p = dir.write(rel, bytes);
    test::SetModifiedTime(p, mtime);
    expected.push_back({FullEntryName(p), bytes.size(), mtime, p});
    names.push_back(p.string());
    return p.string();
  }

  std::string archive(const std::string& name = "out.zip") const { return (dir / name).string(); }

  TempDir dir;
  std::vector<std::string> names;
  std::vector<ExpectedEntry> expected;
};

TEST_F(ZipEngineTest, ArchiveOpensInEveryReaderWithNamesSizesTimesAndContents) {
  add("docs/report.txt", test::TextBytes(10000));
  add("docs/empty.doc", "");
  add("docs/big text.txt", test::TextBytes(3 * 1024 * 1024 + 12345, 3));  // several blocks
  add("docs/exact.txt", test::TextBytes(1024 * 1024, 4));                 // one whole block
  add("docs/noise.bin", test::RandomBytes(2 * 1024 * 1024 + 7));          // judged: stored
  add("docs/slides.pptx", test::TextBytes(5000, 5));                      // by name: stored
  add("Ünïcode/日本語 файл.doc", test::TextBytes(3000, 6), 1700000002);
  add("docs/old.txt", "before 1980", 100);

  ZipRunControl control;
  control.threads = 3;
  ZipReport report;
  ASSERT_EQ(RunZip(archive(), names, ZipOptions{}, control, &report), kZipOk) << LastZipMessage;
  EXPECT_TRUE(report.archiveWritten);
  EXPECT_TRUE(report.skipped.empty());
  ASSERT_EQ(report.archived.size(), names.size());
  EXPECT_EQ(test::CheckWithAllReaders(archive(), expected), "");

  const std::string& m = LastZipMessage;
  const std::string root = FullEntryName(dir.path());
  EXPECT_NE(m.find("adding: " + root + "/docs/report.txt (deflated "), std::string::npos) << m;
  EXPECT_NE(m.find("adding: " + root + "/docs/empty.doc (stored 0%)\n"), std::string::npos);
  EXPECT_NE(m.find("adding: " + root + "/docs/noise.bin (stored 0%)\n"), std::string::npos);
  EXPECT_NE(m.find("adding: " + root + "/docs/slides.pptx (stored 0%)\n"), std::string::npos);
  EXPECT_EQ(m.find("  "), std::string::npos) << "leading spaces are removed";

  // The archive is the same whatever the number of threads: blocks are written in order.
  for (unsigned threads : {1u, 4u}) {
    control.threads = threads;
    const std::string other = archive("t" + std::to_string(threads) + ".zip");
    ASSERT_EQ(RunZip(other, names, ZipOptions{}, control), kZipOk);
    EXPECT_EQ(TempDir::read(other), TempDir::read(archive())) << threads << " threads";
  }
}

TEST_F(ZipEngineTest, RootDirectoryRecurseAndJunkDecideTheEntries) {
  add("top/a.txt", "alpha");
  add("top/sub/b.txt", test::TextBytes(2000));
  dir.mkdir("top/empty");
  const std::string root = dir.str();

  struct Case {
    const char* label;
    ZipOptions options;
    std::vector<std::string> names;
    std::vector<std::string> entries;
  };
  ZipOptions recurse;
  recurse.Recurse = true;
  recurse.RootDir = root;
  ZipOptions rootOnly;
  rootOnly.RootDir = root + "/";
  ZipOptions junk;
  junk.JunkDirs = true;
  ZipOptions noDirs = recurse;
  noDirs.NoDirEntries = true;
  const std::vector<Case> cases = {
      {"names below the root directory",
       rootOnly,
       {names[0], "top/sub/b.txt"},
       {"top/a.txt", "top/sub/b.txt"}},
      {"a folder with its contents",
       recurse,
       {"top"},
       {"top/", "top/a.txt", "top/empty/", "top/sub/", "top/sub/b.txt"}},
      {"no folder entries", noDirs, {"top"}, {"top/a.txt", "top/sub/b.txt"}},
      {"only file names", junk, names, {"a.txt", "b.txt"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::filesystem::remove(archive());
    ASSERT_EQ(RunZip(archive(), c.names, c.options), kZipOk) << LastZipMessage;
    EXPECT_EQ(test::ListWithBsdtar(archive()), c.entries);
    std::vector<ExpectedEntry> want;
    for (const auto& e : c.entries) {
      const bool folder = e.back() == '/';
      const auto size = e.ends_with("a.txt") ? 5 : folder ? 0 : 2000;
      want.push_back({e, static_cast<std::uint64_t>(size), std::nullopt, std::nullopt});
    }
    EXPECT_EQ(test::CheckWithAllReaders(archive(), want), "");
  }
}

// Names that are not text (a Latin-1 name from an old disk, a control character) are stored in
// their escaped form, so every reader opens the archive and extracts every entry; an escaped name
// never takes the name of a file stored as it is, nor the manifest's.
TEST_F(ZipEngineTest, NamesThatAreNotTextAreStoredEscapedAndUnique) {
  struct Case {
    const char* file;
    const char* entry;
    bool escaped;
  };
  const Case cases[] = {
      {"caf\xE9.doc", "caf%E9~2.doc", true},  // "caf%E9.doc" belongs to the next file
      {"caf%E9.doc", "caf%E9.doc", false},
      {"tab\there.doc", "tab%09here.doc", true},
      {"100%.doc", "100%.doc", false},
      {"\xC3(\xFF\xFE.doc", "%C3(%FF%FE.doc", true},
      {"d\xF6"
       "cs/inner.doc",
       "d%F6cs/inner.doc", true},
      {"tarnwick-manifest.txt", "tarnwick-manifest~2.txt", false},
      {"Tarnwick-Manifest.TXT", "Tarnwick-Manifest~2.TXT", false},
  };
  ZipOptions o;
  o.RootDir = dir.str();
  std::vector<ExpectedEntry> want;
  for (const auto& c : cases) {
    const std::string p = add(c.file, c.file);
    want.push_back({c.entry, std::string(c.file).size(), std::nullopt, p});
  }
  ZipReport report;
  ASSERT_EQ(RunZip(archive(), names, o, {}, &report), kZipOk) << LastZipMessage;
  ASSERT_EQ(report.archived.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(report.archived[i].entryName, cases[i].entry);
    EXPECT_EQ(report.archived[i].escapedName, cases[i].escaped) << cases[i].entry;
  }
  EXPECT_EQ(test::CheckWithAllReaders(archive(), want), "");
}

TEST_F(ZipEngineTest, AnArchiveWhoseNameIsTheLongestAllowedIsWritten) {
  add("a.doc", "alpha");
  const std::string longest = archive(std::string(251, 'z') + ".zip");  // a 255-byte name
  ASSERT_EQ(RunZip(longest, names, ZipOptions{}), kZipOk) << LastZipMessage;
  EXPECT_EQ(test::RunCommand("unzip -tq " + test::Quote(longest)).exitCode, 0);
  EXPECT_EQ(test::FolderNames(dir.path()).size(), 2u) << "no temporary file left";
}

TEST_F(ZipEngineTest, UnreadableFilesAreLeftOutAndTheRestIsArchived) {
  add("ok1.txt", test::TextBytes(4000));
  const std::string vanished = (dir / "vanished.doc").string();  // listed, then removed
  const std::string folder = dir.mkdir("was-a-file.doc").string();
  const std::string failing = dir.write("failing.doc", test::TextBytes(3 * 1024 * 1024)).string();
  const std::string mail = dir.write("mail.pst", test::TextBytes(100)).string();
  const std::string growing = dir.write("growing.doc", test::TextBytes(100)).string();
  add("ok2.txt", test::RandomBytes(3000));
  names.insert(names.begin() + 1, {vanished, folder, failing, mail, growing});

  test::FaultyFiles files;
  files.Add(failing, {.failReadsFrom = 1536 * 1024});  // fails in its second block
  files.Add(mail, {.openError = platform::FileError::InUse});
  files.Add(growing, {.growsWhileRead = true});
  ZipRunControl control;
  control.files = &files;
  ZipReport report;
  EXPECT_EQ(RunZip(archive(), names, ZipOptions{}, control, &report), kZipSomeSkipped);
  EXPECT_TRUE(report.archiveWritten);
  EXPECT_EQ(test::CheckWithAllReaders(archive(), expected), "");

  std::vector<std::pair<std::string, platform::FileError>> skipped;
  for (const auto& s : report.skipped)
    skipped.emplace_back(s.path, s.reason);
  using platform::FileError;
  EXPECT_EQ(skipped,
            (std::vector<std::pair<std::string, FileError>>{{vanished, FileError::NotFound},
                                                            {folder, FileError::NotAFile},
                                                            {failing, FileError::ReadFailed},
                                                            {mail, FileError::InUse},
                                                            {growing, FileError::Changed}}));
  const std::string& m = LastZipMessage;
  EXPECT_NE(m.find("zip warning: name not matched: " + vanished + "\n"), std::string::npos) << m;
  EXPECT_NE(m.find("zip warning: could not open for reading: " + mail + "\n"), std::string::npos);
  EXPECT_NE(m.find("zip warning: left out, could not be read: " + failing + "\n"),
            std::string::npos);
  EXPECT_NE(m.find("zip warning: left out, changed while it was being read: " + growing + "\n"),
            std::string::npos);
}

TEST_F(ZipEngineTest, FailureAndCancelKeepTheOldArchiveAndLeaveNoTemporaryFile) {
  for (int i = 0; i < 4; ++i)
    add("f" + std::to_string(i) + ".txt", test::TextBytes(1 << 20, i));
  const auto before = test::FolderNames(dir.path());
  std::atomic<bool> cancel{false};

  struct Case {
    const char* label;
    std::vector<std::string> names;
    bool cancelAfterFirstFile;
    std::int32_t code;
  };
  const std::vector<Case> cases = {
      {"nothing listed", {}, false, kZipNothingToDo},
      {"nothing readable", {(dir / "gone.txt").string()}, false, kZipNothingToDo},
      {"cancelled", names, true, kZipCancelled},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    dir.write("out.zip", "the old archive");
    cancel = false;
    ZipRunControl control;
    control.cancel = &cancel;
    // The front end's handler runs inside Pump() and sets the flag, as a Cancel button does.
    SetPumpHook([&] {
      if (c.cancelAfterFirstFile && LastZipMessage.find("adding:") != std::string::npos) {
        cancel = true;
      }
    });
    ZipReport report;
    EXPECT_EQ(RunZip(archive(), c.names, ZipOptions{}, control, &report), c.code) << LastZipMessage;
    EXPECT_FALSE(report.archiveWritten);
    EXPECT_EQ(report.cancelled, c.cancelAfterFirstFile);
    EXPECT_EQ(TempDir::read(archive()), "the old archive");
    auto now = test::FolderNames(dir.path());
    now.erase("out.zip");
    EXPECT_EQ(now, before);
  }
  EXPECT_NE(LastZipMessage.find("zip error: Interrupted (aborting)\n"), std::string::npos);

  // A complete run replaces it.
  SetPumpHook({});
  ASSERT_EQ(RunZip(archive(), names, ZipOptions{}), kZipOk);
  EXPECT_EQ(test::CheckWithAllReaders(archive(), expected), "");
}

TEST_F(ZipEngineTest, OutputThatCannotBeCreatedFailsWithoutWritingAnything) {
  add("a.txt", "a");
  const std::string missingFolder = (dir / "no-such-folder" / "out.zip").string();
  EXPECT_EQ(RunZip(missingFolder, names, ZipOptions{}), kZipCreateFailed);
  EXPECT_NE(LastZipMessage.find("zip error: Could not create output file"), std::string::npos);
  dir.mkdir("a-folder.zip");
  EXPECT_EQ(RunZip((dir / "a-folder.zip").string(), names, ZipOptions{}), kZipCreateFailed);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "a-folder.zip"));
}

TEST_F(ZipEngineTest, UnsupportedOptionsFailRatherThanBeIgnored) {
  add("a.txt", "a");
  ZipOptions encrypt;
  encrypt.Encrypt = true;
  EXPECT_EQ(RunZip(archive(), names, encrypt), kZipBadOptions);
  EXPECT_FALSE(std::filesystem::exists(archive()));
}

TEST_F(ZipEngineTest, UpdateKeepsOldEntriesReplacesNamedFilesAndAddsNewOnes) {
  ZipOptions update;
  update.RootDir = dir.str();
  update.Update = true;
  const auto a = dir.write("a.txt", test::TextBytes(5000, 1));
  const auto b = dir.write("b.txt", "old b");
  ASSERT_EQ(RunZip(archive(), {a.string(), b.string()}, update), kZipOk);
  const std::string firstArchive = TempDir::read(archive());

  dir.write("b.txt", test::TextBytes(7000, 2));
  const auto c = dir.write("c.bin", test::RandomBytes(100));
  ZipReport report;
  ASSERT_EQ(RunZip(archive(), {"b.txt", "c.bin"}, update, {}, &report), kZipOk) << LastZipMessage;
  EXPECT_NE(LastZipMessage.find("updating: b.txt (deflated"), std::string::npos) << LastZipMessage;
  EXPECT_NE(LastZipMessage.find("adding: c.bin (stored 0%)"), std::string::npos);
  EXPECT_EQ(report.keptEntries, 1u);
  EXPECT_EQ(test::CheckWithAllReaders(archive(), {{"a.txt", 5000, std::nullopt, a},
                                                  {"b.txt", 7000, std::nullopt, b},
                                                  {"c.bin", 100, std::nullopt, c}}),
            "");

  // A replacement that cannot be read keeps the entry it was to replace.
  const std::string keep = (dir / "keep.txt").string();
  std::filesystem::copy_file(b, keep);
  test::FaultyFiles files;
  files.Add(b.string(), {.failReadsFrom = 0});
  ZipRunControl control;
  control.files = &files;
  EXPECT_EQ(RunZip(archive(), {"b.txt"}, update, control, &report), kZipSomeSkipped);
  EXPECT_EQ(report.keptEntries, 3u);
  EXPECT_EQ(test::CheckWithAllReaders(archive(), {{"a.txt", 5000, std::nullopt, a},
                                                  {"b.txt", 7000, std::nullopt, keep},
                                                  {"c.bin", 100, std::nullopt, c}}),
            "");

  // Something that is not an archive is not updated.
  dir.write("not.zip", "plain text");
  EXPECT_EQ(RunZip(archive("not.zip"), {"a.txt"}, update), kZipBadArchive);
  EXPECT_EQ(TempDir::read(dir / "not.zip"), "plain text");
}

TEST_F(ZipEngineTest, ZipPrintShowsProgressLinesAndCollectsEveryLine) {
  std::vector<std::string> shown;
  int pumps = 0;
  SetStatusHook([&](const std::string& text) { shown.push_back(text); });
  SetPumpHook([&] { ++pumps; });
  const char withNul[] = "  adding: cut\0 here";
  const std::vector<std::string_view> lines = {
      "  adding: a.doc (deflated 42%)\n", "updating: b.doc (stored 0%)\n", "  Adding: c.doc\n",
      "  zip warning: name not matched: d.doc\n", "    \n"};
  for (auto line : lines)
    EXPECT_EQ(ZipPrint(line.data(), static_cast<std::uint32_t>(line.size())), 0);
  ZipPrint(withNul, sizeof withNul - 1);
  ZipPrint("adding: longer than the length given", 6);

  EXPECT_EQ(shown,
            (std::vector<std::string>{"adding: a.doc (deflated 42%)", "updating: b.doc (stored 0%)",
                                      "adding: cut", "adding"}));
  EXPECT_EQ(LastZipMessage,
            "adding: a.doc (deflated 42%)\nupdating: b.doc (stored 0%)\nAdding: c.doc\n"
            "zip warning: name not matched: d.doc\n\nadding: cutadding");
  EXPECT_EQ(pumps, 7);

  // A run starts from an empty message.
  RunZip(archive(), {}, ZipOptions{});
  EXPECT_EQ(LastZipMessage, "zip error: Nothing to do! (" + archive() + ")\n");
}

}  // namespace
}  // namespace tarnwick
