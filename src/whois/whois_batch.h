// The batch WHOIS query: one result row per line of the domain list, and 24
// worker threads (a small group per registry) that walk the rows, each asking
// only about the domains of its own registry group, five passes over the
// rows, with a pause after every query.
//
// Workers read a snapshot of the domain lines taken when they start and the
// status cell of each row from the row store (safe from any thread); every
// write to a row runs on the window thread through Synchronize. A batch keeps
// its workers, so a new start can stop and join the running ones first.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/thread/thread.h"
#include "whois/whois_lookup.h"

namespace orlu {

// Number of cells of a result row after its caption: the domain, then the
// status cell and the eight fields.
inline constexpr int kWhoisRowCells = 10;
// The status cell of a row, which decides whether the row is asked.
inline constexpr int kWhoisStatusCell = 1;

// One result row: caption (the 1-based line number) and its ten cells.
struct WhoisRow {
  std::string caption;
  std::vector<std::string> cells;
};

// The rows as the workers see them: the list of the WHOIS page, or a plain
// store in tests and benchmarks.
class WhoisRowStore {
 public:
  virtual ~WhoisRowStore() = default;

  // Any thread.
  virtual int RowCount() const = 0;
  // Cell `cell` of `row`; empty for a row or cell that does not exist.
  virtual std::string Cell(int row, int cell) const = 0;

  // Window thread: cells `firstCell`, `firstCell` + 1, ... of an existing row.
  virtual void WriteCells(int row, int firstCell, const std::vector<std::string>& texts) = 0;

  // Each rebuild of the rows starts a new generation; a worker's answer
  // lands only in rows of the generation it was started for.
  uint64_t Generation() const { return generation_.load(std::memory_order_acquire); }
  uint64_t NewGeneration() { return generation_.fetch_add(1, std::memory_order_acq_rel) + 1; }

 private:
  std::atomic<uint64_t> generation_{0};
};

// Settings of the batch workers, built before any window and never saved.
// The pauses are milliseconds.
struct WhoisSettings {
  WhoisRowStore* ListView = nullptr;  // the page's result rows, not owned
  int32_t Passes = 5;
  int32_t CnThreads = 1;
  int32_t CnDelay = 2500;
  int32_t ComThreads = 5;
  int32_t ComDelay = 1000;
  int32_t InfoThreads = 2;
  int32_t InfoDelay = 1000;
  int32_t CcThreads = 3;
  int32_t CcDelay = 1000;
  int32_t OrgThreads = 1;
  int32_t OrgDelay = 3000;
  int32_t TvThreads = 3;
  int32_t TvDelay = 1000;
  int32_t BizThreads = 2;
  int32_t BizDelay = 1000;
  int32_t NameThreads = 3;
  int32_t NameDelay = 1000;
  int32_t MobiThreads = 3;
  int32_t MobiDelay = 1000;
  int32_t OtherThreads = 1;
  int32_t OtherDelay = 1000;

  // By registry group (0 cn family ... 9 other); 0 for a group out of range.
  int32_t ThreadCount(int group) const;
  int32_t Delay(int group) const;
};

extern WhoisSettings WhoisConfig;

// The rows for the lines of the domain list: row i for line i, caption i + 1,
// the line trimmed as typed, then nine " " cells. An empty (or blank) last
// line gets no row; every other line does, empty or not.
std::vector<WhoisRow> BuildWhoisRows(const std::vector<std::string>& lines);

// The lines shared by the workers of one start.
using WhoisLines = std::shared_ptr<const std::vector<std::string>>;

class CWhois : public Thread, public WhoisLookup {
 public:
  // The worker answers for the row generation of WhoisConfig.ListView at
  // the time it is made.
  CWhois(bool createSuspended, WhoisLines lines, int count, int index, uint8_t group);
  ~CWhois() override;

  using WhoisLookup::State;

  WhoisLines Lines;
  int Count;
  int Index;
  std::string Domain;  // the current domain, lower-cased and trimmed
  int Row = 0;         // the current row
  uint64_t Generation;

  // Sleeps the group's pause when the domain belongs to this worker's group
  // (cut short when the worker is told to stop); returns at once otherwise.
  void WhoisPause(const std::string& domain);

  // Row writers, run on the window thread through Synchronize.
  void ShowWhoisRow();
  void ShowSuffixUnsupported();

 protected:
  void Execute() override;
  // Aborts the question in progress so a stop does not wait for a slow
  // server.
  void OnTerminate() override;
};

// The workers of the WHOIS page. Window thread only.
class WhoisBatch {
 public:
  WhoisBatch() = default;
  ~WhoisBatch();
  WhoisBatch(const WhoisBatch&) = delete;
  WhoisBatch& operator=(const WhoisBatch&) = delete;

  // Starts every group's workers over a snapshot of the lines, against the
  // rows of WhoisConfig.ListView. Workers of an earlier start that have
  // ended are released; running ones are left alone (callers stop them
  // first or refuse).
  void Start(std::vector<std::string> lines);
  // True while a worker of the batch is still running.
  bool Running() const;
  // Tells every worker to stop (pauses cut short, questions aborted) and
  // waits for them, serving the window thread's queue meanwhile.
  void Stop();

  int WorkerCount() const { return static_cast<int>(workers_.size()); }

 private:
  std::vector<std::unique_ptr<CWhois>> workers_;
};

}  // namespace orlu
