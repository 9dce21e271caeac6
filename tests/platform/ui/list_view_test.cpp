#include <gtest/gtest.h>

#include <QAbstractItemView>

#include <atomic>
#include <thread>
#include <utility>

#include "platform/text/errors.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/list_view.h"
#include "platform/ui/ui_internal.h"
#include "support/expect_error.h"
#include "support/window_test.h"

namespace orlu {
namespace {

using Texts = std::vector<std::string>;
const std::string kFailed = "\xCA\xA7\xB0\xDC";  // GBK bytes, as the lists hold them

std::vector<ListRow> MakeRows(int count, const std::string& tag) {
  std::vector<ListRow> rows;
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    rows.push_back({std::to_string(i + 1), {tag + n + ".com", std::to_string(i * 7), kFailed}});
  }
  return rows;
}

class Lists : public ::testing::Test {
 protected:
  Lists() { list.SetColumns({{"ID", 50}, {"\xD3\xF2\xC3\xFB", 100}, {"\xC5\xC5\xC3\xFB", 200}}); }

  Form form;
  ListView list{form};
};

TEST_F(Lists, RowsAddedInOneCallGoAfterTheRowsBefore) {
  list.AddRows(MakeRows(1000, "d"));
  form.Show();
  list.AddRows(MakeRows(2, "e"));
  ASSERT_EQ(list.RowCount(), 1002);
  EXPECT_EQ(list.RowTexts(5), (Texts{"6", "d5.com", "35", kFailed}));
  EXPECT_EQ(list.SubItem(1001, 0), "e1.com");
}

// The view learns of appended rows at their own places: a selected row stays the row it was.
TEST_F(Lists, AppendedRowsReachTheViewAtTheirPlaces) {
  auto* view = static_cast<QAbstractItemView*>(list.Impl()->widget.data());
  std::vector<std::pair<int, int>> inserted;
  QObject::connect(view->model(), &QAbstractItemModel::rowsInserted,
                   [&](const QModelIndex&, int first, int last) { inserted.emplace_back(first, last); });
  list.AddRows(MakeRows(8, "d"));
  form.Show();
  list.SetSelectedIndex(5);
  list.AddRows(MakeRows(3, "e"));
  list.AddRow("12", {"f.com"});
  list.AddRows({});
  EXPECT_EQ(inserted, (std::vector<std::pair<int, int>>{{0, 7}, {8, 10}, {11, 11}}));
  EXPECT_EQ(view->model()->rowCount(), 12);
  EXPECT_EQ(list.SelectedIndex(), 5);
  EXPECT_EQ(view->model()->index(9, 1).data().toString().toStdString(), "e1.com");
}

TEST_F(Lists, IndexChecks) {
  list.AddRow("1", {"a.com"});
  EXPECT_EQ(list.AddRow("2"), 1);
  test::ExpectError<ListIndexError>([&] { list.SubItem(1, 0); }, "List index out of bounds (0)");
  EXPECT_THROW(list.RowCaption(2), ListIndexError);
  EXPECT_THROW(list.RowCaption(-1), ListIndexError);
  EXPECT_THROW(list.SetSubItem(5, 0, "x"), ListIndexError);
  list.SetSubItem(1, 2, "z");  // past the last cell: the gap fills with empty cells
  EXPECT_EQ(list.RowTexts(1), (Texts{"2", "", "", "z"}));

  // As the workers' row store: missing cells read empty, writes to missing rows are dropped.
  ListViewRows rows(list);
  EXPECT_EQ(rows.Cell(7, 0), "");
  rows.SetCell(7, 0, "x");
  rows.SetCell(0, -1, "x");
  rows.WriteCells(1, 3, {"p", "q"});
  EXPECT_EQ(list.RowTexts(1), (Texts{"2", "", "", "z", "p", "q"}));

  std::thread([&] { EXPECT_THROW(list.AddRow("3"), std::logic_error); }).join();
  EXPECT_EQ(list.RowCount(), 2);
}

TEST_F(Lists, ReadsFromWorkersWhileTheWindowThreadWrites) {
  list.AddRows(MakeRows(2000, "w"));
  form.Show();
  std::atomic<bool> stop{false};
  std::atomic<long> reads{0};
  std::atomic<int> bad{0};
  std::vector<std::thread> readers;
  for (int t = 0; t < 4; ++t) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        const int r = static_cast<int>(reads++ * 31 % list.RowCount());
        const std::string cell = list.SubItem(r, 1);
        // Every value ever written to column 2 is a whole number.
        if (cell.empty() || cell.find_first_not_of("0123456789") != std::string::npos) ++bad;
        if (list.RowTexts(r).size() != 4) ++bad;
      }
    });
  }
  for (int round = 0; round < 200; ++round) {
    for (int r = 0; r < 2000; r += 37) list.SetSubItem(r, 1, std::to_string(round * 100000 + r));
    list.AddRow(std::to_string(2001 + round), {"n.com", "5", "z"});
    if (round % 20 == 0) ProcessEventsFor(std::chrono::milliseconds(1));
  }
  stop = true;
  for (auto& t : readers) t.join();
  EXPECT_EQ(bad.load(), 0);
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(list.RowCount(), 2200);
}

TEST_F(Lists, SelectionFromCodeIsReported) {
  list.AddRows(MakeRows(5, "s"));
  std::vector<int> selected;
  list.OnSelect = [&](int row) { selected.push_back(row); };
  list.SetSelectedIndex(3);
  list.SetSelectedIndex(1);
  EXPECT_EQ(list.SelectedRows(), std::vector<int>{1});
  list.SetSelectedIndex(-1);
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_EQ(selected, (std::vector<int>{3, 1, -1}));
  list.SetCheckBoxes(true);
  EXPECT_THROW(list.Checked(9), ListIndexError);
}

// Selecting row -1 clears the whole selection, every row of a multiple one included.
TEST_F(Lists, SelectingNoRowClearsEverySelectedRow) {
  list.AddRows(MakeRows(5, "s"));
  list.SetMultiSelect(true);
  list.SetSelectedIndex(1);
  auto* view = static_cast<QAbstractItemView*>(list.Impl()->widget.data());
  view->selectionModel()->select(view->model()->index(3, 0),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  ASSERT_EQ(list.SelectedRows(), (std::vector<int>{1, 3}));
  list.SetSelectedIndex(-1);
  EXPECT_EQ(list.SelectedRows(), std::vector<int>{});
  EXPECT_EQ(list.SelectedIndex(), -1);
}

}  // namespace
}  // namespace orlu
