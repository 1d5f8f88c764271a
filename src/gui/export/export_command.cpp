#include "gui/export/export_command.h"

#include <QCoreApplication>
#include <QPushButton>
#include <memory>
#include <string>

#include "app/common/throttled_pump.h"
#include "app/export/export_session.h"
#include "core/common/ui_hooks.h"
#include "gui/common/app_title.h"
#include "gui/common/prompts.h"
#include "gui/controls/status_bar.h"
#include "gui/export/progress_window.h"
#include "gui/scan/frm_scan.h"
#include "gui/scan/scan_globals.h"

namespace tarnwick::gui {
namespace {

const platform::FileSource* gExportFileSource = nullptr;

// The export as the scan window shows it: questions as Qt dialogs over the window (or over the
// progress window while one is on screen), a progress window per run, texts in the status bar.
class WindowExportView final : public app::ExportView {
 public:
  explicit WindowExportView(frmScan& window)
      : window_(window), answers_([this] { return questionParent(); }) {}

  app::Answer Ask(const app::Question& question) override { return answers_.Ask(question); }
  app::Reply AskWithCheckBox(const app::Question& question) override {
    return answers_.AskWithCheckBox(question);
  }
  std::optional<std::string> AskSaveFile(const app::SaveFileQuestion& question) override {
    return answers_.AskSaveFile(question);
  }
  std::optional<std::string> AskFolder(const app::FolderQuestion& question) override {
    return answers_.AskFolder(question);
  }
  void Open(std::string_view title, std::uint64_t filesTotal, app::StopToken& stop) override {
    progress_ = std::make_unique<ProgressWindow>(&window_, Text(title), filesTotal, &stop.Flag());
  }
  void Update(const app::RunProgress& p) override {
    if (progress_)
      progress_->Update(p.filesDone, p.filesTotal, p.bytesDone, p.bytesTotal);
  }
  void Close() override { progress_.reset(); }
  // Writes a progress text into the scan window's status bar and lets the window repaint.
  void ShowStatus(const std::string& text) override {
    SetStatusText(ghStatusBar, 0, SBT_SUNKEN,
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    QCoreApplication::processEvents();
  }

 private:
  QWidget* questionParent() {
    return progress_ ? progress_->QuestionParent() : static_cast<QWidget*>(&window_);
  }

  frmScan& window_;
  PromptAnswerer answers_;
  std::unique_ptr<ProgressWindow> progress_;
};

}  // namespace

void InstallExportCommand() {
  SetPumpHook(app::ThrottledPump([] { QCoreApplication::processEvents(); }));
  frmScan::SetExportCommand(&cmdExport_Click);
}

void SetExportFileSource(const platform::FileSource* files) {
  gExportFileSource = files;
}

void cmdExport_Click(frmScan& window) {
  window.cmdExport->setEnabled(false);
  WindowExportView view(window);
  app::ExportOptions options;
  options.files = gExportFileSource;
  app::ExportSession(view, std::move(options)).Export(window.Session());
  window.cmdExport->setEnabled(true);
}

}  // namespace tarnwick::gui
