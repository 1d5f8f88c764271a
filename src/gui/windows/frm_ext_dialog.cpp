#include "gui/windows/frm_ext_dialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/patterns/pattern_list.h"
#include "gui/common/app_title.h"
#include "gui/common/prompts.h"
#include "gui/windows/control_font.h"
#include "gui/windows/list_selection.h"
#include "gui/windows/twips.h"

namespace tarnwick::gui {
namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(geometry);
  return button;
}

}  // namespace

frmExtDialog::frmExtDialog(QListWidget* patterns, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      mPatterns(patterns) {
  setObjectName(QStringLiteral("frmExtDialog"));
  setWindowTitle(Text(app::texts::kPatternDialogTitle));
  setFont(ControlFont());
  setFixedSize(Twips(4170), Twips(1440));
  setModal(true);

  // Created in tab order: Add, Cancel, the label, the text box, OK.
  cmdAdd = MakeButton(this, "cmdAdd", QStringLiteral("&Add"), TwipsRect(1440, 960, 1215, 375));
  cmdCancel =
      MakeButton(this, "cmdCancel", QStringLiteral("Cancel"), TwipsRect(2820, 960, 1215, 375));
  lblExt = new QLabel(QStringLiteral("&File Extension"), this);
  lblExt->setObjectName(QStringLiteral("lblExt"));
  lblExt->setGeometry(TwipsRect(180, 180, 1215, 255));
  lblExt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  txtExt = new QLineEdit(this);
  txtExt->setObjectName(QStringLiteral("txtExt"));
  txtExt->setGeometry(TwipsRect(120, 480, 3915, 345));
  lblExt->setBuddy(txtExt);
  cmdOK = MakeButton(this, "cmdOK", QStringLiteral("OK"), TwipsRect(1440, 960, 1215, 375));
  setTabOrder(cmdAdd, cmdCancel);
  setTabOrder(cmdCancel, txtExt);
  setTabOrder(txtExt, cmdOK);

  cmdAdd->setEnabled(false);
  cmdAdd->hide();
  cmdOK->setEnabled(false);
  cmdOK->hide();

  connect(txtExt, &QLineEdit::textChanged, this, &frmExtDialog::txtExt_Change);
  connect(cmdAdd, &QPushButton::clicked, this, &frmExtDialog::cmdAdd_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmExtDialog::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmExtDialog::cmdCancel_Click);
}

void frmExtDialog::SetMode(Mode mode) {
  QPushButton* shown = mode == Mode::Add ? cmdAdd : cmdOK;
  QPushButton* hidden = mode == Mode::Add ? cmdOK : cmdAdd;
  hidden->setDefault(false);
  hidden->hide();
  shown->show();
  shown->setDefault(true);
}

void frmExtDialog::SetText(const QString& text) {
  txtExt->setText(text);
  txtExt->setCursorPosition(0);
}

void frmExtDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    Form_Activate();
}

void frmExtDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Form_Activate();
}

void frmExtDialog::closeEvent(QCloseEvent* event) {
  mbClosedByCloseBox = true;
  hide();
  event->accept();
}

// Escape presses Cancel.
void frmExtDialog::reject() {
  cmdCancel_Click();
}

// Each time the dialog becomes active the text box takes the focus and its text is selected from
// the caret (or the start of the selection) to the end: all of it after a handler set it.
void frmExtDialog::Form_Activate() {
  txtExt->setFocus();
  const int start = txtExt->hasSelectedText() ? txtExt->selectionStart() : txtExt->cursorPosition();
  txtExt->setSelection(start, static_cast<int>(txtExt->text().size()));
}

void frmExtDialog::txtExt_Change() {
  UpdateButtons();
}

// Both confirming buttons are enabled only for "*." followed by at least one more character.
void frmExtDialog::UpdateButtons() {
  const bool ok = app::PatternCanBeConfirmed(txtExt->text().toStdString());
  cmdAdd->setEnabled(ok);
  cmdOK->setEnabled(ok);
}

bool frmExtDialog::ValidateExtension(bool editing) {
  std::vector<std::string> entries;
  for (int i = 0; i < mPatterns->count(); ++i)
    entries.push_back(mPatterns->item(i)->text().toStdString());
  const int selected = SelectedPosition(*mPatterns);
  const std::optional<app::Question> refusal = app::PatternRefusal(
      txtExt->text().toStdString(), entries,
      selected < 0 ? std::nullopt : std::optional<std::size_t>(selected), editing);
  if (!refusal)
    return true;
  Refuse(*refusal);
  return false;
}

// Shows why the text was refused and hands it back for correction, selected whole.
void frmExtDialog::Refuse(const app::Question& refusal) {
  PromptAnswerer(this).Ask(refusal);
  txtExt->setFocus();
  txtExt->setSelection(0, static_cast<int>(txtExt->text().size()));
}

void frmExtDialog::cmdAdd_Click() {
  if (!ValidateExtension(false))
    return;
  hide();
  mPatterns->addItem(QString::fromStdString(app::StoredPattern(txtExt->text().toStdString())));
  SelectPosition(*mPatterns, mPatterns->count() - 1);
  SetText(QString());
}

void frmExtDialog::cmdOK_Click() {
  if (!ValidateExtension(true))
    return;
  hide();
  if (QListWidgetItem* item = mPatterns->item(SelectedPosition(*mPatterns))) {
    item->setText(QString::fromStdString(app::StoredPattern(txtExt->text().toStdString())));
  }
  SetText(QString());
}

void frmExtDialog::cmdCancel_Click() {
  hide();
}

}  // namespace tarnwick::gui
