#include "gui/scan/frm_scan.h"

#include <QFont>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>

#include "gui/common/app_title.h"
#include "gui/common/prompts.h"
#include "gui/controls/common_controls.h"
#include "gui/controls/status_bar.h"
#include "gui/scan/scan_globals.h"
#include "gui/scan/scan_view.h"

namespace tarnwick::gui {
namespace {

constexpr int kClientWidth = 620;
constexpr int kClientHeight = 416;
const QRect kButtonPlace(492, 364, 117, 25);

}  // namespace

// The scan session of this window; the walk runs through the window's RunSearch, which the
// window's tests replace.
class frmScan::WindowSession final : public app::ScanSession {
 public:
  WindowSession(frmScan& window, std::string decimalSeparator)
      : app::ScanSession(std::move(decimalSeparator)), window_(window) {}

 protected:
  void RunSearch(SearchParams& params, const std::string& root, SearchSink& sink) override {
    window_.RunSearch(params, root, sink);
  }

 private:
  frmScan& window_;
};

namespace {

frmScan::ExportCommand& exportCommand() {
  static frmScan::ExportCommand command;
  return command;
}

std::string decimalSeparator() {
  return QLocale().decimalPoint().toStdString();
}

// Tahoma 8.25 pt where it is installed, the nearest sans-serif elsewhere. The pixel layout was
// drawn for it, so the list and the status bar use it too: "999.99 KB" fits the Size column.
QFont windowFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(8.25);
  return font;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setFont(windowFont());
  button->setGeometry(kButtonPlace);
  // Enter in the list must not press a button: only a click or the button's own key does.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

void frmScan::SetExportCommand(ExportCommand command) {
  exportCommand() = std::move(command);
}

frmScan::frmScan(QWidget* parent)
    : QDialog(parent),
      mSession(std::make_unique<WindowSession>(*this, decimalSeparator())),
      mbExporting(mSession->mbExporting),
      mbSaved(mSession->mbSaved) {
  setObjectName(QStringLiteral("frmScan"));
  Form_Load();
}

frmScan::~frmScan() = default;

app::ScanSession& frmScan::Session() {
  return *mSession;
}

const std::vector<app::UnreadableFolder>& frmScan::UnreadableFolders() const {
  return mSession->UnreadableFolders();
}

void frmScan::Form_Load() {
  // A fixed-size dialog: a title and a close button, nothing to minimise, maximise or resize.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(windowFont());
  InitComCtl(ICC_BAR_CLASSES);
  mStatusBar = CreateStatusBar(this);
  ghStatusBar = mStatusBar;
  const int barHeight = mStatusBar->sizeHint().height();
  mStatusBar->setGeometry(0, kClientHeight - barHeight, kClientWidth, barHeight);
  setWindowTitle(AppTitle());

  cmdExport = makeButton(this, QStringLiteral("cmdExport"), Text(app::texts::kExportCaption));
  cmdExport->hide();
  cmdCancel = makeButton(this, QStringLiteral("cmdCancel"), Text(app::texts::kCancelCaption));
  setTabOrder(cmdExport, cmdCancel);
  connect(cmdCancel, &QPushButton::clicked, this, &frmScan::cmdCancel_Click);
  connect(cmdExport, &QPushButton::clicked, this, &frmScan::cmdExport_Click);

  InitListView();
}

void frmScan::InitListView() {
  mList = std::make_unique<clsListView>();
  mList->Init(this);
  mList->hWnd()->setObjectName(QStringLiteral("lvwResults"));
  mList->View(LVS_REPORT);
  mList->GridLines(true);
  mList->FullRowSelect(true);
  mList->Move(8, 8, 605, 350);
  mList->ColumnAdd(Text(app::texts::kColumnFilename), 150, LVCFMT_LEFT);
  mList->ColumnAdd(Text(app::texts::kColumnPath), 375, LVCFMT_LEFT);
  mList->ColumnAdd(Text(app::texts::kColumnSize), 75, LVCFMT_LEFT);
}

void frmScan::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (mActivated)
    return;
  mActivated = true;
  // The scan starts once the window is on screen, from the event loop the window runs in.
  QMetaObject::invokeMethod(this, &frmScan::Form_Activate, Qt::QueuedConnection);
}

void frmScan::RunSearch(SearchParams& params, const std::string& root, SearchSink& sink) {
  SearchFolder(params, root, sink);
}

void frmScan::Form_Activate() {
  ScanListView view(*mList, mStatusBar);
  PromptAnswerer answers(this);
  mSession->Run(view, answers);
  cmdCancel->hide();
  cmdExport->setEnabled(static_cast<bool>(exportCommand()));
  cmdExport->show();
}

void frmScan::cmdCancel_Click() {
  PromptAnswerer answers(this);
  mSession->AskCancel(answers);
}

void frmScan::cmdExport_Click() {
  if (const ExportCommand command = exportCommand())
    command(*this);
}

bool frmScan::Form_Unload() {
  PromptAnswerer answers(this);
  return mSession->MayClose(answers);
}

void frmScan::reject() {
  if (!Form_Unload())
    return;
  mList.reset();
  QDialog::reject();
}

}  // namespace tarnwick::gui
