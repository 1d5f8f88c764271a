#include "gui/common/dialog_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

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
  if (request.foreground) {
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
  }
  const int result = box.exec();
  switch (result) {
    case QMessageBox::Yes:
      return PromptAnswer::Yes;
    case QMessageBox::No:
      return PromptAnswer::No;
    case QMessageBox::YesToAll:
      return PromptAnswer::YesToAll;
    case QMessageBox::Cancel:
      return PromptAnswer::Cancel;
    default:
      break;
  }
  // Closing a Yes/No box without a button counts as No; an OK box as OK.
  if (request.buttons == PromptButtons::YesNo)
    return PromptAnswer::No;
  if (request.buttons == PromptButtons::YesNoYesToAllCancel)
    return PromptAnswer::Cancel;
  return PromptAnswer::Ok;
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
