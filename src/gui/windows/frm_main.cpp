#include "gui/windows/frm_main.h"

#include "app/main/main_commands.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include "core/platform/system.h"
#include "core/settings/app_state.h"
#include "gui/app/frm_splash.h"
#include "gui/app/resources.h"
#include "gui/common/app_title.h"
#include "gui/scan/frm_scan.h"
#include "gui/windows/caption_frame.h"
#include "gui/windows/control_font.h"
#include "gui/windows/frm_ext_dialog.h"
#include "gui/windows/maker_texts.h"
#include "gui/windows/twips.h"

namespace tarnwick::gui {
namespace {

template <typename Control>
Control* Place(QWidget* container, const char* name, QRect geometry) {
  auto* control = new Control(container);
  control->setObjectName(QLatin1String(name));
  control->setGeometry(geometry);
  return control;
}

template <typename Control>
Control* Place(QWidget* container, const char* name, const QString& caption, QRect geometry) {
  auto* control = Place<Control>(container, name, geometry);
  control->setText(caption);
  return control;
}

void OpenScanWindow(QWidget* owner) {
  frmScan scan(owner);
  scan.exec();
}

}  // namespace

frmMain::frmMain(std::string settingsFile, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      mSettingsFile(std::move(settingsFile)),
      mOpenScanWindow(OpenScanWindow),
      mShowSplash(ShowSplash) {
  setObjectName(QStringLiteral("frmMain"));
  setFont(ControlFont());
  setWindowIcon(ProgramIcon());
  setFixedSize(Twips(5835), Twips(4185));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  BuildControls();
  SetTabOrder();
  Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::BuildControls() {
  // Positions in twips, relative to the control's container.
  fraDrive = Place<CaptionFrame>(this, "fraDrive", TwipsRect(120, 120, 5595, 1275));
  fraDrive->setTitle(QStringLiteral("Folder to scan"));
  chkIgnoreTemp =
      Place<QCheckBox>(fraDrive, "chkIgnoreTemp", QStringLiteral("Exclude temporary folders"),
                       TwipsRect(240, 840, 2235, 315));
  chkIgnoreSys =
      Place<QCheckBox>(fraDrive, "chkIgnoreSys", QStringLiteral("Exclude system folders"),
                       TwipsRect(2820, 840, 1995, 315));
  // The folder box and its button lie over the frame but belong to the window.
  txtFolder = Place<QLineEdit>(this, "txtFolder", TwipsRect(360, 480, 3795, 315));
  cmdBrowse = Place<QPushButton>(this, "cmdBrowse", QStringLiteral("&Browse"),
                                 TwipsRect(4320, 450, 1215, 375));

  cmdScan =
      Place<QPushButton>(this, "cmdScan", QStringLiteral("GO"), TwipsRect(4560, 2220, 1035, 855));
  cmdScan->setFont(ControlFont(15.75, true));

  fraExt = Place<CaptionFrame>(this, "fraExt", TwipsRect(120, 1500, 4215, 2235));
  fraExt->setTitle(QStringLiteral("File extensions"));
  lstExt = Place<QListWidget>(fraExt, "lstExt", TwipsRect(180, 300, 3855, 1230));
  lstExt->setSelectionMode(QAbstractItemView::SingleSelection);
  lstExt->setSortingEnabled(false);
  cmdExtAdd = Place<QPushButton>(fraExt, "cmdExtAdd", QStringLiteral("Add"),
                                 TwipsRect(180, 1680, 1215, 375));
  cmdExtEdit = Place<QPushButton>(fraExt, "cmdExtEdit", QStringLiteral("Edit"),
                                  TwipsRect(1500, 1680, 1215, 375));
  cmdExtRmv = Place<QPushButton>(fraExt, "cmdExtRmv", QStringLiteral("Remove"),
                                 TwipsRect(2820, 1680, 1215, 375));
  cmdExtEdit->setEnabled(false);
  cmdExtRmv->setEnabled(false);

  lblWebsite = Place<QLabel>(this, "lblWebsite", QString::fromLatin1(kWebsiteHost),
                             TwipsRect(4320, 3900, 1425, 195));
  QFont link = ControlFont();
  link.setUnderline(true);
  lblWebsite->setFont(link);
  QPalette blue = lblWebsite->palette();
  blue.setColor(QPalette::WindowText, QColor(0, 0, 192));
  lblWebsite->setPalette(blue);
  lblWebsite->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The hand cursor shows whenever the mouse is over the address.
  lblWebsite->setCursor(Qt::PointingHandCursor);
  lblWebsite->installEventFilter(this);

  lblCopyright = Place<QLabel>(this, "lblCopyright", QString::fromLatin1(kNoticeText),
                               TwipsRect(120, 3900, 3255, 255));
  lblCopyright->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  connect(cmdBrowse, &QPushButton::clicked, this, &frmMain::cmdBrowse_Click);
  connect(cmdScan, &QPushButton::clicked, this, &frmMain::cmdScan_Click);
  connect(cmdExtAdd, &QPushButton::clicked, this, &frmMain::cmdExtAdd_Click);
  connect(cmdExtEdit, &QPushButton::clicked, this, &frmMain::cmdExtEdit_Click);
  connect(cmdExtRmv, &QPushButton::clicked, this, &frmMain::cmdExtRmv_Click);
  connect(lstExt, &QListWidget::itemSelectionChanged, this, &frmMain::lstExt_Click);
}

// Tab moves through the pattern list and its buttons, "GO", the switches, then the folder box and
// its button; the focus starts in the pattern list.
void frmMain::SetTabOrder() {
  QWidget* const order[] = {lstExt,       cmdExtAdd,     cmdExtEdit, cmdExtRmv, cmdScan,
                            chkIgnoreSys, chkIgnoreTemp, txtFolder,  cmdBrowse};
  for (size_t i = 1; i < std::size(order); ++i)
    setTabOrder(order[i - 1], order[i]);
  lstExt->setFocus();
}

void frmMain::Form_Load() {
  txtFolder->setText(QString::fromStdString(app::StartFolder()));
  chkIgnoreTemp->setChecked(gbIgnoreTemp);
  chkIgnoreSys->setChecked(gbIgnoreSys);
  for (const std::string& pattern : gExtList)
    lstExt->addItem(QString::fromStdString(pattern));
  setWindowTitle(QString::fromLatin1(kCaptionNotice) + AppTitle());
}

}  // namespace tarnwick::gui
