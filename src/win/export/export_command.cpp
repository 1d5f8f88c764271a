#include "win/export/export_command.h"

#include <memory>
#include <string>

#include "app/common/throttled_pump.h"
#include "app/export/export_session.h"
#include "core/common/ui_hooks.h"
#include "win/common/message_loop.h"
#include "win/common/prompts.h"
#include "win/controls/status_bar.h"
#include "win/export/progress_window.h"
#include "win/scan/frm_scan.h"
#include "win/scan/scan_globals.h"

namespace tarnwick::win {
namespace {

const platform::FileSource* gExportFileSource = nullptr;

// The export as the scan window shows it: questions over the window (or over the progress window
// while one is on screen), a progress window per run, texts in the status bar.
class WindowExportView final : public app::ExportView {
 public:
  explicit WindowExportView(frmScan& window)
      : window_(window), answers_([this] { return questionOwner(); }) {}

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
    progress_ = std::make_unique<ProgressWindow>(window_.hWnd(), std::string(title), filesTotal,
                                                 stop.Flag());
  }
  void Update(const app::RunProgress& p) override {
    if (progress_)
      progress_->Update(p.filesDone, p.filesTotal, p.bytesDone, p.bytesTotal);
  }
  void Close() override { progress_.reset(); }
  // Writes a progress text into the scan window's status bar and lets the window repaint.
  void ShowStatus(const std::string& text) override {
    SetStatusText(ghStatusBar, 0, SBT_SUNKEN, text);
    PumpPending();
  }

 private:
  HWND questionOwner() const { return progress_ ? progress_->QuestionOwner() : window_.hWnd(); }

  frmScan& window_;
  PromptAnswerer answers_;
  std::unique_ptr<ProgressWindow> progress_;
};

}  // namespace

void InstallExportCommand() {
  // Messages run at the engine's yield points, at most as often as the app layer's pump rule
  // lets them (the same rule as the Qt program's).
  SetPumpHook(app::ThrottledPump([] { PumpPending(); }));
  frmScan::SetExportCommand(&cmdExport_Click);
}

void SetExportFileSource(const platform::FileSource* files) {
  gExportFileSource = files;
}

void cmdExport_Click(frmScan& window) {
  EnableWindow(window.cmdExport, FALSE);
  WindowExportView view(window);
  app::ExportOptions options;
  options.files = gExportFileSource;
  app::ExportSession(view, std::move(options)).Export(window.Session());
  EnableWindow(window.cmdExport, TRUE);
}

}  // namespace tarnwick::win
