#include "win/scan/scan_sink.h"

#include <algorithm>
#include <climits>

#include "core/scan/format_size.h"
#include "win/common/message_loop.h"
#include "win/controls/list_view.h"
#include "win/controls/status_bar.h"

namespace tarnwick::win {

ScanSink::ScanSink(const SearchParams& params, clsListView& list, HWND statusBar,
                   std::vector<UnreadableFolder>& unreadable, std::string decimalSeparator)
    : params_(params),
      list_(list),
      statusBar_(statusBar),
      unreadable_(unreadable),
      decimalSeparator_(std::move(decimalSeparator)) {}

void ScanSink::OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) {
  // The row asks for the new match count as its index: always past the last row, so appended.
  const auto index = static_cast<int>(std::min<std::int64_t>(params_.MatchCount, INT_MAX));
  const int row = list_.ItemAdd(index, name, 0, 0);
  list_.SubItemText(row, 1, folder);
  list_.SubItemText(row, 2, FormatSize(size, decimalSeparator_));
  list_.ScrollBottom();
}

void ScanSink::OnEnterFolder(const std::string& path) {
  pendingFolder_ = path;
  folderPending_ = true;
}

void ScanSink::OnUnreadable(const std::string& path, const std::string& reason) {
  unreadable_.push_back(UnreadableFolder{path, reason});
}

void ScanSink::Yield() {
  if (folderPending_) {
    folderPending_ = false;
    SetStatusText(statusBar_, 0, SBT_SUNKEN, pendingFolder_);
  }
  list_.Publish();
  PumpPending();
}

}  // namespace tarnwick::win
