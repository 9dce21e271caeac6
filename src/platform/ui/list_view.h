// A report-style list: a caption column followed by the row's cells, over a
// row store of our own (a million rows are cheap; fill them in one call).
//
// Threads: reads of rows and cells (RowCount, RowCaption, SubItem, RowTexts,
// ColumnCount, ColumnCaption) are safe from any thread. Every other call,
// writes included, belongs to the window thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/text/rows.h"
#include "platform/ui/canvas.h"
#include "platform/ui/control.h"

namespace orlu {

struct ListColumn {
  std::string caption;
  int width = 50;  // pixels
};

class ListView : public Control {
 public:
  explicit ListView(Container& parent);
  ~ListView() override;

  // Columns.
  void SetColumns(const std::vector<ListColumn>& columns);
  int ColumnCount() const;
  std::string ColumnCaption(int column) const;  // "" when out of range
  int ColumnWidth(int column) const;

  // Rows. Indices are 0-based.
  int RowCount() const;
  // Appends one row and returns its index.
  int AddRow(const std::string& caption, std::vector<std::string> cells = {});
  // Appends many rows in one call (one update of the view).
  void AddRows(std::vector<ListRow> rows);
  void Clear();

  // Reads raise ListIndexError for a row or cell that does not exist.
  std::string RowCaption(int row) const;
  // Cell `index` of a row: 0 is the cell of column 1.
  std::string SubItem(int row, int index) const;
  // The caption followed by the cells.
  std::vector<std::string> RowTexts(int row) const;

  // Writes. SetSubItem on a row with fewer cells adds empty cells up to it.
  void SetSubItem(int row, int index, const std::string& text);

  // Selection: the focused selected row, -1 for none.
  int SelectedIndex() const;
  void SetSelectedIndex(int row);  // -1 clears the selection
  std::vector<int> SelectedRows() const;
  void SetMultiSelect(bool multi);
  void SetRowSelect(bool wholeRow);
  void SetGridLines(bool gridLines);
  void ScrollToRow(int row);

  // A check box in the caption column of every row.
  void SetCheckBoxes(bool show);
  bool Checked(int row) const;
  void SetChecked(int row, bool checked);

  // Header items drawn by OnDrawHeaderItem (after the style has drawn them)
  // instead of by the style alone. SetColumns makes every item plain again.
  void SetHeaderItemOwnerDraw(int column, bool ownerDraw);
  // The header's area of item `item`, in header coordinates.
  std::function<void(Canvas& canvas, int item, const Rect& rect)> OnDrawHeaderItem;
  // The header item's rectangle (empty for a column that is not there).
  Rect HeaderItemRect(int column) const;

  // OnClick (from Control) runs on every mouse click on the list.
  // OnSelect runs when the selected row changes (row, -1 when none).
  std::function<void(int row)> OnSelect;
};

// A list view as a row store: reads from any thread, writes on the window
// thread; a write to a row that is not there is dropped.
class ListViewRows : public RowStore {
 public:
  explicit ListViewRows(ListView& list) : list_(list) {}
  int RowCount() const override { return list_.RowCount(); }
  std::string Cell(int row, int cell) const override;
  int AddRow(const std::string& caption, std::vector<std::string> cells) override {
    return list_.AddRow(caption, std::move(cells));
  }
  void AddRows(std::vector<ListRow> rows) override { list_.AddRows(std::move(rows)); }
  void Clear() override { list_.Clear(); }
  void SetCell(int row, int cell, const std::string& text) override;

 private:
  ListView& list_;
};

}  // namespace orlu
