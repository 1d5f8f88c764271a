// The scan window's behaviour: one scan with live rows as soon as the window is shown, the cancel
// question, the summary line and "Scanning is complete.", then "Save to zip file" in place of
// "Cancel"; the window refuses to close while the scan or an export runs, and asks before closing
// unsaved results.
//
// Typical use by a front end (the main window has filled gSearch and gRootFolder):
//
//   ScanSession session;               // the window is made: the scan counts as running
//   session.Run(view, answers);        // once the window is on screen
//   ... Cancel pressed:   session.AskCancel(answers);
//   ... close requested:  if (session.MayClose(answers)) close the window;
//
// Run() calls the view on the thread it runs on: a front end that keeps its window alive through
// the engine's yield runs it on the window's thread (the view's Yield() lets events run). One
// whose window must never wait for the walk runs the walk on a thread of its own through a
// BackgroundWalk (background_walk.h), then calls Finish() on the window's thread: the running
// flag is atomic, so AskCancel works from the window's thread all along.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "app/questions/question.h"
#include "app/scan/row_store.h"
#include "core/scan/search.h"
#include "core/scan/search_state.h"

namespace tarnwick::app {

// A folder the walk could not read: its path (ending in the separator) and the reason.
struct UnreadableFolder {
  std::string path;
  std::string reason;
};

// "N matches from a total of M scanned files - SIZE" for the counters of a scan.
std::string SummaryLine(const SearchParams& params, const std::string& decimalSeparator);

// What the scan window shows while the walk runs.
class ScanView {
 public:
  virtual ~ScanView() = default;
  // A row was appended to the session's row store at `index`. `sizeText` is the Size column.
  virtual void OnRow(std::size_t index, const ScanRow& row, const std::string& sizeText) = 0;
  // The status bar's text: the folder last entered (given only when events are about to run,
  // since a walk enters far more folders than a screen can show), then the summary line.
  virtual void OnStatus(const std::string& text) = 0;
  // Time to let the window run (repaint, handle Cancel). Called on a clock, not per entry.
  virtual void Yield() = 0;
};

class ScanSession {
 public:
  // `params` and `running` are the front end's one instance of the scan state (gSearch and
  // gScanning); `rootFolder` the folder to scan (gRootFolder). `decimalSeparator` is the one the
  // Size column and the summary line use. Making the session marks the scan as running and the
  // results as unsaved.
  explicit ScanSession(std::string decimalSeparator = ".", SearchParams& params = gSearch,
                       const std::string& rootFolder = gRootFolder,
                       std::atomic<bool>& running = gScanning);
  virtual ~ScanSession() = default;

  // Runs the walk, shows the summary line, says "Scanning is complete." unless cancelled, then
  // offers the export.
  void Run(ScanView& view, Answerer& answers);
  // What Run() does once the walk is over: the summary line, "Scanning is complete." unless
  // cancelled, then the export is offered.
  void Finish(ScanView& view, Answerer& answers);

  // "Are you sure you want to cancel the scanning process?" Yes stops the walk.
  void AskCancel(Answerer& answers);

  // Whether the window may close now: never while the scan or an export runs; after asking when
  // the results are unsaved.
  bool MayClose(Answerer& answers);

  // The button the window shows: "Cancel" until the walk is over, then "Save to zip file".
  bool ShowsExport() const { return finished_; }
  // Whether "Save to zip file" can be pressed: once shown, and only when the front end has an
  // export to run (SetExportAvailable).
  bool ExportEnabled() const { return finished_ && exportAvailable_; }
  void SetExportAvailable(bool available) { exportAvailable_ = available; }
  bool Scanning() const { return running_.load(); }

  // True while an export of these results runs (the window refuses to close).
  bool mbExporting = false;
  // True once the results were saved (the window closes unasked).
  bool mbSaved = false;

  const RowStore& Rows() const { return rows_; }
  // Folders the scan could not read, in the order met.
  const std::vector<UnreadableFolder>& UnreadableFolders() const { return unreadable_; }
  // "N matches from a total of M scanned files - SIZE".
  std::string SummaryLine() const;
  const std::string& DecimalSeparator() const { return decimalSeparator_; }

 protected:
  // Runs the walk; tests replace it to script what the walk reports.
  virtual void RunSearch(SearchParams& params, const std::string& root, SearchSink& sink);

 private:
  friend class SessionSink;
  friend class BackgroundWalk;
  // Appends a row found by the walk and shows it (OnRow with its Size text).
  void addRow(ScanRow row, ScanView& view);
  std::string decimalSeparator_;
  SearchParams& params_;
  const std::string& rootFolder_;
  std::atomic<bool>& running_;
  RowStore rows_;
  std::vector<UnreadableFolder> unreadable_;
  bool finished_ = false;
  bool exportAvailable_ = false;
};

}  // namespace tarnwick::app
