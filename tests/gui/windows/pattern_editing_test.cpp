// Editing the pattern list: Add, Edit and Remove in the main window and the pattern dialog with
// its checks, messages, keys and remembered text.
#include <QTest>

#include "core/scan/search_state.h"
#include "main_window_fixture.h"

namespace tarnwick::test {
namespace {

using gui::PromptIcon;

class PatternEditingTest : public MainWindowTest {
 protected:
  // The messages asked so far, as "text|caption|icon".
  QStringList Messages() const {
    QStringList out;
    for (const auto& a : prompts.asked()) {
      if (a.kind != ScriptedPrompts::Asked::Kind::Message)
        continue;
      out << a.message.text + '|' + a.message.caption + '|' +
                 QString::number(static_cast<int>(a.message.icon));
    }
    return out;
  }
  static QString Exclamation(const QString& text) {
    return text + QStringLiteral("|Tarnwick|") +
           QString::number(static_cast<int>(PromptIcon::Exclamation));
  }
  void ExpectProcessListIs(const std::vector<std::string>& entries) {
    EXPECT_EQ(gExtList, entries);
    EXPECT_EQ(gExtensions, JoinPatterns(entries));
  }
};

TEST_F(PatternEditingTest, AddStoresTheLowerCasedPatternLastAndSelected) {
  Open({"*.doc", "*.pdf"});
  const bool opened = WithDialog(button("cmdExtAdd"), [](Dialog& d) {
    EXPECT_EQ(d.form->windowTitle(), QStringLiteral("File Extension"));
    EXPECT_TRUE(d.add->isVisible());
    EXPECT_FALSE(d.ok->isVisible());
    EXPECT_TRUE(d.add->isDefault());
    EXPECT_FALSE(d.add->isEnabled());
    QTest::keyClicks(d.text, QStringLiteral("*.TXT"));
    EXPECT_TRUE(d.add->isEnabled());
    d.add->click();
    EXPECT_FALSE(d.form->isVisible());
  });
  ASSERT_TRUE(opened);
  EXPECT_EQ(Entries(), (QStringList{"*.doc", "*.pdf", "*.txt"}));
  EXPECT_EQ(Selected(), 2);
  EXPECT_TRUE(button("cmdExtEdit")->isEnabled());
  EXPECT_TRUE(button("cmdExtRmv")->isEnabled());
  ExpectProcessListIs({"*.doc", "*.pdf", "*.txt"});
  EXPECT_TRUE(Messages().isEmpty());

  // A successful add leaves the text box empty for the next one.
  WithDialog(button("cmdExtAdd"), [](Dialog& d) {
    EXPECT_EQ(d.text->text(), QString());
    d.cancel->click();
  });
}

// The confirming buttons are enabled only for "*." followed by at least one more character.
TEST_F(PatternEditingTest, ButtonsFollowTheShapeOfTheText) {
  struct Case {
    const char* text;
    bool enabled;
  };
  const Case cases[] = {{"", false},     {"*.", false}, {"*d", false}, {"doc", false},
                        {".doc", false}, {"*.d", true}, {"*.1", true}, {"*. doc", true}};
  Open({"*.doc"});
  gui::SelectPosition(*list(), 0);
  for (const char* trigger : {"cmdExtAdd", "cmdExtEdit"}) {
    WithDialog(button(trigger), [&](Dialog& d) {
      QPushButton* shown = d.add->isVisible() ? d.add : d.ok;
      for (const Case& c : cases) {
        d.text->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(shown->isEnabled(), c.enabled) << trigger << " " << c.text;
        EXPECT_EQ(d.add->isEnabled(), d.ok->isEnabled());
      }
      d.cancel->click();
    });
  }
}

// Anything but ASCII letters after "*." is refused; the dialog stays open with the text intact
// and selected whole for correction.
TEST_F(PatternEditingTest, RefusesPatternsThatAreNotLettersAfterTheDot) {
  Open({"*.doc"});
  for (const char* text : {"*.mp3", "*.tar.gz", "*.*", "*. doc", "*.caf\xC3\xA9"}) {
    prompts.clear();
    WithDialog(button("cmdExtAdd"), [&](Dialog& d) {
      d.text->setText(QString::fromUtf8(text));
      d.add->click();
      EXPECT_TRUE(d.form->isVisible()) << text;
      EXPECT_EQ(d.text->text(), QString::fromUtf8(text));
      EXPECT_EQ(d.text->selectedText(), QString::fromUtf8(text));
      d.cancel->click();
    });
    EXPECT_EQ(Messages(), QStringList{Exclamation("Please enter a valid file extension")}) << text;
  }
  EXPECT_EQ(Entries(), QStringList{"*.doc"});
}

// The lower-cased text is compared, case-sensitively, with each entry as stored.
TEST_F(PatternEditingTest, RefusesDuplicatesOfStoredEntries) {
  Open({"*.doc", "*.PDF"});
  WithDialog(button("cmdExtAdd"), [](Dialog& d) {
    d.text->setText(QStringLiteral("*.DOC"));
    d.add->click();
    EXPECT_TRUE(d.form->isVisible());
    EXPECT_EQ(d.text->selectedText(), QStringLiteral("*.DOC"));
    d.cancel->click();
  });
  EXPECT_EQ(Messages(),
            QStringList{Exclamation("The file extension '*.doc' is already in the list.")});

  // "*.PDF" as read from the settings file is not matched by "*.pdf": both end up in the list.
  prompts.clear();
  AddPattern(QStringLiteral("*.pdf"));
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_EQ(Entries(), (QStringList{"*.doc", "*.PDF", "*.pdf"}));
}

// Edit shows the selected entry selected whole; it may be confirmed as it is or in another case,
// is stored lower-cased in its place, and may not take another entry's text.
TEST_F(PatternEditingTest, EditReplacesTheSelectedEntryInPlace) {
  Open({"*.doc", "*.pdf", "*.rtf"});
  gui::SelectPosition(*list(), 0);
  struct Case {
    QString typed;
    QStringList after;
    QStringList messages;
  };
  const Case cases[] = {
      {QStringLiteral("*.doc"), {"*.doc", "*.pdf", "*.rtf"}, {}},
      {QStringLiteral("*.DOC"), {"*.doc", "*.pdf", "*.rtf"}, {}},
      {QStringLiteral("*.Docx"), {"*.docx", "*.pdf", "*.rtf"}, {}},
      {QStringLiteral("*.PDF"),
       {"*.docx", "*.pdf", "*.rtf"},
       {Exclamation("The file extension '*.pdf' is already in the list.")}},
  };
  for (const Case& c : cases) {
    prompts.clear();
    WithDialog(button("cmdExtEdit"), [&](Dialog& d) {
      EXPECT_TRUE(d.ok->isVisible());
      EXPECT_FALSE(d.add->isVisible());
      EXPECT_TRUE(d.ok->isDefault());
      EXPECT_EQ(d.text->text(), list()->item(0)->text());
      EXPECT_EQ(d.text->selectedText(), d.text->text());
      d.text->setText(c.typed);
      d.ok->click();
      if (d.form->isVisible())
        d.cancel->click();
    });
    EXPECT_EQ(Entries(), c.after) << c.typed.toStdString();
    EXPECT_EQ(Messages(), c.messages) << c.typed.toStdString();
    EXPECT_EQ(Selected(), 0);
  }
  ExpectProcessListIs({"*.docx", "*.pdf", "*.rtf"});
}

// Remove takes the selected entry without asking and selects the one that followed it, or the
// new last one; removing the only entry empties the list and disables Edit and Remove, and the
// next scan gets the empty pattern text.
TEST_F(PatternEditingTest, RemoveSelectsTheNextEntryOrTheNewLast) {
  struct Case {
    int remove;
    QStringList after;
    int selected;
  };
  const Case cases[] = {
      {0, {"*.b", "*.c"}, 0},
      {1, {"*.a", "*.c"}, 1},
      {2, {"*.a", "*.b"}, 1},
  };
  for (const Case& c : cases) {
    Open({"*.a", "*.b", "*.c"});
    gui::SelectPosition(*list(), c.remove);
    button("cmdExtRmv")->click();
    EXPECT_EQ(Entries(), c.after) << c.remove;
    EXPECT_EQ(Selected(), c.selected) << c.remove;
    EXPECT_TRUE(button("cmdExtEdit")->isEnabled());
    EXPECT_TRUE(button("cmdExtRmv")->isEnabled());
  }
  EXPECT_TRUE(prompts.asked().empty());

  Open({"*.only"});
  gui::SelectPosition(*list(), 0);
  button("cmdExtRmv")->click();
  EXPECT_TRUE(Entries().isEmpty());
  EXPECT_EQ(Selected(), -1);
  EXPECT_FALSE(button("cmdExtEdit")->isEnabled());
  EXPECT_FALSE(button("cmdExtRmv")->isEnabled());
  ExpectProcessListIs({});
  button("cmdScan")->click();
  EXPECT_EQ(gSearch.Pattern, "");
}

// Clicking an entry enables Edit and Remove. After a cancelled dialog with nothing selected they
// are enabled too, but with nothing to act on they do nothing.
TEST_F(PatternEditingTest, EditAndRemoveWithNothingSelectedDoNothing) {
  Open({"*.doc", "*.pdf"});
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                    list()->visualItemRect(list()->item(1)).center());
  EXPECT_EQ(Selected(), 1);
  EXPECT_TRUE(button("cmdExtEdit")->isEnabled());

