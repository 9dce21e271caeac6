// The report list: a row store guarded for readers on any thread, a table
// model over it, and a tree view drawn as a flat list with optional grid.
#include "platform/ui/list_view.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeView>

#include <mutex>
#include <shared_mutex>
#include <stdexcept>

#include "platform/text/errors.h"
#include "platform/thread/dispatcher.h"
#include "platform/thread/write_first_lock.h"
#include "platform/ui/application.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

void RequireWindowThread() {
  if (CurrentDispatcher() != nullptr && !OnWindowThread()) {
    throw std::logic_error("a list view is changed only on the window thread");
  }
}

class RowModel : public QAbstractTableModel {
 public:
  // Workers read while the window thread writes; a waiting write goes ahead
  // of new reads, so busy workers cannot hold the window thread up.
  mutable WriteFirstLock mu;
  std::vector<ListColumn> columns;
  std::vector<ListRow> rows;
  std::vector<char> checked;
  bool checkBoxes = false;

  // Row `row`, or ListIndexError; the caller holds `mu`.
  ListRow& At(int row) {
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) throw ListIndexError(row);
    return rows[static_cast<size_t>(row)];
  }
  const ListRow& At(int row) const { return const_cast<RowModel*>(this)->At(row); }

  int rowCount(const QModelIndex& parent) const override {
    if (parent.isValid()) return 0;
    std::shared_lock lock(mu);
    return static_cast<int>(rows.size());
  }

  int columnCount(const QModelIndex& parent) const override {
    if (parent.isValid()) return 0;
    std::shared_lock lock(mu);
    return static_cast<int>(columns.size());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const auto r = static_cast<size_t>(index.row());
    const int c = index.column();
    if (role == Qt::DisplayRole) {
      std::string text;
      {
        std::shared_lock lock(mu);
        if (r >= rows.size()) return {};
        const ListRow& row = rows[r];
        if (c == 0) {
          text = row.caption;
        } else if (static_cast<size_t>(c - 1) < row.cells.size()) {
          text = row.cells[static_cast<size_t>(c - 1)];
        }
      }
      return ToQ(text);
    }
    if (role == Qt::CheckStateRole && c == 0 && checkBoxes) {
      std::shared_lock lock(mu);
      if (r >= checked.size()) return {};
      return checked[r] != 0 ? Qt::Checked : Qt::Unchecked;
    }
    return {};
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::CheckStateRole || index.column() != 0) return false;
    {
      std::unique_lock lock(mu);
      const auto r = static_cast<size_t>(index.row());
      if (r >= checked.size()) return false;
      checked[r] = value.toInt() == Qt::Checked ? 1 : 0;
    }
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (checkBoxes && index.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    std::string caption;
    {
      std::shared_lock lock(mu);
      if (section < 0 || static_cast<size_t>(section) >= columns.size()) return {};
      caption = columns[static_cast<size_t>(section)].caption;
    }
    return ToQ(caption);
  }

  void CellChanged(int row, int column) {
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
  }
  void RowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, std::max(0, columnCount({}) - 1)),
                     {Qt::DisplayRole});
  }
  void BeginInsert(int first, int last) { beginInsertRows({}, first, last); }
  void EndInsert() { endInsertRows(); }
  void BeginReset() { beginResetModel(); }
  void EndReset() { endResetModel(); }
  void BeginInsertColumn(int first, int last) { beginInsertColumns({}, first, last); }
  void EndInsertColumn() { endInsertColumns(); }
};

class GridDelegate : public QStyledItemDelegate {
 public:
  bool grid = false;
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    if (!grid) return;
    painter->save();
    painter->setPen(QColor(0xD0, 0xD0, 0xD0));
    const QRect r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
  }
};

// A header whose items may be drawn by the list's handler.
class OwnerHeader : public QHeaderView {
 public:
  ListView* list = nullptr;
  std::vector<bool> ownerDrawn;
  OwnerHeader() : QHeaderView(Qt::Horizontal) {}

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logical) const override {
    // The style may leave a clip behind; the handler draws on a clean state.
    painter->save();
    QHeaderView::paintSection(painter, rect, logical);
    painter->restore();
    if (list == nullptr || !list->OnDrawHeaderItem || logical < 0 ||
        static_cast<size_t>(logical) >= ownerDrawn.size() || !ownerDrawn[logical]) {
      return;
    }
    Canvas canvas(*painter);
    const Rect r{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    const auto handler = list->OnDrawHeaderItem;
    Application::GuardedRun([&] { handler(canvas, logical, r); });
  }
};

struct ListViewImpl : ControlImpl {
  RowModel* model = nullptr;
  QPointer<QTreeView> view;
  GridDelegate* delegate = nullptr;
  OwnerHeader* header = nullptr;
};

