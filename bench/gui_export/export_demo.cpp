// Opens the scan window on a folder with the export command installed, so that a scan and its
// export can be run and looked at by hand (or driven with xdotool on a virtual display).
//
//   tarnwick-gui-export-demo FOLDER [PATTERNS]              the real dialogs
//   tarnwick-gui-export-demo FOLDER PATTERNS --time ARCHIVE  measures the export
//
// PATTERNS are joined with ";" (default "*"); both exclusion switches are off. With --time every
// question is answered at once (the save dialog with ARCHIVE), the window's export is timed, then
// the same files are archived by the engine alone, without a window, into ARCHIVE.bare.zip;
// both times go to stdout as "name seconds" lines and the program ends.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "core/common/ui_hooks.h"
#include "core/export/cgzip_files.h"
#include "core/scan/search_state.h"
#include "gui/common/prompts.h"
#include "gui/export/export_command.h"
#include "gui/scan/frm_scan.h"

using namespace tarnwick;
using namespace tarnwick::gui;

namespace {

class AnswerAll final : public Prompts {
 public:
  explicit AnswerAll(QString archive) : archive_(std::move(archive)) {}
  PromptAnswer Message(QWidget*, const MessageRequest& r) override {
    std::cout << "message " << r.text.left(120).toStdString() << "\n";
    return r.buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
  }
  std::optional<QString> SaveFile(QWidget*, const SaveFileRequest&) override { return archive_; }
  std::optional<QString> BrowseFolder(QWidget*, const QString&, const QString&) override {
    return {};
  }

 private:
  QString archive_;
};

double timeBareEngine(const frmScan& window, const std::string& archive) {
  QElapsedTimer clock;
  clock.start();
  CGZipFiles zip;
  zip.SetZipFileName(archive);
  for (int row = 0; row < window.mList->ListCount(); ++row)
    zip.AddFile(window.mList->SubItemUtf8(row, 1) + window.mList->SubItemUtf8(row, 0));
  zip.MakeZipFile();
  return static_cast<double>(clock.elapsed()) / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::cerr << "usage: tarnwick-gui-export-demo FOLDER [PATTERNS] [--time ARCHIVE]\n";
    return 2;
  }
  std::string folder = argv[1];
  if (folder.back() != '/')
    folder += '/';
  gSearch = {};
  gSearch.Recurse = true;
  gSearch.Pattern = argc > 2 ? argv[2] : "*";
  gRootFolder = folder;
  const bool timed = argc > 4 && std::strcmp(argv[3], "--time") == 0;
  const std::string archive = timed ? argv[4] : "";
  AnswerAll answers(QString::fromStdString(archive));
  if (timed)
    InstallPrompts(&answers);
  InstallExportCommand();

  frmScan window;
  QTimer poll;
  if (timed) {
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (!window.cmdExport->isVisible() || window.mbExporting)
        return;
      poll.stop();
      QElapsedTimer clock;
      clock.start();
      window.cmdExport->click();
      std::cout << "window_export_s " << static_cast<double>(clock.elapsed()) / 1000.0 << "\n";
      SetPumpHook({});
      std::cout << "bare_engine_s " << timeBareEngine(window, archive + ".bare.zip") << "\n";
      window.mbSaved = true;
      window.close();
    });
    poll.start(50);
  }
  window.exec();
  return 0;
}
