// What the scan window does with what the walk reports: a row per match in the result list, the
// folder being entered in the status bar, unreadable folders kept aside, and the window kept
// alive while the walk runs.
#pragma once

#include <windows.h>
// An old macro of the Windows headers that would hide SearchSink::Yield.
#undef Yield

#include <string>
#include <vector>

#include "core/scan/search.h"

namespace tarnwick::win {

class clsListView;

// A folder the walk could not read: its path (ending in the separator) and the reason.
struct UnreadableFolder {
  std::string path;
  std::string reason;
};

class ScanSink final : public SearchSink {
 public:
  // `params` is the search record the walk updates (its match count numbers the rows).
  ScanSink(const SearchParams& params, clsListView& list, HWND statusBar,
           std::vector<UnreadableFolder>& unreadable, std::string decimalSeparator);

  void OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) override;
  void OnEnterFolder(const std::string& path) override;
  void OnUnreadable(const std::string& path, const std::string& reason) override;
  // Shows the rows found and the folder last entered, then lets pending messages run.
  void Yield() override;

 private:
  const SearchParams& params_;
  clsListView& list_;
  HWND statusBar_;
  std::vector<UnreadableFolder>& unreadable_;
  std::string decimalSeparator_;
  // The folder last entered: written to the bar only when the window can paint it, since a walk
  // enters far more folders than the screen can show.
  std::string pendingFolder_;
  bool folderPending_ = false;
};

}  // namespace tarnwick::win