std::unique_ptr<ControlImpl> NewListView() {
  auto impl = std::make_unique<ListViewImpl>();
  auto* view = new QTreeView;
  impl->model = new RowModel;
  impl->model->setParent(view);
  impl->delegate = new GridDelegate(view);
  view->setModel(impl->model);
  view->setItemDelegate(impl->delegate);
  view->setRootIsDecorated(false);
  view->setItemsExpandable(false);
  view->setUniformRowHeights(true);
  view->setAllColumnsShowFocus(true);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSortingEnabled(false);
  impl->header = new OwnerHeader;
  view->setHeader(impl->header);
  view->header()->setStretchLastSection(false);
  view->header()->setSectionsMovable(false);
  view->header()->setSectionsClickable(false);
  impl->view = view;
  impl->widget = view;
  impl->input = view->viewport();
  impl->clickFromMouse = true;
  return impl;
}

ListViewImpl* Li(const ListView* lv) { return static_cast<ListViewImpl*>(lv->Impl()); }

}  // namespace

ListView::ListView(Container& parent) : Control(&parent, NewListView()) {
  SetBounds(0, 0, 250, 150);
  ListViewImpl* impl = Li(this);
  impl->header->list = this;
  QObject::connect(impl->view->selectionModel(), &QItemSelectionModel::selectionChanged,
                   impl->view, [this] {
                     if (!OnSelect) return;
                     const int row = SelectedIndex();
                     Fire([this, row] { OnSelect(row); });
                   });
}

ListView::~ListView() {
  ListViewImpl* impl = Li(this);
  if (impl->view) QObject::disconnect(impl->view->selectionModel(), nullptr, impl->view, nullptr);
}

void ListView::SetColumns(const std::vector<ListColumn>& columns) {
  RequireWindowThread();
  ListViewImpl* impl = Li(this);
  impl->model->BeginReset();
  {
    std::unique_lock lock(impl->model->mu);
    impl->model->columns = columns;
  }
  impl->model->EndReset();
  for (size_t i = 0; i < columns.size(); ++i) {
    impl->view->header()->resizeSection(static_cast<int>(i), columns[i].width);
  }
  impl->header->ownerDrawn.assign(columns.size(), false);
  impl->header->viewport()->update();
}

void ListView::SetHeaderItemOwnerDraw(int column, bool ownerDraw) {
  OwnerHeader* header = Li(this)->header;
  if (column < 0 || static_cast<size_t>(column) >= header->ownerDrawn.size()) return;
  header->ownerDrawn[static_cast<size_t>(column)] = ownerDraw;
  header->viewport()->update();
}

Rect ListView::HeaderItemRect(int column) const {
  const OwnerHeader* header = Li(this)->header;
  if (column < 0 || column >= ColumnCount()) return {};
  const int left = header->sectionViewportPosition(column);
  return Rect{left, 0, left + header->sectionSize(column), header->height()};
}

int ListView::ColumnCount() const {
  std::shared_lock lock(Li(this)->model->mu);
  return static_cast<int>(Li(this)->model->columns.size());
}

std::string ListView::ColumnCaption(int column) const {
  std::shared_lock lock(Li(this)->model->mu);
  const auto& cols = Li(this)->model->columns;
  if (column < 0 || static_cast<size_t>(column) >= cols.size()) return {};
  return cols[static_cast<size_t>(column)].caption;
}

int ListView::ColumnWidth(int column) const {
  if (column < 0 || column >= ColumnCount()) return 0;
  return Li(this)->view->header()->sectionSize(column);
}

int ListView::RowCount() const {
  std::shared_lock lock(Li(this)->model->mu);
  return static_cast<int>(Li(this)->model->rows.size());
}

int ListView::AddRow(const std::string& caption, std::vector<std::string> cells) {
  RequireWindowThread();
  RowModel* m = Li(this)->model;
  const int index = RowCount();
  m->BeginInsert(index, index);
  {
    std::unique_lock lock(m->mu);
    m->rows.push_back(ListRow{caption, std::move(cells)});
    m->checked.push_back(0);
  }
  m->EndInsert();
  return index;
}

void ListView::AddRows(std::vector<ListRow> rows) {
  RequireWindowThread();
  if (rows.empty()) return;
  RowModel* m = Li(this)->model;
  const int first = RowCount();
  const int last = first + static_cast<int>(rows.size()) - 1;
  m->BeginInsert(first, last);
  {
    std::unique_lock lock(m->mu);
    if (m->rows.empty()) {
      m->rows = std::move(rows);
    } else {
      m->rows.reserve(m->rows.size() + rows.size());
      for (auto& r : rows) m->rows.push_back(std::move(r));
    }
    m->checked.resize(m->rows.size(), 0);
  }
  m->EndInsert();
}

