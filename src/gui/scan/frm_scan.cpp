#include "gui/scan/frm_scan.h"

#include <QFont>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>

#include "core/common/ui_hooks.h"
#include "core/scan/format_size.h"
#include "gui/common/app_title.h"
#include "gui/common/prompts.h"
#include "gui/controls/common_controls.h"
#include "gui/controls/status_bar.h"
#include "gui/scan/scan_globals.h"

namespace tarnwick::gui {
namespace {

constexpr int kClientWidth = 620;
constexpr int kClientHeight = 416;
const QRect kButtonPlace(492, 364, 117, 25);

frmScan::ExportCommand& exportCommand() {
  static frmScan::ExportCommand command;
  return command;
}

std::string decimalSeparator() {
  return QLocale().decimalPoint().toStdString();
}

QString summaryLine(const SearchParams& params) {
  return QString::number(params.MatchCount) + QStringLiteral(" matches from a total of ") +
         QString::number(params.ScannedCount) + QStringLiteral(" scanned files - ") +
         QString::fromStdString(FormatSize(params.TotalBytes, decimalSeparator()));
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

frmScan::frmScan(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmScan"));
  Form_Load();
}

frmScan::~frmScan() {
  SetStatusHook({});
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
  // Progress texts of the export and the archive engine reach this window's bar too.
  SetStatusHook([](const std::string& text) {
    SetStatusText(ghStatusBar, 0, SBT_SUNKEN, QString::fromStdString(text));
  });
  const int barHeight = mStatusBar->sizeHint().height();
  mStatusBar->setGeometry(0, kClientHeight - barHeight, kClientWidth, barHeight);
  setWindowTitle(AppTitle());

  cmdExport = makeButton(this, QStringLiteral("cmdExport"), QStringLiteral("Save to zip file"));
  cmdExport->hide();
  cmdCancel = makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
  setTabOrder(cmdExport, cmdCancel);
  connect(cmdCancel, &QPushButton::clicked, this, &frmScan::cmdCancel_Click);
  connect(cmdExport, &QPushButton::clicked, this, &frmScan::cmdExport_Click);

  InitListView();
  mbSaved = false;
  gScanning = true;
}

void frmScan::InitListView() {
  mList = std::make_unique<clsListView>();
  mList->Init(this);
  mList->hWnd()->setObjectName(QStringLiteral("lvwResults"));
  mList->View(LVS_REPORT);
  mList->GridLines(true);
  mList->FullRowSelect(true);
  mList->Move(8, 8, 605, 350);
  mList->ColumnAdd(QStringLiteral("Filename"), 150, LVCFMT_LEFT);
  mList->ColumnAdd(QStringLiteral("Path"), 375, LVCFMT_LEFT);
  mList->ColumnAdd(QStringLiteral("Size"), 75, LVCFMT_LEFT);
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
  {
    ScanSink sink(gSearch, *mList, mStatusBar, mUnreadable, decimalSeparator());
    RunSearch(gSearch, DisplayRoot(gRootFolder), sink);
  }
  SetStatusText(mStatusBar, 0, SBT_SUNKEN, summaryLine(gSearch));
  if (gScanning) {
    ShowMessage(this, QStringLiteral("Scanning is complete."), PromptIcon::Information,
                PromptButtons::Ok);
    gScanning = false;
  }
  cmdCancel->hide();
  cmdExport->setEnabled(static_cast<bool>(exportCommand()));
  cmdExport->show();
}

void frmScan::cmdCancel_Click() {
  if (ShowMessage(this, QStringLiteral("Are you sure you want to cancel the scanning process?"),
                  PromptIcon::Question, PromptButtons::YesNo) == PromptAnswer::Yes) {
    gScanning = false;
  }
}

void frmScan::cmdExport_Click() {
  if (const ExportCommand command = exportCommand())
    command(*this);
}

bool frmScan::Form_Unload() {
  if (gScanning)
    return false;
  if (mbExporting)
    return false;
  if (!mbSaved &&
      ShowMessage(this, QStringLiteral("Files have not been saved, are you sure you want to exit?"),
                  PromptIcon::Question, PromptButtons::YesNo) != PromptAnswer::Yes) {
    return false;
  }
  return true;
}

void frmScan::reject() {
  if (!Form_Unload())
    return;
  mList.reset();
  QDialog::reject();
}

}  // namespace tarnwick::gui
