// What the scan window does with what the walk reports: a row per match in the result list, the
// folder being entered in the status bar, unreadable folders kept aside, and the window kept
// alive while the walk runs.
#pragma once

#include <QPointer>
#include <QStatusBar>
#include <string>
#include <vector>

#include "core/scan/search.h"

namespace tarnwick::gui {

class clsListView;

// A folder the walk could not read: its path (ending in the separator) and the reason.
struct UnreadableFolder {
  std::string path;
  std::string reason;
};

class ScanSink final : public SearchSink {
 public:
  // `params` is the search record the walk updates (its match count numbers the rows);
  // `decimalSeparator` is the one the Size column uses.
  ScanSink(const SearchParams& params, clsListView& list, QPointer<QStatusBar> statusBar,
           std::vector<UnreadableFolder>& unreadable, std::string decimalSeparator);

  void OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) override;
  void OnEnterFolder(const std::string& path) override;
  void OnUnreadable(const std::string& path, const std::string& reason) override;
  void Yield() override;

 private:
  void showPendingFolder();

  const SearchParams& params_;
  clsListView& list_;
  QPointer<QStatusBar> statusBar_;
  std::vector<UnreadableFolder>& unreadable_;
  std::string decimalSeparator_;
  // The folder last entered. It is painted only when events run, so it is written to the bar
  // then: a walk enters far more folders than the screen can show.
  std::string pendingFolder_;
  bool folderPending_ = false;
};

}  // namespace tarnwick::gui
