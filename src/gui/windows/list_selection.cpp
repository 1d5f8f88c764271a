#include "gui/windows/list_selection.h"

#include <QListWidget>

namespace tarnwick::gui {

int SelectedPosition(const QListWidget& list) {
  const QList<QListWidgetItem*> selected = list.selectedItems();
  return selected.isEmpty() ? -1 : list.row(selected.constFirst());
}

void SelectPosition(QListWidget& list, int position) {
  if (position < 0 || position >= list.count()) {
    list.clearSelection();
    list.setCurrentRow(-1);
    return;
  }
  list.setCurrentRow(position);
}

}  // namespace tarnwick::gui
