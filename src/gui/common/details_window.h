// The Details window behind a shortened message: the whole list (path and reason, a line each) in
// a scrollable read-only view, with Copy (the list to the clipboard), Save... (the list as a text
// file, through the save dialog of the prompts in use) and Close.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace tarnwick::gui {

class DetailsWindow final : public QDialog {
  Q_OBJECT

 public:
  // `details`: the question's list, UTF-8, one "path<TAB>reason" a line.
  DetailsWindow(QWidget* parent, std::string details);

  // Puts the whole list on the clipboard.
  void Copy();
  // Asks where to save the list and writes it there; a failure is shown in a message box.
  void Save();

  QPlainTextEdit* list = nullptr;
  QPushButton* copyButton = nullptr;
  QPushButton* saveButton = nullptr;
  QPushButton* closeButton = nullptr;

 private:
  std::string details_;
};

// Shows the Details window for `details` over `parent` and returns once it is closed.
void ShowDetailsWindow(QWidget* parent, const std::string& details);

}  // namespace tarnwick::gui
