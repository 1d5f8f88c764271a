#include "gui/scan/scan_sink.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>

#include "core/scan/format_size.h"
#include "gui/controls/list_view.h"
#include "gui/controls/status_bar.h"

namespace tarnwick::gui {

ScanSink::ScanSink(const SearchParams& params, clsListView& list, QPointer<QStatusBar> statusBar,
                   std::vector<UnreadableFolder>& unreadable, std::string decimalSeparator)
    : params_(params),
      list_(list),
      statusBar_(std::move(statusBar)),
      unreadable_(unreadable),
      decimalSeparator_(std::move(decimalSeparator)) {}

void ScanSink::OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) {
  // The row asks for the new match count as its index: always past the last row, so appended.
  const auto index = static_cast<int>(std::min<std::int64_t>(params_.MatchCount, INT_MAX));
  const int row = list_.ItemAddUtf8(index, name, 0, 0);
  list_.SubItemUtf8(row, 1, folder);
  list_.SubItemUtf8(row, 2, FormatSize(size, decimalSeparator_));
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
  showPendingFolder();
  QCoreApplication::processEvents();
}

void ScanSink::showPendingFolder() {
  if (!folderPending_)
    return;
  folderPending_ = false;
  SetStatusText(
      statusBar_, 0, SBT_SUNKEN,
      QString::fromUtf8(pendingFolder_.data(), static_cast<qsizetype>(pendingFolder_.size())));
}

}  // namespace tarnwick::gui
