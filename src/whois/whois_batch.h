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

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/text/rows.h"
#include "platform/thread/thread.h"
#include "platform/thread/worker_group.h"
#include "whois/whois_lookup.h"
#include "whois/whois_registry.h"

namespace orlu {

// Number of cells of a result row after its caption: the domain, then the
// status cell and the eight fields.
inline constexpr int kWhoisRowCells = 10;
// The status cell of a row, which decides whether the row is asked.
inline constexpr int kWhoisStatusCell = 1;

// Settings of the batch workers, built before any window and never saved.
// The pauses are milliseconds.
struct WhoisSettings {
  RowStore* ListView = nullptr;  // the page's result rows, not owned
  int32_t Passes = 5;
  // Indexed by registry group (0 cn family ... 9 other, as numbered in
  // whois_registry.h): the group's workers and its pause after a question.
  std::array<int32_t, kWhoisGroupCount> Threads{1, 5, 1, 3, 2, 2, 3, 3, 3, 1};
  std::array<int32_t, kWhoisGroupCount> Delays{2500, 1000, 3000, 1000, 1000,
                                               1000, 1000, 1000, 1000, 1000};

  // The entry of `group`; 0 for a group out of range.
  int32_t ThreadCount(int group) const;
  int32_t Delay(int group) const;
};

extern WhoisSettings WhoisConfig;

// The rows for the lines of the domain list: row i for line i, caption i + 1,
// the line trimmed as typed, then nine " " cells. An empty (or blank) last
// line gets no row; every other line does, empty or not.
std::vector<ListRow> BuildWhoisRows(const std::vector<std::string>& lines);

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

  int WorkerCount() const { return static_cast<int>(workers_.Size()); }

 private:
  WorkerGroup<CWhois> workers_;
};

}  // namespace orlu
