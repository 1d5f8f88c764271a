#include "gui/export/progress_window.h"

#include <QLocale>
#include <algorithm>
#include <utility>

#include "core/scan/format_size.h"
#include "gui/common/app_title.h"

namespace tarnwick::gui {
namespace {

// The bar counts in thousandths of the work: byte counts do not fit its int range.
constexpr int kSteps = 1000;
// Work that ends sooner shows no window at all.
constexpr int kShowAfterMs = 500;
constexpr qint64 kRedrawEveryMs = 50;

int stepsDone(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
              std::uint64_t bytesTotal) {
  // By bytes, so one large file moves the bar too; by files when every file is empty.
  const auto [done, total] =
      bytesTotal > 0 ? std::pair{bytesDone, bytesTotal} : std::pair{filesDone, filesTotal};
  if (total == 0)
    return 0;
  const double share = static_cast<double>(std::min(done, total)) / static_cast<double>(total);
  return static_cast<int>(share * kSteps);
}

}  // namespace

QString ProgressText(const QString& action, std::uint64_t filesDone, std::uint64_t filesTotal,
                     std::uint64_t bytesDone, std::uint64_t bytesTotal,
                     const std::string& decimalSeparator) {
  QString text = action + QStringLiteral(": ") + QString::number(filesDone) +
                 QStringLiteral(" of ") + QString::number(filesTotal);
  if (bytesTotal > 0) {
    text += QLatin1Char('\n') + QString::fromStdString(FormatSize(bytesDone, decimalSeparator)) +
            QStringLiteral(" of ") +
            QString::fromStdString(FormatSize(bytesTotal, decimalSeparator));
  }
  return text;
}

ProgressWindow::ProgressWindow(QWidget* parent, const QString& action, std::uint64_t filesTotal,
                               std::atomic<bool>* alsoCancel)
    : parent_(parent),
      action_(action),
      decimalSeparator_(QLocale().decimalPoint().toStdString()),
      dialog_(parent) {
  dialog_.setObjectName(QStringLiteral("frmProgress"));
  dialog_.setWindowTitle(AppTitle());
  dialog_.setWindowModality(Qt::WindowModal);
  // The window stays until the work returns, whatever the bar shows.
  dialog_.setAutoClose(false);
  dialog_.setAutoReset(false);
  dialog_.setCancelButtonText(Text(app::texts::kCancelCaption));
  dialog_.setMinimumWidth(360);
  dialog_.setRange(0, kSteps);
  dialog_.setLabelText(ProgressText(action_, 0, filesTotal, 0, 0, decimalSeparator_));
  dialog_.setMinimumDuration(kShowAfterMs);
  // Pressing Cancel, Escape or closing the window all come here.
  QObject::connect(&dialog_, &QProgressDialog::canceled, [this, alsoCancel] {
    cancel_ = true;
    if (alsoCancel != nullptr)
      *alsoCancel = true;
  });
  // Starts the clock after which the window shows itself.
  dialog_.setValue(0);
  sinceRedraw_.start();
}

void ProgressWindow::Update(std::uint64_t filesDone, std::uint64_t filesTotal,
                            std::uint64_t bytesDone, std::uint64_t bytesTotal) {
  if (cancel_)
    return;
  const bool finished = filesDone >= filesTotal;
  if (!finished && sinceRedraw_.elapsed() < kRedrawEveryMs)
    return;
  sinceRedraw_.restart();
  dialog_.setLabelText(
      ProgressText(action_, filesDone, filesTotal, bytesDone, bytesTotal, decimalSeparator_));
  dialog_.setValue(stepsDone(filesDone, filesTotal, bytesDone, bytesTotal));
}

QWidget* ProgressWindow::QuestionParent() {
  return dialog_.isVisible() ? static_cast<QWidget*>(&dialog_) : parent_;
}

}  // namespace tarnwick::gui
