// The selected position of a single-selection list box: -1 when nothing is selected. (The list's
// current row is not used for this: it can be set by focus alone, with nothing selected.)
#pragma once

class QListWidget;

namespace tarnwick::gui {

int SelectedPosition(const QListWidget& list);
// Selects the entry at `position` (which becomes the current one); -1 selects nothing.
void SelectPosition(QListWidget& list, int position);

}  // namespace tarnwick::gui
