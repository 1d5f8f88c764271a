// A main window over a throw-away settings folder, with scripted prompts, a recorded scan window
// and splash, and helpers to drive the modal pattern dialog.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/common/process_state.h"
#include "core/settings/app_state.h"
#include "core/settings/startup.h"
#include "gui/support/scripted_prompts.h"
#include "gui/windows/frm_ext_dialog.h"
#include "gui/windows/frm_main.h"
#include "gui/windows/list_selection.h"
#include "support/temp_dir.h"

namespace tarnwick::test {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    savedWindir_ = qgetenv("WINDIR");
    hadWindir_ = qEnvironmentVariableIsSet("WINDIR");
    qunsetenv("WINDIR");
  }
  void TearDown() override {
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (hadWindir_)
      qputenv("WINDIR", savedWindir_);
    ResetProcessState();
  }

  std::string settingsFile() const { return SettingsPath(dir.str()); }

  // Opens the main window on the given process-wide state, as start-up leaves it.
  gui::frmMain& Open(std::vector<std::string> patterns, bool ignoreTemp = true,
                     bool ignoreSys = true) {
    gExtList = std::move(patterns);
    gExtensions = JoinPatterns(gExtList);
    gbIgnoreTemp = ignoreTemp;
    gbIgnoreSys = ignoreSys;
    return OpenOnCurrentState();
  }
  gui::frmMain& OpenOnCurrentState() {
    window = std::make_unique<gui::frmMain>(settingsFile());
    window->SetScanWindowOpener([this](QWidget* owner) { scanOwners.push_back(owner); });
    window->SetSplashShower([this] {
      ++splashes;
      windowVisibleAtSplash = window->isVisible();
    });
    return *window;
  }

  template <typename T>
  T* Find(const char* name) const {
    T* found = window->findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QListWidget* list() const { return Find<QListWidget>("lstExt"); }
  QPushButton* button(const char* name) const { return Find<QPushButton>(name); }
  QStringList Entries() const {
    QStringList entries;
    for (int i = 0; i < list()->count(); ++i)
      entries << list()->item(i)->text();
    return entries;
  }
  int Selected() const { return gui::SelectedPosition(*list()); }

  // The open pattern dialog and its controls.
  struct Dialog {
    gui::frmExtDialog* form;
    QLineEdit* text;
    QPushButton* add;
    QPushButton* ok;
    QPushButton* cancel;
  };
  static Dialog OpenDialog() {
    auto* form = qobject_cast<gui::frmExtDialog*>(QApplication::activeModalWidget());
    if (form == nullptr)
      return {};
    return {form, form->findChild<QLineEdit*>(QStringLiteral("txtExt")),
            form->findChild<QPushButton*>(QStringLiteral("cmdAdd")),
            form->findChild<QPushButton*>(QStringLiteral("cmdOK")),
            form->findChild<QPushButton*>(QStringLiteral("cmdCancel"))};
  }

  // Clicks `trigger` and runs `script` once the pattern dialog is up. Returns whether the dialog
  // opened. A dialog the script leaves open is hidden (and reported) so the test cannot hang.
  bool WithDialog(QAbstractButton* trigger, const std::function<void(Dialog&)>& script) {
    bool opened = false;
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
      Dialog d = OpenDialog();
      if (d.form == nullptr)
        return;
      opened = true;
      script(d);
      if (d.form->isVisible()) {
        ADD_FAILURE() << "the script left the pattern dialog open";
        d.form->hide();
      }
    });
    trigger->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return opened;
  }

  // Adds `text` through the dialog in add mode, confirming with its Add button.
  void AddPattern(const QString& text) {
    WithDialog(button("cmdExtAdd"), [&](Dialog& d) {
      d.text->setText(text);
      d.add->click();
      if (d.form->isVisible())
        d.cancel->click();
    });
  }

  TempDir dir;
  ScriptedPrompts prompts;
  std::unique_ptr<gui::frmMain> window;
  std::vector<QWidget*> scanOwners;
  int splashes = 0;
  bool windowVisibleAtSplash = true;

 private:
  QByteArray savedWindir_;
  bool hadWindir_ = false;
};

}  // namespace tarnwick::test