void ListView::Clear() {
  RequireWindowThread();
  RowModel* m = Li(this)->model;
  m->BeginReset();
  {
    std::unique_lock lock(m->mu);
    std::vector<ListRow>().swap(m->rows);
    std::vector<char>().swap(m->checked);
  }
  m->EndReset();
}

std::string ListView::RowCaption(int row) const {
  RowModel* m = Li(this)->model;
  std::shared_lock lock(m->mu);
  return m->At(row).caption;
}

std::string ListView::SubItem(int row, int index) const {
  RowModel* m = Li(this)->model;
  std::shared_lock lock(m->mu);
  const auto& cells = m->At(row).cells;
  if (index < 0 || static_cast<size_t>(index) >= cells.size()) throw ListIndexError(index);
  return cells[static_cast<size_t>(index)];
}

std::vector<std::string> ListView::RowTexts(int row) const {
  RowModel* m = Li(this)->model;
  std::shared_lock lock(m->mu);
  const ListRow& r = m->At(row);
  std::vector<std::string> out;
  out.reserve(r.cells.size() + 1);
  out.push_back(r.caption);
  out.insert(out.end(), r.cells.begin(), r.cells.end());
  return out;
}

void ListView::SetSubItem(int row, int index, const std::string& text) {
  RequireWindowThread();
  RowModel* m = Li(this)->model;
  {
    std::unique_lock lock(m->mu);
    auto& cells = m->At(row).cells;
    if (index < 0) throw ListIndexError(index);
    if (static_cast<size_t>(index) >= cells.size()) cells.resize(static_cast<size_t>(index) + 1);
    cells[static_cast<size_t>(index)] = text;
  }
  m->CellChanged(row, index + 1);
}

int ListView::SelectedIndex() const {
  QTreeView* view = Li(this)->view;
  QItemSelectionModel* sel = view->selectionModel();
  const QModelIndex current = sel->currentIndex();
  if (current.isValid() && sel->isRowSelected(current.row(), {})) return current.row();
  const QModelIndexList rows = sel->selectedRows();
  if (rows.isEmpty()) return -1;
  int best = rows.first().row();
  for (const QModelIndex& i : rows) best = std::min(best, i.row());
  return best;
}

void ListView::SetSelectedIndex(int row) {
  QTreeView* view = Li(this)->view;
  QItemSelectionModel* sel = view->selectionModel();
  if (row < 0 || row >= RowCount()) {
    sel->clearSelection();
    sel->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
    return;
  }
  sel->setCurrentIndex(Li(this)->model->index(row, 0),
                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

std::vector<int> ListView::SelectedRows() const {
  std::vector<int> out;
  for (const QModelIndex& i : Li(this)->view->selectionModel()->selectedRows()) {
    out.push_back(i.row());
  }
  std::sort(out.begin(), out.end());
  return out;
}

void ListView::SetMultiSelect(bool multi) {
  Li(this)->view->setSelectionMode(multi ? QAbstractItemView::ExtendedSelection
                                         : QAbstractItemView::SingleSelection);
}

void ListView::SetRowSelect(bool wholeRow) { Li(this)->view->setAllColumnsShowFocus(wholeRow); }

void ListView::SetGridLines(bool gridLines) {
  Li(this)->delegate->grid = gridLines;
  Li(this)->view->viewport()->update();
}

void ListView::ScrollToRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  Li(this)->view->scrollTo(Li(this)->model->index(row, 0));
}

void ListView::SetCheckBoxes(bool show) {
  RowModel* m = Li(this)->model;
  m->BeginReset();
  {
    std::unique_lock lock(m->mu);
    m->checkBoxes = show;
  }
  m->EndReset();
}

bool ListView::Checked(int row) const {
  RowModel* m = Li(this)->model;
  std::shared_lock lock(m->mu);
  if (row < 0 || static_cast<size_t>(row) >= m->checked.size()) throw ListIndexError(row);
  return m->checked[static_cast<size_t>(row)] != 0;
}

void ListView::SetChecked(int row, bool checked) {
  RequireWindowThread();
  RowModel* m = Li(this)->model;
  {
    std::unique_lock lock(m->mu);
    if (row < 0 || static_cast<size_t>(row) >= m->checked.size()) throw ListIndexError(row);
    m->checked[static_cast<size_t>(row)] = checked ? 1 : 0;
  }
  const QModelIndex i = m->index(row, 0);
  emit m->dataChanged(i, i, {Qt::CheckStateRole});
}

// --- As a row store ---

std::string ListViewRows::Cell(int row, int cell) const {
  try {
    return list_.SubItem(row, cell);
  } catch (const ListIndexError&) {
    return "";
  }
}

void ListViewRows::SetCell(int row, int cell, const std::string& text) {
  if (row < 0 || row >= list_.RowCount() || cell < 0) return;
  list_.SetSubItem(row, cell, text);
}

}  // namespace orlu
