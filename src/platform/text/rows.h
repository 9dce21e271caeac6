// The rows of a result list: one row type (a caption and the cells of the
// further columns) and one interface over a list of rows, served by the
// report list of a window or by plain memory.
//
// Threads: RowCount and Cell may be called from any thread; every other call
// belongs to the window thread (or to the one thread that owns the rows).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/text/gbk.h"

namespace orlu {

// One row: the caption (column 0) and the cells of columns 1, 2, ...
struct ListRow {
  std::string caption;
  std::vector<std::string> cells;
};

class RowStore {
 public:
  virtual ~RowStore() = default;

  // Any thread.
  virtual int RowCount() const = 0;
  // Cell `cell` of `row` (0 is the cell of column 1); empty for a row or
  // cell that does not exist.
  virtual std::string Cell(int row, int cell) const = 0;

  // Appends a row; returns its index (-1 when there is no list to append to).
  virtual int AddRow(const std::string& caption, std::vector<std::string> cells) = 0;
  // Appends many rows in one call.
  virtual void AddRows(std::vector<ListRow> rows) {
    for (ListRow& r : rows) AddRow(r.caption, std::move(r.cells));
  }
  virtual void Clear() = 0;
  // Writes cell `cell` of `row`, adding empty cells up to it; a write to a
  // row that is not there is dropped.
  virtual void SetCell(int row, int cell, const std::string& text) = 0;
  // Cells `firstCell`, `firstCell` + 1, ... of `row`.
  void WriteCells(int row, int firstCell, const std::vector<std::string>& texts) {
    if (row < 0 || row >= RowCount()) return;
    for (size_t k = 0; k < texts.size(); ++k) {
      SetCell(row, firstCell + static_cast<int>(k), texts[k]);
    }
  }

  // Each rebuild of the rows may start a new generation; a worker's answer
  // lands only in rows of the generation it was started for.
  uint64_t Generation() const { return generation_.load(std::memory_order_acquire); }
  uint64_t NewGeneration() { return generation_.fetch_add(1, std::memory_order_acq_rel) + 1; }

 private:
  std::atomic<uint64_t> generation_{0};
};

// Rows held in memory (tests, benchmarks, a job without windows), guarded so
// that workers may read while the owning thread writes.
class MemoryRows : public RowStore {
 public:
  int RowCount() const override {
    std::lock_guard lock(mutex_);
    return static_cast<int>(rows_.size());
  }
  std::string Cell(int row, int cell) const override {
    std::lock_guard lock(mutex_);
    if (row < 0 || row >= static_cast<int>(rows_.size()) || cell < 0) return {};
    const auto& cells = rows_[static_cast<size_t>(row)].cells;
    return static_cast<size_t>(cell) < cells.size() ? cells[static_cast<size_t>(cell)]
                                                    : std::string();
  }
  int AddRow(const std::string& caption, std::vector<std::string> cells) override {
    std::lock_guard lock(mutex_);
    rows_.push_back(ListRow{caption, std::move(cells)});
    return static_cast<int>(rows_.size()) - 1;
  }
  void AddRows(std::vector<ListRow> rows) override {
    std::lock_guard lock(mutex_);
    if (rows_.empty()) {
      rows_ = std::move(rows);
    } else {
      for (ListRow& r : rows) rows_.push_back(std::move(r));
    }
  }
  void Clear() override {
    std::lock_guard lock(mutex_);
    rows_.clear();
  }
  void SetCell(int row, int cell, const std::string& text) override {
    std::lock_guard lock(mutex_);
    if (row < 0 || row >= static_cast<int>(rows_.size()) || cell < 0) return;
    auto& cells = rows_[static_cast<size_t>(row)].cells;
    if (static_cast<size_t>(cell) >= cells.size()) cells.resize(static_cast<size_t>(cell) + 1);
    cells[static_cast<size_t>(cell)] = text;
  }

  // A copy of row `row`; an empty row when it does not exist.
  ListRow Row(int row) const {
    std::lock_guard lock(mutex_);
    if (row < 0 || row >= static_cast<int>(rows_.size())) return {};
    return rows_[static_cast<size_t>(row)];
  }

 private:
  mutable std::mutex mutex_;
  std::vector<ListRow> rows_;
};

// A row per line of a domain list, captioned 1, 2, ...: the line trimmed,
// then " " up to `cellCount` cells. A last line empty once trimmed (the
// list's closing line break) makes no row.
inline std::vector<ListRow> DomainListRows(const std::vector<std::string>& lines, size_t cellCount) {
  std::vector<ListRow> rows;
  rows.reserve(lines.size());
  const size_t n = lines.size();
  for (size_t i = 0; i < n; ++i) {
    std::string domain = Trim(lines[i]);
    if (i + 1 == n && domain.empty()) break;
    ListRow row;
    row.caption = std::to_string(i + 1);
    row.cells.reserve(cellCount);
    row.cells.push_back(std::move(domain));
    row.cells.resize(cellCount, " ");
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace orlu
