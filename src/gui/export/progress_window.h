// The progress window of a long export: how many files and bytes of the total are done, and a
// Cancel button. Window-modal over the scan window, so the user can cancel but not start anything
// else there; it appears only when the work lasts longer than a moment.
#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QString>
#include <atomic>
#include <cstdint>
#include <string>

namespace tarnwick::gui {

// "Archiving files: 3 of 10" and below it "1.5 MB of 20 MB" (the bytes line once the total is
// known), sizes in the program's size format with `decimalSeparator`.
QString ProgressText(const QString& action, std::uint64_t filesDone, std::uint64_t filesTotal,
                     std::uint64_t bytesDone, std::uint64_t bytesTotal,
                     const std::string& decimalSeparator);

class ProgressWindow {
 public:
  // `action` names the work: "Archiving files" or "Copying files". `filesTotal` is known before
  // the work starts; the bytes come with the first report.
  // `alsoCancel`, when given, is set too when the user cancels (the run's stop flag).
  ProgressWindow(QWidget* parent, const QString& action, std::uint64_t filesTotal,
                 std::atomic<bool>* alsoCancel = nullptr);
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Shows how far the work is. Cheap to call often: the window is redrawn at most every 50 ms.
  void Update(std::uint64_t filesDone, std::uint64_t filesTotal, std::uint64_t bytesDone,
              std::uint64_t bytesTotal);
  // Set once the user pressed Cancel or closed the window; the engine reads it between pieces.
  const std::atomic<bool>& CancelFlag() const { return cancel_; }
  bool Cancelled() const { return cancel_.load(); }
  // The parent for a question asked while the work runs: this window when it is on screen (so the
  // question comes above it), the scan window otherwise.
  QWidget* QuestionParent();

 private:
  // Declared before the dialog, so it outlives the dialog's signals.
  std::atomic<bool> cancel_{false};
  QWidget* parent_;
  QString action_;
  std::string decimalSeparator_;
  QElapsedTimer sinceRedraw_;
  QProgressDialog dialog_;
};

}  // namespace tarnwick::gui
