#include <gtest/gtest.h>

#include "core/platform/known_folders.h"
#include "core/restore/restore_paths.h"

namespace tarnwick::restore {
namespace {

TEST(RestorePaths, HostileEntryNamesAreRefused) {
  const struct {
    const char* name;
    PathSystem target;
    bool refused;
  } cases[] = {
      {"docs/a.doc", PathSystem::Posix, false},
      {"docs/./a.doc", PathSystem::Posix, false},
      {"../a.doc", PathSystem::Posix, true},
      {"docs/../../a.doc", PathSystem::Posix, true},
      {"/etc/passwd", PathSystem::Posix, true},
      {"\\Windows\\x.dll", PathSystem::Windows, true},
      {"C:/Windows/x.dll", PathSystem::Windows, true},
      {"C:x.dll", PathSystem::Posix, true},
      {"docs\\..\\..\\x", PathSystem::Posix, true},  // "\" is a separator on Windows
      {"docs/..\\x", PathSystem::Windows, true},
      {"docs/CON", PathSystem::Windows, true},
      {"docs/nul.txt", PathSystem::Windows, true},
      {"docs/com1.doc", PathSystem::Windows, true},
      {"docs/LPT9", PathSystem::Windows, true},
      {"docs/con.txt", PathSystem::Posix, false},  // an ordinary name there
      {"docs/console.doc", PathSystem::Windows, false},
      {"a.doc:stream", PathSystem::Windows, true},
      {"", PathSystem::Posix, true},
      {"docs/", PathSystem::Posix, false},
  };
  for (const auto& c : cases) {
    std::vector<std::string> names;
    const auto why = CheckEntryName(c.name, c.target, names);
    EXPECT_EQ(why.has_value(), c.refused) << c.name << ": " << why.value_or("allowed");
  }
}

TEST(RestorePaths, NamesOnWindowsKeepWhatWindowsAllowsAndEscapeTheRest) {
  const struct {
    std::string name;
    std::string windows;
  } cases[] = {
      {"report.doc", "report.doc"},
      {"caf\xC3\xA9.doc", "caf\xC3\xA9.doc"},
      {"caf\xE9.doc", "caf%E9.doc"},                   // Latin-1 byte from Linux
      {"sur\xED\xA0\x80.doc", "sur\xED\xA0\x80.doc"},  // Windows keeps unpaired surrogates
      {"what?.doc", "what%3F.doc"},
      {"10:30 <notes>|\"x\".doc", "10%3A30 %3Cnotes%3E%7C%22x%22.doc"},
      {"back\\slash", "back%5Cslash"},
      {"tab\tname", "tab%09name"},
      {"trailing.", "trailing%2E"},
      {"trailing ", "trailing%20"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NameOnSystem(c.name, PathSystem::Windows), c.windows) << c.name;
    EXPECT_EQ(NameOnSystem(c.name, PathSystem::Posix), c.name);
  }
}

TEST(RestorePaths, SplitsAndComparesUnderEachSystemsRules) {
  const PathParts unc = SplitPath("\\\\server\\share\\a\\b.doc", PathSystem::Windows);
  EXPECT_EQ(unc.root, "\\\\server\\share");
  EXPECT_EQ(unc.names, (std::vector<std::string>{"a", "b.doc"}));
  const PathParts drive = SplitPath("c:/Users//alice\\x.doc", PathSystem::Windows);
  EXPECT_EQ(drive.root, "C:");
  EXPECT_EQ(drive.names, (std::vector<std::string>{"Users", "alice", "x.doc"}));
  const PathParts posix = SplitPath("/home/a\\b/x.doc", PathSystem::Posix);
  EXPECT_EQ(posix.root, "/");
  EXPECT_EQ(posix.names, (std::vector<std::string>{"home", "a\\b", "x.doc"}));

  const auto below =
      NamesBelow(SplitPath("C:\\USERS\\Alice\\x.doc", PathSystem::Windows),
                 SplitPath("c:\\users\\alice", PathSystem::Windows), PathSystem::Windows);
  ASSERT_TRUE(below);
  EXPECT_EQ(*below, std::vector<std::string>{"x.doc"});
  EXPECT_FALSE(NamesBelow(SplitPath("/home/Alice/x", PathSystem::Posix),
                          SplitPath("/home/alice", PathSystem::Posix), PathSystem::Posix));
  EXPECT_FALSE(NamesBelow(SplitPath("C:\\Users\\alicex\\y", PathSystem::Windows),
                          SplitPath("C:\\Users\\alice", PathSystem::Windows), PathSystem::Windows));
}

TEST(RestorePaths, KeepBothNamesGoBeforeTheExtension) {
  EXPECT_EQ(KeepBothName("report.doc", "OLDPC", 1), "report (from OLDPC).doc");
  EXPECT_EQ(KeepBothName("report.final.doc", "OLDPC", 2), "report.final (from OLDPC 2).doc");
  EXPECT_EQ(KeepBothName("README", "OLDPC", 1), "README (from OLDPC)");
  EXPECT_EQ(KeepBothName(".profile", "OLDPC", 1), ".profile (from OLDPC)");
  EXPECT_EQ(ParentFolder("/a/b.doc", PathSystem::Posix), "/a");
  EXPECT_EQ(ParentFolder("/b.doc", PathSystem::Posix), "/");
  EXPECT_EQ(ParentFolder("C:\\b.doc", PathSystem::Windows), "C:\\");
  EXPECT_EQ(JoinPath("C:\\", {"a", "b"}, PathSystem::Windows), "C:\\a\\b");
}

TEST(KnownFolders, XdgUserDirsWithDefaultsForWhatItLeavesOut) {
  const std::string text =
      "# written by xdg-user-dirs-update\n"
      "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
      "XDG_DOCUMENTS_DIR=\"/data/docs\"\n"
      "XDG_MUSIC_DIR=\"$HOME/\"\n"  // the home folder itself: none
      "XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"\n"
      "XDG_VIDEOS_DIR=relative/not/allowed\n";
  const platform::UserFolders f = platform::ParseXdgUserDirs(text, "/home/bob");
  EXPECT_EQ(f.home, "/home/bob");
  EXPECT_EQ(f.Find("Desktop"), "/home/bob/Schreibtisch");
  EXPECT_EQ(f.Find("Documents"), "/data/docs");
  EXPECT_EQ(f.Find("Music"), "/home/bob/Music");
  EXPECT_EQ(f.Find("Pictures"), "/home/bob/My \"Pics\"");
  EXPECT_EQ(f.Find("Videos"), "/home/bob/Videos");
  EXPECT_EQ(f.Find("Downloads"), "/home/bob/Downloads");
  EXPECT_EQ(f.Find("Favorites"), "/home/bob/Favorites");
  EXPECT_EQ(f.known.size(), 7u);
}

TEST(KnownFolders, TheRunningSystemGivesAbsoluteFolders) {
  const platform::UserFolders f = platform::CurrentUserFolders();
  ASSERT_FALSE(f.home.empty());
  const std::string documents = f.Find("Documents");
  ASSERT_FALSE(documents.empty());
#ifdef _WIN32
  EXPECT_EQ(documents[1], ':');
#else
  EXPECT_EQ(documents[0], '/');
#endif
}

}  // namespace
}  // namespace tarnwick::restore
