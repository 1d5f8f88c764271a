#include "gui/scan/scan_view.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>

#include "gui/controls/list_view.h"
#include "gui/controls/status_bar.h"

namespace tarnwick::gui {

void ScanListView::OnRow(std::size_t index, const app::ScanRow& row, const std::string& sizeText) {
  const auto at = static_cast<int>(std::min<std::size_t>(index, INT_MAX));
  const int added = list_.ItemAddUtf8(at, row.name, 0, 0);
  list_.SubItemUtf8(added, 1, row.folder);
  list_.SubItemUtf8(added, 2, sizeText);
  list_.ScrollBottom();
}

void ScanListView::OnStatus(const std::string& text) {
  SetStatusText(statusBar_, 0, SBT_SUNKEN,
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void ScanListView::Yield() {
  QCoreApplication::processEvents();
}

}  // namespace tarnwick::gui
