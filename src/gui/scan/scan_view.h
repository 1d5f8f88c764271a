// What the scan window shows of a running scan: each row in the result list, the status bar's
// text, and the window kept alive at the walk's yields.
#pragma once

#include <QPointer>
#include <QStatusBar>

#include "app/scan/scan_session.h"

namespace tarnwick::gui {

class clsListView;

class ScanListView final : public app::ScanView {
 public:
  ScanListView(clsListView& list, QPointer<QStatusBar> statusBar)
      : list_(list), statusBar_(std::move(statusBar)) {}

  void OnRow(std::size_t index, const app::ScanRow& row, const std::string& sizeText) override;
  void OnStatus(const std::string& text) override;
  void Yield() override;

 private:
  clsListView& list_;
  QPointer<QStatusBar> statusBar_;
};

}  // namespace tarnwick::gui
