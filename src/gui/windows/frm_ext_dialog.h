// The pattern dialog ("File Extension"): asks for one file-name pattern of the form "*." followed
// by letters, to add to the main window's pattern list or to replace its selected entry. It is
// long-lived: its buttons only hide it, so the text box keeps its text between uses.
#pragma once

#include <QDialog>

#include "app/questions/question.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tarnwick::gui {

class frmExtDialog : public QDialog {
  Q_OBJECT
 public:
  enum class Mode { Add, Edit };

  // `patterns` is the main window's pattern list, which the dialog checks against and changes.
  frmExtDialog(QListWidget* patterns, QWidget* parent);

  // Shows the button of `mode` (and makes it the default one), hides the other.
  void SetMode(Mode mode);
  // Puts `text` into the text box with the caret at its start, so it is selected whole when the
  // dialog becomes active.
  void SetText(const QString& text);
  // True once the dialog was closed through its window's close box; it is then discarded and the
  // next use starts with a fresh one.
  bool ClosedByCloseBox() const { return mbClosedByCloseBox; }

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void Form_Activate();
  void txtExt_Change();
  void UpdateButtons();
  bool ValidateExtension(bool editing);
  void cmdAdd_Click();
  void cmdOK_Click();
  void cmdCancel_Click();
  void Refuse(const app::Question& refusal);

  QListWidget* mPatterns;
  QLabel* lblExt;
  QLineEdit* txtExt;
  QPushButton* cmdAdd;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;
  bool mbClosedByCloseBox = false;
};

}  // namespace tarnwick::gui
