#include "gui/controls/list_view.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "gui/controls/list_view_model.h"

namespace tarnwick::gui {
namespace {

constexpr const char* kExStyleProperty = "tarnwickExStyle";
constexpr const char* kFollowBottomProperty = "tarnwickFollowBottom";

std::string_view utf8View(const QByteArray& bytes) {
  return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

Qt::Alignment toAlignment(int format) {
  switch (format & 3) {
    case LVCFMT_RIGHT:
      return Qt::AlignRight;
    case LVCFMT_CENTER:
      return Qt::AlignHCenter;
    default:
      return Qt::AlignLeft;
  }
}

int roundHalfEven(float v) {
  return static_cast<int>(std::nearbyint(v));
}

// Shows the list as the view bits ask: report view is the table with its headers; the other
// views show the rows' first texts only.
void applyView(QTableView* view, ListViewModel* model, int value) {
  const bool report = (value & 3) == LVS_REPORT;
  view->horizontalHeader()->setVisible(report);
  for (int column = 1; column < model->columnCount(); ++column) {
    view->setColumnHidden(column, !report);
  }
  model->setIconKind((value & 3) == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL);
}

void applyExStyle(QTableView* view, std::uint32_t exStyle) {
  view->setShowGrid((exStyle & LVS_EX_GRIDLINES) != 0);
  view->setSelectionBehavior((exStyle & LVS_EX_FULLROWSELECT) != 0
                                 ? QAbstractItemView::SelectRows
                                 : QAbstractItemView::SelectItems);
}

}  // namespace

bool clsListView::Init(QWidget* parent) {
  if (parent == nullptr) {
    mhWnd = nullptr;
    return false;
  }
  auto* view = new QTableView(parent);
  auto* model = new ListViewModel(view);
  view->setObjectName(QStringLiteral("ListView"));
  view->setModel(model);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setTabKeyNavigation(false);
  view->setWordWrap(false);
  view->setCornerButtonEnabled(false);
  view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view->setIconSize(QSize(clsImgList::kIconSize, clsImgList::kIconSize));
  // One line per row, all rows the same height, no row headers: a plain report list.
  QHeaderView* rows = view->verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  const int rowHeight = view->fontMetrics().height() + 4;
  rows->setMinimumSectionSize(rowHeight);
  rows->setDefaultSectionSize(rowHeight);
  QHeaderView* columns = view->horizontalHeader();
  columns->setHighlightSections(false);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  columns->setStretchLastSection(false);
  view->setProperty(kExStyleProperty, 0u);
  applyExStyle(view, 0);
  applyView(view, model, LVS_ICON);
  // Scrolling to the bottom sticks until the user scrolls: when the view's layout settles
  // afterwards (a horizontal scroll bar appearing takes a row's height), the last row stays in
  // sight.
  QScrollBar* scroll = view->verticalScrollBar();
  QObject::connect(model, &ListViewModel::scrollToBottomRequested, view, [view, scroll] {
    view->setProperty(kFollowBottomProperty, true);
    view->scrollToBottom();
  });
  QObject::connect(scroll, &QScrollBar::rangeChanged, view, [view, scroll](int, int max) {
    if (view->property(kFollowBottomProperty).toBool())
      scroll->setValue(max);
  });
  QObject::connect(scroll, &QScrollBar::actionTriggered, view,
                   [view] { view->setProperty(kFollowBottomProperty, false); });
  view->setGeometry(0, 0, 200, 100);
  view->show();
  mhWnd = view;
  return true;
}

ListViewModel* clsListView::model() const {
  return mhWnd ? static_cast<ListViewModel*>(mhWnd->model()) : nullptr;
}

void clsListView::Move(float left, float top, float width, float height) {
  if (!mhWnd)
    return;
  mhWnd->setGeometry(roundHalfEven(left), roundHalfEven(top), roundHalfEven(width),
                     roundHalfEven(height));
}

void clsListView::ScrollBottom() {
  if (ListViewModel* m = model())
    m->requestScrollToBottom();
}

int clsListView::ListCount() const {
  const ListViewModel* m = model();
  return m != nullptr ? m->storedRowCount() : 0;
}

int clsListView::ItemAdd(int index, const QString& text, int indent, int image) {
  return ItemAddUtf8(index, utf8View(text.toUtf8()), indent, image);
}

int clsListView::ItemAddUtf8(int index, std::string_view text, int indent, int image) {
  ListViewModel* m = model();
  if (m == nullptr)
    return -1;
  return m->insertRow(
      index, text,
      CellStore::RowInfo{static_cast<std::int32_t>(index), static_cast<std::int16_t>(image),
                         static_cast<std::int16_t>(indent)});
}

QString clsListView::SubItemText(int row, int column) const {
  const std::string bytes = SubItemUtf8(row, column);
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string clsListView::SubItemUtf8(int row, int column) const {
  const ListViewModel* m = model();
  if (m == nullptr)
    return {};
  return std::string(m->cell(row, column));
}

void clsListView::SubItemText(int row, int column, const QString& text) {
  SubItemUtf8(row, column, utf8View(text.toUtf8()));
}

void clsListView::SubItemUtf8(int row, int column, std::string_view text) {
  if (ListViewModel* m = model())
    m->setCell(row, column, text);
}

int clsListView::ItemData(int row) const {
  const ListViewModel* m = model();
  if (m == nullptr || row < 0 || row >= m->storedRowCount())
    return 0;
  return m->rowInfo(row).itemData;
}

int clsListView::ItemImage(int row) const {
  const ListViewModel* m = model();
  if (m == nullptr || row < 0 || row >= m->storedRowCount())
    return 0;
  return m->rowInfo(row).image;
}

void clsListView::AutoSizeColumn(int column) {
  ListViewModel* m = model();
  if (m == nullptr)
    return;
  m->publishPending();
  mhWnd->resizeColumnToContents(column);
}

void clsListView::SetExStyle(std::uint32_t bit, bool on) {
  if (on) {
    mlExStyle |= bit;
  } else {
    mlExStyle &= ~bit;
  }
  if (!mhWnd)
    return;
  const std::uint32_t current = mhWnd->property(kExStyleProperty).toUInt();
  const std::uint32_t next = on ? (current | bit) : (current & ~bit);
  mhWnd->setProperty(kExStyleProperty, next);
  applyExStyle(mhWnd, next);
}

void clsListView::ColumnAdd(const QString& caption, int width, int alignment) {
  const int at = mlColumnCount;
  ++mlColumnCount;
  ListViewModel* m = model();
  if (m == nullptr)
    return;
  m->insertColumn(at, caption, toAlignment(alignment));
  const int inserted = std::min(at, m->columnCount() - 1);
  mhWnd->setColumnWidth(inserted, width);
  applyView(mhWnd, m, mlView);
}

void clsListView::ImageList(int kind, const clsImgList& images) {
  if (ListViewModel* m = model())
    m->setImageList(kind, images.hWnd());
}

void clsListView::Visible(bool on) {
  if (mhWnd)
    mhWnd->setVisible(on);
}

void clsListView::View(int value) {
  mlView = value;
  if (ListViewModel* m = model())
    applyView(mhWnd, m, value);
}

void clsListView::Clear() {
  if (ListViewModel* m = model())
    m->clearRows();
}

}  // namespace tarnwick::gui
