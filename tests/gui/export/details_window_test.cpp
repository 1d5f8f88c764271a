// The outcome's message box as the user meets it: "Details..." opens the Details window over the
// box (which stays open), the window shows the whole list, Copy and Save... hand it on whole, and
// the check box's state comes back with the answer.
#include "gui/common/details_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <functional>

#include "app/questions/texts.h"
#include "core/common/process_state.h"
#include "gui/common/app_title.h"
#include "gui/common/dialog_prompts.h"
#include "gui/support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace tarnwick::gui {
namespace {

// Runs `action` on the modal window of type T once it is on screen (polled from the event loop).
template <class T>
void WhenModal(std::function<void(T*)> action) {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    if (T* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      action(window);
    }
  });
  timer->start(10);
}

QPushButton* ButtonNamed(QWidget* window, const QString& text) {
  for (QPushButton* b : window->findChildren<QPushButton*>()) {
    if (b->text() == text)
      return b;
  }
  return nullptr;
}

// 300 files not archived: far more than the message shows, and a name that is not ASCII.
std::string LongList() {
  std::string details = "/home/ana/Résumé.doc\tnot found\n";
  for (int i = 1; i < 300; ++i)
    details += "/home/ana/f" + std::to_string(i) + ".doc\tstored online only, not downloaded\n";
  return details;
}

TEST(DetailsWindow, OpensOverTheOutcomeWithTheWholeListToCopyAndSave) {
  ResetProcessState();
  test::ScriptedPrompts prompts;  // answers the Details window's save dialog
  test::TempDir out;
  const QString savedPath = QString::fromStdString(out.str("list.txt"));
  prompts.answerSaveFile(savedPath);
  QGuiApplication::clipboard()->clear();

  MessageRequest request;
  request.text = "Archived 1 of 300 files into /o/PC1.zip.";
  request.caption = AppTitle();
  request.icon = PromptIcon::Exclamation;
  request.details = LongList();
  request.checkBox = Text(app::texts::kDownloadOnlineCheckBox);

  bool detailsSeen = false;
  WhenModal<QMessageBox>([&](QMessageBox* box) {
    ASSERT_NE(box->checkBox(), nullptr);
    EXPECT_EQ(box->checkBox()->text(), request.checkBox);
    EXPECT_FALSE(box->checkBox()->isChecked());
    QPushButton* details = ButtonNamed(box, Text(app::texts::kDetailsButton));
    ASSERT_NE(details, nullptr);
    WhenModal<DetailsWindow>([&, box](DetailsWindow* window) {
      EXPECT_EQ(window->parentWidget(), box);
      EXPECT_TRUE(window->list->isReadOnly());
      EXPECT_EQ(window->list->toPlainText(), QString::fromStdString(request.details));
      EXPECT_EQ(window->list->document()->blockCount(), 301);  // 300 lines and the last break
      EXPECT_GT(window->list->verticalScrollBar()->maximum(), 0);
      ButtonNamed(window, Text(app::texts::kDetailsCopy))->click();
      EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(request.details));
      ButtonNamed(window, Text(app::texts::kDetailsSave))->click();
      ButtonNamed(window, Text(app::texts::kDetailsClose))->click();
      detailsSeen = true;
      // Back in the box, which stayed open: tick the offer and press OK.
      QTimer::singleShot(0, box, [box] {
        EXPECT_TRUE(box->isVisible());
        box->checkBox()->setChecked(true);
        box->button(QMessageBox::Ok)->click();
      });
    });
    details->click();
  });
  const app::Reply reply = DialogPrompts().MessageWithCheckBox(nullptr, request);

  EXPECT_TRUE(detailsSeen);
  EXPECT_EQ(reply.answer, PromptAnswer::Ok);
  EXPECT_TRUE(reply.checked);
  ASSERT_EQ(prompts.asked().size(), 1u);
  EXPECT_EQ(prompts.asked()[0].saveFile.defaultSuffix, "txt");
  EXPECT_EQ(test::TempDir::read(out / "list.txt"), request.details);
}

// Without details or an offer the box is the plain message box: no extra button, no check box.
TEST(DetailsWindow, PlainMessageHasNeitherDetailsNorCheckBox) {
  MessageRequest request;
  request.text = "Successfully archived all files into /o/PC1.zip";
  request.caption = AppTitle();
  request.icon = PromptIcon::Information;
  WhenModal<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->checkBox(), nullptr);
    EXPECT_EQ(ButtonNamed(box, Text(app::texts::kDetailsButton)), nullptr);
    EXPECT_EQ(box->buttons().size(), 1);
    box->button(QMessageBox::Ok)->click();
  });
  const app::Reply reply = DialogPrompts().MessageWithCheckBox(nullptr, request);
  EXPECT_EQ(reply.answer, PromptAnswer::Ok);
  EXPECT_FALSE(reply.checked);
}

}  // namespace
}  // namespace tarnwick::gui
