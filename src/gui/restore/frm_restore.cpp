#include "gui/restore/frm_restore.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <chrono>

#include "app/restore/restore_texts.h"

namespace tarnwick::gui {
namespace {

QString q(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
QString q(const char* text) {
  return QString::fromUtf8(text);
}

app::ConflictAnswer askWithMessageBox(QWidget* parent, const app::ConflictQuestion& question) {
  QMessageBox box(QMessageBox::Question, q(question.caption), q(question.text),
                  QMessageBox::NoButton, parent);
  QPushButton* keep = box.addButton(q(app::kKeepBothButton), QMessageBox::AcceptRole);
  QPushButton* skip = box.addButton(q(app::kSkipButton), QMessageBox::RejectRole);
  QPushButton* replace = box.addButton(q(app::kReplaceButton), QMessageBox::DestructiveRole);
  box.setDefaultButton(keep);
  auto* forAll = new QCheckBox(q(app::kForAllCheck), &box);
  box.setCheckBox(forAll);
  box.exec();
  app::ConflictAnswer answer;
  answer.forAll = forAll->isChecked();
  if (box.clickedButton() == skip)
    answer.choice = restore::ConflictChoice::Skip;
  else if (box.clickedButton() == replace)
    answer.choice = restore::ConflictChoice::Replace;
  else
    answer.choice = restore::ConflictChoice::KeepBoth;
  return answer;
}

void showWithMessageBox(QWidget* parent, const app::RestoreOutcome& outcome) {
  const QString details = q(app::OutcomeDetails(outcome.lines));
  QMessageBox box(outcome.AllInPlace() ? QMessageBox::Information : QMessageBox::Warning,
                  q(app::kRestoreWindowTitle), q(outcome.summary), QMessageBox::Ok, parent);
  if (!details.isEmpty())
    box.setDetailedText(details);
  box.exec();
}

std::optional<std::string> chooseWithBrowser(QWidget* parent, const std::string& initial) {
  const QString folder =
      QFileDialog::getExistingDirectory(parent, q(app::kChooseFolderTitle), q(initial));
  if (folder.isEmpty())
    return std::nullopt;
  const QByteArray utf8 = QDir::toNativeSeparators(folder).toUtf8();
  return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace

frmRestore::frmRestore(std::unique_ptr<app::RestoreSession> session, const QString& archiveName,
                       QWidget* parent)
    : QDialog(parent),
      mSession(std::move(session)),
      mAskConflict(askWithMessageBox),
      mShowOutcome(showWithMessageBox),
      mChooseFolder(chooseWithBrowser) {
  setObjectName(QStringLiteral("frmRestore"));
  setWindowTitle(q(app::kRestoreWindowTitle) + QStringLiteral(" - ") + archiveName);
  BuildControls();
  lblArchive->setText(archiveName);
  if (!mSession->HasManifest()) {
    // A plain archive has no old places: only a folder will do.
    optIntoFolder->setChecked(true);
    optSamePlaces->setEnabled(false);
  }
  RefreshMappings();
  RefreshPlan();
  resize(900, 600);
}

frmRestore::~frmRestore() {
  mChecker.reset();
  mStop = true;
  if (mWorker.joinable())
    mWorker.join();
}

void frmRestore::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  lblArchive = new QLabel(this);
  lblArchive->setObjectName(QStringLiteral("lblArchive"));
  layout->addWidget(lblArchive);

  auto* choice = new QGridLayout;
  optSamePlaces = new QRadioButton(q(app::kSamePlacesChoice), this);
  optSamePlaces->setObjectName(QStringLiteral("optSamePlaces"));
  optSamePlaces->setChecked(true);
  optIntoFolder = new QRadioButton(q(app::kIntoFolderChoice), this);
  optIntoFolder->setObjectName(QStringLiteral("optIntoFolder"));
  txtFolder = new QLineEdit(this);
  txtFolder->setObjectName(QStringLiteral("txtFolder"));
  cmdBrowseFolder = new QPushButton(QStringLiteral("Browse..."), this);
  cmdBrowseFolder->setObjectName(QStringLiteral("cmdBrowseFolder"));
  choice->addWidget(optSamePlaces, 0, 0);
  choice->addWidget(optIntoFolder, 1, 0);
  choice->addWidget(txtFolder, 1, 1);
  choice->addWidget(cmdBrowseFolder, 1, 2);
  choice->setColumnStretch(1, 1);
  layout->addLayout(choice);

  tblMappings = new QTableWidget(0, 2, this);
  tblMappings->setObjectName(QStringLiteral("tblMappings"));
  tblMappings->setHorizontalHeaderLabels({q(app::kColumnFrom), q(app::kColumnTo)});
  tblMappings->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  tblMappings->verticalHeader()->hide();
  tblMappings->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  tblMappings->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblMappings->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblMappings->setMaximumHeight(170);
  layout->addWidget(tblMappings);

  auto* conflictRow = new QHBoxLayout;
  conflictRow->addWidget(new QLabel(q(app::kConflictLabel), this));
  cboConflict = new QComboBox(this);
  cboConflict->setObjectName(QStringLiteral("cboConflict"));
  cboConflict->addItem(q(app::kKeepBothButton), static_cast<int>(app::ConflictPolicy::KeepBoth));
  cboConflict->addItem(q(app::kSkipButton), static_cast<int>(app::ConflictPolicy::Skip));
  cboConflict->addItem(q(app::kReplaceButton), static_cast<int>(app::ConflictPolicy::Replace));
  cboConflict->addItem(q(app::kAskChoice), static_cast<int>(app::ConflictPolicy::Ask));
  conflictRow->addWidget(cboConflict);
  conflictRow->addStretch(1);
  layout->addLayout(conflictRow);

  lvwPlan = new QTreeWidget(this);
  lvwPlan->setObjectName(QStringLiteral("lvwPlan"));
  lvwPlan->setHeaderLabels({q(app::kColumnFrom), q(app::kColumnTo), q(app::kColumnStatus)});
  lvwPlan->setRootIsDecorated(false);
  lvwPlan->setUniformRowHeights(true);
  lvwPlan->header()->setSectionResizeMode(QHeaderView::Interactive);
  lvwPlan->setColumnWidth(0, 330);
  lvwPlan->setColumnWidth(1, 330);
  layout->addWidget(lvwPlan, 1);

  prgRestore = new QProgressBar(this);
  prgRestore->setObjectName(QStringLiteral("prgRestore"));
  prgRestore->setRange(0, 1000);
  prgRestore->setValue(0);
  layout->addWidget(prgRestore);
  lblStatus = new QLabel(this);
  lblStatus->setObjectName(QStringLiteral("lblStatus"));
  layout->addWidget(lblStatus);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  cmdRestore = new QPushButton(q(app::kStartButton), this);
  cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
  cmdRestore->setDefault(true);
  cmdCancel = new QPushButton(q(app::kCancelButton), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel->setEnabled(false);
  cmdClose = new QPushButton(q(app::kCloseButton), this);
  cmdClose->setObjectName(QStringLiteral("cmdClose"));
  buttons->addWidget(cmdRestore);
  buttons->addWidget(cmdCancel);
  buttons->addWidget(cmdClose);
  layout->addLayout(buttons);

  connect(optSamePlaces, &QRadioButton::toggled, this, &frmRestore::optMode_Toggled);
  connect(txtFolder, &QLineEdit::editingFinished, this, [this] {
    const QByteArray utf8 = txtFolder->text().toUtf8();
    const std::string folder(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (folder != mSession->IntoFolder()) {
      mSession->SetIntoFolder(folder);
      RefreshPlan();
    }
  });
  connect(cmdBrowseFolder, &QPushButton::clicked, this, &frmRestore::cmdBrowseFolder_Click);
  connect(tblMappings, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { tblMappings_DoubleClick(row); });
  connect(cboConflict, &QComboBox::currentIndexChanged, this, [this] {
    mSession->SetConflicts(static_cast<app::ConflictPolicy>(cboConflict->currentData().toInt()));
  });
  connect(cmdRestore, &QPushButton::clicked, this, &frmRestore::StartRestore);
  connect(cmdCancel, &QPushButton::clicked, this, &frmRestore::cmdCancel_Click);
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

void frmRestore::RefreshMappings() {
  const bool samePlaces = mSession->Mode() == restore::PlanMode::SamePlaces;
  tblMappings->setEnabled(samePlaces);
  txtFolder->setEnabled(!samePlaces);
  cmdBrowseFolder->setEnabled(!samePlaces);
  const auto& mappings = mSession->Mappings();
  tblMappings->setRowCount(static_cast<int>(mappings.size()) + (mSession->HasManifest() ? 1 : 0));
  int row = 0;
  for (const auto& m : mappings) {
    tblMappings->setItem(row, 0, new QTableWidgetItem(q(m.from)));
    tblMappings->setItem(row, 1, new QTableWidgetItem(q(m.to)));
    ++row;
  }
  if (mSession->HasManifest()) {
    tblMappings->setItem(row, 0, new QTableWidgetItem(q(app::kOtherPlacesLabel)));
    tblMappings->setItem(row, 1, new QTableWidgetItem(q(mSession->OtherPlacesFolder())));
  }
}

void frmRestore::RefreshPlan() {
  StopChecking();
  lvwPlan->clear();
  app::PlanRows planRows = mSession->QuickRows();
  const std::vector<app::RestoreRow>& rows = planRows.rows;
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (const auto& row : rows)
    items.push_back(new QTreeWidgetItem({q(row.from), q(row.to), q(row.status)}));
  lvwPlan->addTopLevelItems(items);
  QString status;
  for (const auto& w : mSession->Warnings())
    status += q(w) + QLatin1Char('\n');
  status += q(mSession->PlanError());
  lblStatus->setText(status.trimmed());
  cmdRestore->setEnabled(mSession->PlanError().empty() && !rows.empty());
  if (planRows.checks.empty()) {
    emit PlanChecked();
    return;
  }
  const std::uint64_t number = mPlanNumber;
  mChecker = std::make_unique<app::PlanStatusChecker>(
      std::move(planRows.checks),
      [this, number](std::size_t row, const std::string& text) {
        QMetaObject::invokeMethod(
            this,
            [this, number, row, text = q(text)] {
              if (number != mPlanNumber)
                return;
              if (QTreeWidgetItem* item = lvwPlan->topLevelItem(static_cast<int>(row)))
                item->setText(2, text);
            },
            Qt::QueuedConnection);
      },
      [this, number] {
        QMetaObject::invokeMethod(
            this,
            [this, number] {
              if (number != mPlanNumber)
                return;
              mChecker.reset();
              emit PlanChecked();
            },
            Qt::QueuedConnection);
      });
}

void frmRestore::StopChecking() {
  mChecker.reset();
  ++mPlanNumber;
}

void frmRestore::optMode_Toggled() {
  mSession->SetMode(optSamePlaces->isChecked() ? restore::PlanMode::SamePlaces
                                               : restore::PlanMode::IntoFolder);
  RefreshMappings();
  RefreshPlan();
}

void frmRestore::cmdBrowseFolder_Click() {
  if (auto folder = mChooseFolder(this, mSession->IntoFolder())) {
    txtFolder->setText(q(*folder));
    mSession->SetIntoFolder(*folder);
    RefreshPlan();
  }
}

void frmRestore::tblMappings_DoubleClick(int row) {
  const auto& mappings = mSession->Mappings();
  const bool other = row == static_cast<int>(mappings.size());
  const std::string current =
      other ? mSession->OtherPlacesFolder() : mappings[static_cast<std::size_t>(row)].to;
  const auto folder = mChooseFolder(this, current);
  if (!folder)
    return;
  if (other)
    mSession->SetOtherPlacesFolder(*folder);
  else
    mSession->SetMapping(mappings[static_cast<std::size_t>(row)].from, *folder);
  RefreshMappings();
  RefreshPlan();
}

void frmRestore::SetRunning(bool running) {
  cmdRestore->setEnabled(!running);
  cmdClose->setEnabled(!running);
  cmdCancel->setEnabled(running);
  optSamePlaces->setEnabled(!running && mSession->HasManifest());
  optIntoFolder->setEnabled(!running);
  txtFolder->setEnabled(!running && mSession->Mode() == restore::PlanMode::IntoFolder);
  cmdBrowseFolder->setEnabled(!running && mSession->Mode() == restore::PlanMode::IntoFolder);
  tblMappings->setEnabled(!running && mSession->Mode() == restore::PlanMode::SamePlaces);
  cboConflict->setEnabled(!running);
}

void frmRestore::StartRestore() {
  if (Running() || !mSession->PlanError().empty())
    return;
  // The run tells each row's outcome; the comparison for the status column is not needed now.
  StopChecking();
  mStop = false;
  SetRunning(true);
  prgRestore->setValue(0);
  // The worker posts to the window; the window outlives it (the destructor joins it).
  mWorker = std::thread([this] {
    app::RestoreHooks hooks;
    hooks.stop = &mStop;
    hooks.progress = app::ThrottledRestoreProgress(
        [this](std::uint64_t fd, std::uint64_t ft, std::uint64_t bd, std::uint64_t bt) {
          QMetaObject::invokeMethod(
              this, [=, this] { OnProgress(fd, ft, bd, bt); }, Qt::QueuedConnection);
        });
    hooks.outcome = [this](const app::OutcomeLine& line) {
      QMetaObject::invokeMethod(
          this, [=, this] { OnOutcome(line); }, Qt::QueuedConnection);
    };
    hooks.askConflict = [this](const app::ConflictQuestion& question) {
      app::ConflictAnswer answer;
      QMetaObject::invokeMethod(
          this, [&] { answer = mAskConflict(this, question); }, Qt::BlockingQueuedConnection);
      return answer;
    };
    const app::RestoreOutcome outcome = mSession->Run(hooks);
    QMetaObject::invokeMethod(
        this, [=, this] { OnFinished(outcome); }, Qt::QueuedConnection);
  });
}

void frmRestore::OnProgress(std::uint64_t filesDone, std::uint64_t filesTotal,
                            std::uint64_t bytesDone, std::uint64_t bytesTotal) {
  prgRestore->setValue(
      bytesTotal == 0 ? (filesTotal == 0 ? 1000 : static_cast<int>(filesDone * 1000 / filesTotal))
                      : static_cast<int>(bytesDone * 1000 / bytesTotal));
  lblStatus->setText(q(app::RestoringText(std::min(filesDone + 1, filesTotal), filesTotal)));
}

void frmRestore::OnOutcome(const app::OutcomeLine& line) {
  QTreeWidgetItem* item = lvwPlan->topLevelItem(static_cast<int>(line.planIndex));
  if (item == nullptr)
    return;
  QString status = q(app::OutcomeWord(line.outcome));
  if (!line.reason.empty())
    status += QStringLiteral(": ") + q(line.reason);
  item->setText(1, q(line.path));
  item->setText(2, status);
}

void frmRestore::OnFinished(const app::RestoreOutcome& outcome) {
  if (mWorker.joinable())
    mWorker.join();
  SetRunning(false);
  lblStatus->setText(q(outcome.summary));
  emit Finished();
  if (mbCloseWhenDone) {
    QDialog::reject();
    return;
  }
  mShowOutcome(this, outcome);
}

void frmRestore::cmdCancel_Click() {
  mStop = true;
}

void frmRestore::closeEvent(QCloseEvent* event) {
  if (Running()) {
    // Stop first; the window closes once the worker has left nothing half-written.
    mStop = true;
    mbCloseWhenDone = true;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void frmRestore::reject() {
  if (Running()) {
    mStop = true;
    mbCloseWhenDone = true;
    return;
  }
  QDialog::reject();
}

}  // namespace tarnwick::gui
