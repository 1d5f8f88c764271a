#include "gui/common/details_window.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/questions/details_file.h"
#include "app/questions/texts.h"
#include "gui/common/app_title.h"
#include "gui/common/prompts.h"

namespace tarnwick::gui {

DetailsWindow::DetailsWindow(QWidget* parent, std::string details)
    : QDialog(parent), details_(std::move(details)) {
  setWindowTitle(Text(app::texts::kDetailsTitle));
  list = new QPlainTextEdit(this);
  list->setReadOnly(true);
  list->setLineWrapMode(QPlainTextEdit::NoWrap);
  list->setPlainText(Text(details_));
  // Paths are long and reasons follow a tab: a fixed-width font with wide tab stops keeps the
  // reasons of similar paths under each other.
  list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  list->setTabStopDistance(list->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 8);

  copyButton = new QPushButton(Text(app::texts::kDetailsCopy), this);
  saveButton = new QPushButton(Text(app::texts::kDetailsSave), this);
  closeButton = new QPushButton(Text(app::texts::kDetailsClose), this);
  closeButton->setDefault(true);
  connect(copyButton, &QPushButton::clicked, this, &DetailsWindow::Copy);
  connect(saveButton, &QPushButton::clicked, this, &DetailsWindow::Save);
  connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(copyButton);
  buttons->addWidget(saveButton);
  buttons->addStretch();
  buttons->addWidget(closeButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list);
  layout->addLayout(buttons);
  resize(720, 400);
}

void DetailsWindow::Copy() {
  QGuiApplication::clipboard()->setText(Text(details_));
}

void DetailsWindow::Save() {
  const app::SaveFileQuestion question = app::DetailsSaveQuestion();
  const std::optional<std::string> path = PromptAnswerer(this).AskSaveFile(question);
  if (!path || path->empty())
    return;
  const std::string failure = app::SaveDetailsFile(*path, details_);
  if (!failure.empty())
    ShowMessage(this, Text(failure), PromptIcon::Exclamation);
}

void ShowDetailsWindow(QWidget* parent, const std::string& details) {
  DetailsWindow window(parent, details);
  window.exec();
}

}  // namespace tarnwick::gui
