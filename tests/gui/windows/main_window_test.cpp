// The main window: the folder it starts with, what "GO" hands to the scan, the folder browse,
// the keyboard, and the web address.
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QUrl>

#include "core/platform/system.h"
#include "core/scan/search_state.h"
#include "main_window_fixture.h"

namespace tarnwick::test {
namespace {

using gui::PromptAnswer;

const std::string kSep(1, platform::kPathSeparator);

// WINDIR names the folder of Windows: the box starts with its drive's root. Without WINDIR (Linux,
// macOS) it starts with the user's home folder.
TEST_F(MainWindowTest, FolderBoxStartsAtTheWindowsDriveOrTheHomeFolder) {
  struct Case {
    std::optional<QByteArray> windir;
    QString expected;
  };
  const Case cases[] = {
      {QByteArray("C:\\WINDOWS"), QStringLiteral("C:\\")},
      {QByteArray("D:\\Win\\System"), QStringLiteral("D:\\")},
      {QByteArray("WINDOWS"), QString()},
      {std::nullopt, QString::fromStdString(platform::HomeFolder())},
  };
  for (const Case& c : cases) {
    if (c.windir) {
      qputenv("WINDIR", *c.windir);
    } else {
      qunsetenv("WINDIR");
    }
    Open({"*.doc"});
    EXPECT_EQ(Find<QLineEdit>("txtFolder")->text(), c.expected)
        << (c.windir ? c.windir->constData() : "(unset)");
  }
  EXPECT_FALSE(QString::fromStdString(platform::HomeFolder()).isEmpty());
}

TEST_F(MainWindowTest, LoadsSwitchesPatternsAndCaption) {
  Open({"*.DOC", "", "*.pdf"}, false, true);
  EXPECT_EQ(Entries(), (QStringList{"*.DOC", "", "*.pdf"}));
  EXPECT_FALSE(Find<QCheckBox>("chkIgnoreTemp")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("chkIgnoreSys")->isChecked());
  EXPECT_FALSE(button("cmdExtEdit")->isEnabled());
  EXPECT_FALSE(button("cmdExtRmv")->isEnabled());
  EXPECT_TRUE(button("cmdExtAdd")->isEnabled());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Free and open source - Tarnwick"));
  EXPECT_EQ(window->size(), QSize(389, 279));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
}

// "GO" hands the scan the folder ending in the separator, the switches as the boxes show them
// (not as the settings file had them), the pattern list joined with ";" and zero counters, then
// opens the scan window over the main window.
TEST_F(MainWindowTest, GoFillsTheSearchFromTheWindow) {
  struct Case {
    std::string folder;
    std::string root;
  };
  const Case cases[] = {
      {kSep + "data", kSep + "data" + kSep},
      {kSep + "data" + kSep, kSep + "data" + kSep},
      {kSep, kSep},
      {"", kSep},
  };
  Open({"*.doc", "", "*.pdf"}, true, false);
  Find<QCheckBox>("chkIgnoreTemp")->setChecked(false);
  Find<QCheckBox>("chkIgnoreSys")->setChecked(true);
  for (const Case& c : cases) {
    gSearch = SearchParams{};
    gSearch.MatchCount = 7;
    gSearch.ScannedCount = 8;
    gSearch.TotalBytes = 9;
    scanOwners.clear();
    Find<QLineEdit>("txtFolder")->setText(QString::fromStdString(c.folder));

    button("cmdScan")->click();

    EXPECT_EQ(gRootFolder, c.root) << c.folder;
    ASSERT_EQ(scanOwners.size(), 1u);
    EXPECT_EQ(scanOwners[0], window.get());
  }
  EXPECT_TRUE(gSearch.Recurse);
  EXPECT_FALSE(gSearch.IgnoreTemp);
  EXPECT_TRUE(gSearch.IgnoreSys);
  EXPECT_EQ(gSearch.Pattern, "*.doc;;*.pdf");
  EXPECT_EQ(gSearch.MatchCount, 0);
  EXPECT_EQ(gSearch.ScannedCount, 0);
  EXPECT_EQ(gSearch.TotalBytes, 0u);
}

// Browse asks with its title, opening at the folder text; a chosen folder comes back in the
// system's form (a root keeps its separator, other folders lose a trailing one); cancelling
// leaves the text as it was, even when it is empty.
TEST_F(MainWindowTest, BrowseReplacesTheFolderOnlyWhenOneIsChosen) {
  struct Case {
    QString before;
    std::optional<QString> chosen;
    QString after;
  };
  const Case cases[] = {
      {QStringLiteral("/start"), std::nullopt, QStringLiteral("/start")},
      {QString(), std::nullopt, QString()},
      {QStringLiteral("/start"), QStringLiteral("/home/ann/Documents"),
       QDir::toNativeSeparators(QStringLiteral("/home/ann/Documents"))},
      {QStringLiteral("/start"), QStringLiteral("/home/ann/Documents/"),
       QDir::toNativeSeparators(QStringLiteral("/home/ann/Documents"))},
      {QStringLiteral("/start"), QStringLiteral("/"), QDir::toNativeSeparators("/")},
  };
  Open({"*.doc"});
  auto* folder = Find<QLineEdit>("txtFolder");
  for (const Case& c : cases) {
    folder->setText(c.before);
    prompts.clear();
    prompts.answerBrowse(c.chosen);

    button("cmdBrowse")->click();

    ASSERT_EQ(prompts.asked().size(), 1u);
    EXPECT_EQ(prompts.asked()[0].kind, ScriptedPrompts::Asked::Kind::BrowseFolder);
    EXPECT_EQ(prompts.asked()[0].browseTitle, QStringLiteral("Select a folder to scan"));
    EXPECT_EQ(prompts.asked()[0].browseInitial, c.before);
    EXPECT_EQ(folder->text(), c.after);
  }
}

// The focus starts in the pattern list; Tab walks the list, its enabled buttons, "GO", the
// switches, the folder box and Browse, and back; Alt+B presses Browse.
TEST_F(MainWindowTest, KeyboardFollowsTheTabOrderAndAccessKey) {
  Open({"*.doc"});
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QStringList order;
  for (int i = 0; i < 8; ++i) {
    order << QApplication::focusWidget()->objectName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(order, (QStringList{"lstExt", "cmdExtAdd", "cmdScan", "chkIgnoreSys", "chkIgnoreTemp",
                                "txtFolder", "cmdBrowse", "lstExt"}));

  // A button pressed by its access key shows the press briefly before it clicks.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.asked().empty(); }, 2000));
  EXPECT_EQ(prompts.asked()[0].kind, ScriptedPrompts::Asked::Kind::BrowseFolder);
  window->hide();
}

class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void open(const QUrl& url) { urls << url; }
};

TEST_F(MainWindowTest, WebsiteOpensInTheBrowserUnderAHandCursor) {
  Open({"*.doc"});
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
  auto* label = Find<QLabel>("lblWebsite");

  QTest::mouseClick(label, Qt::LeftButton);
  QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

  EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl(QStringLiteral("http://www.example.org"))});
  EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
}

}  // namespace
}  // namespace tarnwick::test

#include "main_window_test.moc"
