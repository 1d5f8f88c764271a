#include <gtest/gtest.h>

#include "core/restore/restore_plan.h"
#include "core/restore/test_archive.h"

namespace tarnwick::restore {
namespace {

HereLayout linuxBob() {
  HereLayout here;
  here.system = PathSystem::Posix;
  here.folders = platform::ParseXdgUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", "/home/bob");
  return here;
}

HereLayout windowsBob() {
  HereLayout here;
  here.system = PathSystem::Windows;
  here.folders.home = "C:\\Users\\bob";
  here.folders.known = {{"Documents", "E:\\Redirected\\Docs"},
                        {"Desktop", "C:\\Users\\bob\\Desktop"}};
  here.rootExists = [](const std::string& root) { return root == "C:" || root == "E:"; };
  return here;
}

struct PlanFixture {
  test::TempDir dir;
  ArchiveSet set;
  void open(const test::ManifestHeader& h, const std::vector<test::ManifestTestFile>& files) {
    const auto zip = dir.write("a.zip", test::BuildTarnwickZip(h, files));
    std::string error;
    ASSERT_TRUE(OpenArchiveSet({test::Utf8(zip)}, set, error)) << error;
  }
  // The target of each file, by original path.
  static std::map<std::string, std::string> targets(const RestorePlan& plan) {
    std::map<std::string, std::string> out;
    for (const auto& e : plan.entries)
      out[e.from] = e.refusal.empty() ? e.target : "REFUSED: " + e.refusal;
    return out;
  }
};

const std::vector<test::ManifestTestFile> kWindowsFiles = {
    {"C:\\Users\\alice\\Documents\\letters\\a.doc", "Users/alice/Documents/letters/a.doc", "a"},
    {"D:\\Docs\\b.doc", "Docs/b.doc", "b"},  // Documents redirected on the old PC
    {"C:\\Users\\alice\\Desktop\\c.doc", "Users/alice/Desktop/c.doc", "c"},
    {"C:\\Users\\alice\\AppData\\d.pst", "Users/alice/AppData/d.pst", "d"},
    {"E:\\Projects\\e.doc", "E/Projects/e.doc", "e"},
    {"C:\\Data\\f.doc", "Data/f.doc", "f"},
    {"\\\\nas\\share\\g.doc", "nas/share/g.doc", "g"},
    {"C:\\Users\\alice\\..\\..\\Windows\\evil.dll", "evil.dll", "x"},
};

TEST(RestorePlan, SamePlacesFromWindowsOntoLinux) {
  PlanFixture f;
  test::ManifestHeader h;
  h.knownFolders = {{"Documents", "D:\\Docs"}};
  f.open(h, kWindowsFiles);
  const RestorePlan plan = MakePlan(f.set, {}, linuxBob());
  ASSERT_TRUE(plan.error.empty()) << plan.error;
  EXPECT_TRUE(plan.hasManifest);
  EXPECT_EQ(plan.oldComputer, "OLDPC");
  const auto t = PlanFixture::targets(plan);
  // The old Documents folder was D:\Docs; the profile's own "Documents" folder comes with Home.
  EXPECT_EQ(t.at(kWindowsFiles[0].originalPath), "/home/bob/Documents/letters/a.doc");
  EXPECT_EQ(t.at(kWindowsFiles[1].originalPath), "/home/bob/Dokumente/b.doc");
  EXPECT_EQ(t.at(kWindowsFiles[2].originalPath), "/home/bob/Desktop/c.doc");
  EXPECT_EQ(t.at(kWindowsFiles[3].originalPath), "/home/bob/AppData/d.pst");
  EXPECT_EQ(t.at(kWindowsFiles[4].originalPath), "/home/bob/Dokumente/OLDPC/E/Projects/e.doc");
  EXPECT_EQ(t.at(kWindowsFiles[5].originalPath), "/home/bob/Dokumente/OLDPC/C/Data/f.doc");
  EXPECT_EQ(t.at(kWindowsFiles[6].originalPath), "/home/bob/Dokumente/OLDPC/nas/share/g.doc");
  EXPECT_EQ(t.at(kWindowsFiles[7].originalPath).substr(0, 9), "REFUSED: ");
}

TEST(RestorePlan, SamePlacesOntoWindowsKeepsDrivesThatExistAndTheUsersMapsWin) {
  PlanFixture f;
  f.open({}, kWindowsFiles);
  PlanRequest request;
  request.mappings = DefaultMappings(*f.set.FirstManifest(), windowsBob());
  request.mappings.push_back({"C:\\Users\\alice\\AppData", "C:\\Old mail", {}, true});
  request.mappings.push_back({"c:\\users\\ALICE", "F:\\alice", {}, true});
  const RestorePlan plan = MakePlan(f.set, request, windowsBob());
  const auto t = PlanFixture::targets(plan);
  // The user's maps come before the defaults, the longest first.
  EXPECT_EQ(t.at(kWindowsFiles[0].originalPath), "F:\\alice\\Documents\\letters\\a.doc");
  EXPECT_EQ(t.at(kWindowsFiles[3].originalPath), "C:\\Old mail\\d.pst");
  EXPECT_EQ(t.at(kWindowsFiles[4].originalPath), "E:\\Projects\\e.doc");  // E: exists here
  EXPECT_EQ(t.at(kWindowsFiles[5].originalPath), "C:\\Data\\f.doc");
  // D: does not: below Documents\OLDPC.
  EXPECT_EQ(t.at(kWindowsFiles[1].originalPath), "E:\\Redirected\\Docs\\OLDPC\\D\\Docs\\b.doc");
}

TEST(RestorePlan, IntoAFolderKeepsThePathBelowTheScanFolder) {
  PlanFixture f;
  test::ManifestHeader h;
  h.scanFolder = "C:\\Users\\alice\\";
  f.open(h, {kWindowsFiles[0], kWindowsFiles[4]});
  PlanRequest request;
  request.mode = PlanMode::IntoFolder;
  EXPECT_FALSE(MakePlan(f.set, request, linuxBob()).error.empty());
  request.intoFolder = "/mnt/restore";
  const auto t = PlanFixture::targets(MakePlan(f.set, request, linuxBob()));
  EXPECT_EQ(t.at(kWindowsFiles[0].originalPath), "/mnt/restore/Documents/letters/a.doc");
  // Not below the scan folder: its entry name.
  EXPECT_EQ(t.at(kWindowsFiles[4].originalPath), "/mnt/restore/E/Projects/e.doc");
}

TEST(RestorePlan, LinuxPathsOntoWindows) {
  PlanFixture f;
  test::ManifestHeader h;
  h.system = "Linux";
  h.home = "/home/alice";
  h.scanFolder = "/home/alice/";
  f.open(h, {{"/home/alice/Documents/what?.doc", "home/alice/Documents/what?.doc", "1"},
             {"/home/alice/notes/caf\xE9.txt", "home/alice/notes/caf%E9.txt", "2"},
             {"/srv/share/x.doc", "srv/share/x.doc", "3"},
             {"/home/alice/a\\..\\..\\b.doc", "b.doc", "4"}});
  const auto t = PlanFixture::targets(MakePlan(f.set, {}, windowsBob()));
  EXPECT_EQ(t.at("/home/alice/Documents/what?.doc"), "E:\\Redirected\\Docs\\what%3F.doc");
  EXPECT_EQ(t.at("/home/alice/notes/caf\xE9.txt"), "C:\\Users\\bob\\notes\\caf%E9.txt");
  EXPECT_EQ(t.at("/srv/share/x.doc"), "E:\\Redirected\\Docs\\OLDPC\\srv\\share\\x.doc");
  // "\" is part of a Linux name; on Windows it must not become a separator.
  EXPECT_EQ(t.at("/home/alice/a\\..\\..\\b.doc"), "C:\\Users\\bob\\a%5C..%5C..%5Cb.doc");
}

TEST(RestorePlan, ArchiveWithoutManifestNeedsAFolderAndRefusesHostileEntries) {
  test::TempDir dir;
  const auto zip = dir.write("plain.zip", test::BuildZip({{"docs/a.doc", "a"},
                                                          {"../up.doc", "x"},
                                                          {"/abs.doc", "x"},
                                                          {"link", "/etc", 0, true},
                                                          {"link/passwd", "x"},
                                                          {"docs/sub/", ""}}));
  ArchiveSet set;
  std::string error;
  ASSERT_TRUE(OpenArchiveSet({test::Utf8(zip)}, set, error)) << error;
  EXPECT_FALSE(MakePlan(set, {}, linuxBob()).error.empty());
  PlanRequest request;
  request.intoFolder = "/out";
  const RestorePlan plan = MakePlan(set, request, linuxBob());
  EXPECT_FALSE(plan.hasManifest);
  EXPECT_EQ(plan.oldComputer, "plain");
  const auto t = PlanFixture::targets(plan);
  EXPECT_EQ(t.at("docs/a.doc"), "/out/docs/a.doc");
  EXPECT_EQ(t.at("../up.doc"), "REFUSED: refused: the path leaves its folder (\"..\")");
  EXPECT_EQ(t.at("/abs.doc"), "REFUSED: refused: an absolute path");
  EXPECT_EQ(t.at("link"), "REFUSED: refused: a symbolic link (not made)");
  EXPECT_EQ(t.at("link/passwd"), "REFUSED: refused: the path goes through a symbolic link");
  EXPECT_EQ(t.at("docs/sub/"), "/out/docs/sub");
}

TEST(RestorePlan, FindsTheFurtherPartsBesideTheFirst) {
  test::TempDir dir;
  test::ManifestHeader h;
  h.partCount = 3;
  dir.write("m.zip", test::BuildTarnwickZip(h, {kWindowsFiles[0]}));
  h.part = 2;
  dir.write("m-2.zip", test::BuildTarnwickZip(h, {kWindowsFiles[2]}));
  ArchiveSet set;
  std::string error;
  ASSERT_TRUE(OpenArchiveSet({dir.str("m.zip")}, set, error)) << error;
  EXPECT_EQ(set.parts.size(), 2u);
  ASSERT_EQ(set.missingParts.size(), 1u);
  EXPECT_NE(set.missingParts[0].find("part 3 of 3"), std::string::npos);
  const RestorePlan plan = MakePlan(set, {}, linuxBob());
  EXPECT_EQ(plan.entries.size(), 2u);
  EXPECT_EQ(plan.warnings.size(), 1u);
  EXPECT_EQ(PartPath("/x/NAME.zip", 2), "/x/NAME-2.zip");
  EXPECT_EQ(PartPath("C:\\x.y\\NAME", 3), "C:\\x.y\\NAME-3");
}

}  // namespace
}  // namespace tarnwick::restore