  Open({"*.doc", "*.pdf"});
  WithDialog(button("cmdExtAdd"), [](Dialog& d) { d.cancel->click(); });
  EXPECT_TRUE(button("cmdExtEdit")->isEnabled());
  EXPECT_TRUE(button("cmdExtRmv")->isEnabled());
  EXPECT_EQ(Selected(), -1);

  EXPECT_FALSE(WithDialog(button("cmdExtEdit"), [](Dialog& d) { d.cancel->click(); }));
  button("cmdExtRmv")->click();
  EXPECT_EQ(Entries(), (QStringList{"*.doc", "*.pdf"}));
  ExpectProcessListIs({"*.doc", "*.pdf"});
}

// Escape cancels and keeps the abandoned text for the next Add; Enter confirms only when the
// shown button is enabled; the close box discards the dialog, so the next Add starts empty.
TEST_F(PatternEditingTest, KeysCancelAndCloseBox) {
  Open({"*.doc"});
  WithDialog(button("cmdExtAdd"), [](Dialog& d) {
    QTest::keyClicks(d.text, QStringLiteral("*.od"));
    QTest::keyClick(d.text, Qt::Key_Escape);
    EXPECT_FALSE(d.form->isVisible());
  });
  EXPECT_EQ(Entries(), QStringList{"*.doc"});

  WithDialog(button("cmdExtAdd"), [](Dialog& d) {
    EXPECT_EQ(d.text->text(), QStringLiteral("*.od"));
    d.text->setText(QStringLiteral("*."));
    QTest::keyClick(d.text, Qt::Key_Return);
    EXPECT_TRUE(d.form->isVisible());
    QTest::keyClicks(d.text, QStringLiteral("odt"));
    QTest::keyClick(d.text, Qt::Key_Return);
    EXPECT_FALSE(d.form->isVisible());
  });
  EXPECT_EQ(Entries(), (QStringList{"*.doc", "*.odt"}));

  WithDialog(button("cmdExtAdd"), [](Dialog& d) {
    d.text->setText(QStringLiteral("*.abandoned"));
    d.form->close();
  });
  EXPECT_EQ(Entries(), (QStringList{"*.doc", "*.odt"}));
  WithDialog(button("cmdExtAdd"), [](Dialog& d) {
    EXPECT_EQ(d.text->text(), QString());
    EXPECT_FALSE(d.add->isEnabled());
    d.cancel->click();
  });
}

}  // namespace
}  // namespace tarnwick::test
