#include "gui/common/dialog_prompts.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/questions/texts.h"
#include "gui/common/app_title.h"
#include "gui/common/details_window.h"

namespace tarnwick::gui {
namespace {

QMessageBox::Icon toIcon(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::Information:
      return QMessageBox::Information;
    case PromptIcon::Question:
      return QMessageBox::Question;
    case PromptIcon::Exclamation:
      return QMessageBox::Warning;
    case PromptIcon::Error:
      return QMessageBox::Critical;
    case PromptIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

PromptAnswer DialogPrompts::Message(QWidget* parent, const MessageRequest& request) {
  return MessageWithCheckBox(parent, request).answer;
}

app::Reply DialogPrompts::MessageWithCheckBox(QWidget* parent, const MessageRequest& request) {
  QMessageBox box(toIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                  parent);
  switch (request.buttons) {
    case PromptButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case PromptButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case PromptButtons::YesNoYesToAllCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll |
                             QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  if (request.buttons == PromptButtons::Ok)
    box.setEscapeButton(QMessageBox::Ok);
  if (request.foreground) {
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
  }
  if (!request.details.empty()) {
    QPushButton* details = box.addButton(Text(app::texts::kDetailsButton), QMessageBox::ActionRole);
    // A message box closes on any of its buttons; this one opens the Details window instead.
    details->disconnect();
    QObject::connect(details, &QPushButton::clicked, &box,
                     [&box, &request] { ShowDetailsWindow(&box, request.details); });
  }
  if (!request.checkBox.isEmpty())
    box.setCheckBox(new QCheckBox(request.checkBox, &box));
  const int result = box.exec();
  const bool checked = box.checkBox() != nullptr && box.checkBox()->isChecked();
  switch (result) {
    case QMessageBox::Yes:
      return {PromptAnswer::Yes, checked};
    case QMessageBox::No:
      return {PromptAnswer::No, checked};
    case QMessageBox::YesToAll:
      return {PromptAnswer::YesToAll, checked};
    case QMessageBox::Cancel:
      return {PromptAnswer::Cancel, checked};
    default:
      break;
  }
  // Closing a Yes/No box without a button counts as No; an OK box as OK.
  if (request.buttons == PromptButtons::YesNo)
    return {PromptAnswer::No, checked};
  if (request.buttons == PromptButtons::YesNoYesToAllCancel)
    return {PromptAnswer::Cancel, checked};
  return {PromptAnswer::Ok, checked};
}

std::optional<QString> DialogPrompts::SaveFile(QWidget* parent, const SaveFileRequest& request) {
  QFileDialog dialog(parent, request.title, request.initialFolder, request.filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  dialog.selectFile(request.proposedName);
  if (!request.confirmOverwrite)
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

std::optional<QString> DialogPrompts::BrowseFolder(QWidget* parent, const QString& title,
                                                   const QString& initialFolder) {
  const QString chosen =
      QFileDialog::getExistingDirectory(parent, title, initialFolder, QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty())
    return std::nullopt;
  return chosen;
}

}  // namespace tarnwick::gui
