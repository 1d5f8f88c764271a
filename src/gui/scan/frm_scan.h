// The scan window: runs one scan with live rows and progress as soon as it is shown, writes the
// summary line, then offers the export ("Save to zip file") in place of "Cancel". It refuses to
// close while the scan or an export runs, and asks before closing unsaved results.
//
// The main window fills gSearch and gRootFolder, then opens it modally: frmScan(parent).exec().
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/scan/scan_session.h"
#include "core/scan/search.h"
#include "gui/controls/list_view.h"

class QPushButton;
class QStatusBar;

namespace tarnwick::gui {

class frmScan : public QDialog {
  Q_OBJECT
 public:
  // What "Save to zip file" runs. It finds the rows in mList (ListCount, and per row the Path
  // and Filename texts; SubItemUtf8 gives their exact bytes), disables cmdExport and sets
  // mbExporting while it runs, and sets mbSaved once the user has confirmed where to save.
  using ExportCommand = std::function<void(frmScan&)>;
  // Installs the export command for every scan window opened afterwards (empty: none, and the
  // button stays disabled).
  static void SetExportCommand(ExportCommand command);

  explicit frmScan(QWidget* parent = nullptr);
  ~frmScan() override;

  // The result list: created when the window is made, released when it closes.
  std::unique_ptr<clsListView> mList;
  // What the window does: the scan, its questions and the close rules; its rows.
  app::ScanSession& Session();

 private:
  class WindowSession;
  std::unique_ptr<WindowSession> mSession;

 public:
  // True while the export command runs: the window refuses to close.
  bool& mbExporting;
  // True once the export command has saved the current results: the window closes unasked.
  bool& mbSaved;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdExport = nullptr;

  // Folders the scan could not read, in the order met.
  const std::vector<app::UnreadableFolder>& UnreadableFolders() const;

 protected:
  void showEvent(QShowEvent* event) override;
  // Every way of closing (the close button, Escape) comes here.
  void reject() override;
  // Runs the walk; the window's tests replace it to script what the walk reports.
  virtual void RunSearch(SearchParams& params, const std::string& root, SearchSink& sink);

 private:
  void Form_Load();
  void InitListView();
  void Form_Activate();
  void cmdCancel_Click();
  void cmdExport_Click();
  // Whether the window may close now (asks the user when the results are unsaved).
  bool Form_Unload();

  QStatusBar* mStatusBar = nullptr;
  bool mActivated = false;
};

}  // namespace tarnwick::gui
