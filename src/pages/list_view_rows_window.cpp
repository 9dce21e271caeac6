#include "pages/list_view_rows.h"

#include <vector>

#include "pages/result_rows.h"
#include "platform/ui/controls.h"
#include "platform/ui/list_view.h"

namespace orlu {

namespace {

std::vector<std::string> ColumnCaptions(const ListView& list) {
  std::vector<std::string> columns;
  int count = list.ColumnCount();
  columns.reserve(static_cast<std::size_t>(count));
  for (int c = 0; c < count; ++c) columns.push_back(list.ColumnCaption(c));
  return columns;
}

}  // namespace

void ShowListViewItem(ListView& list, Memo& memo) {
  int row = list.SelectedIndex();
  if (row < 0) return;
  // The row's caption, then its cells.
  const std::vector<std::string> texts = list.RowTexts(row);
  const std::vector<std::string> cells(texts.begin() + 1, texts.end());
  memo.Add(RowDisplayLine(ColumnCaptions(list), texts.front(), cells));
}

void ExportListViewCsv(const std::string& fileName, ListView& list) {
  CsvBuilder csv(ColumnCaptions(list));
  int rows = list.RowCount();
  for (int r = 0; r < rows; ++r) csv.AddRowTexts(list.RowTexts(r));
  WriteCsvFile(fileName, csv.Bytes());
}

}  // namespace orlu
