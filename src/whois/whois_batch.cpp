#include "whois/whois_batch.h"

#include <chrono>
#include <utility>

#include "platform/text/gbk.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply.h"

namespace orlu {

WhoisSettings WhoisConfig;

int32_t WhoisSettings::ThreadCount(int group) const {
  return group >= 0 && group < kWhoisGroupCount ? Threads[static_cast<size_t>(group)] : 0;
}

int32_t WhoisSettings::Delay(int group) const {
  return group >= 0 && group < kWhoisGroupCount ? Delays[static_cast<size_t>(group)] : 0;
}

std::vector<ListRow> BuildWhoisRows(const std::vector<std::string>& lines) {
  return DomainListRows(lines, kWhoisRowCells);
}

namespace {

bool IsUnfinished(const std::string& status) {
  return status.empty() || status == " " || status == WordFailed();
}

// The row store, when `row` is a row of the rows built for `generation`;
// null when the rows are gone or were rebuilt since.
RowStore* StoreHoldingRow(uint64_t generation, int row) {
  RowStore* list = WhoisConfig.ListView;
  if (list == nullptr || list->Generation() != generation) return nullptr;
  if (row < 0 || row >= list->RowCount()) return nullptr;
  return list;
}

}  // namespace

CWhois::CWhois(bool createSuspended, WhoisLines lines, int count, int index, uint8_t group)
    : Thread(createSuspended),
      WhoisLookup(group),
      Lines(std::move(lines)),
      Count(count),
      Index(index),
      Generation(WhoisConfig.ListView ? WhoisConfig.ListView->Generation() : 0) {}

CWhois::~CWhois() { StopAndWait(); }

void CWhois::OnTerminate() { AbortQuestions(); }

void CWhois::WhoisPause(const std::string& domain) {
  const int group = WhoisGroupOfDomain(domain);
  if (group != Group) return;
  const int32_t delay = WhoisConfig.Delay(group);
  if (delay > 0) Sleep(std::chrono::milliseconds(delay));
}

void CWhois::Execute() {
  const int n = Lines ? static_cast<int>(Lines->size()) : 0;
  RowStore* list = WhoisConfig.ListView;
  if (list == nullptr || Count <= 0) return;
  const int passes = WhoisConfig.Passes;
  for (int pass = 0; pass < passes; ++pass) {
    if (!Checkpoint()) return;
    for (int i = Index; i < n; i += Count) {
      Domain = PrepareWhoisDomain((*Lines)[i]);
      if (Domain.empty()) continue;
      Row = i;
      // The list may hold fewer rows than the lines (edited since the rows
      // were built): a line without a row is skipped.
      if (i >= list->RowCount()) continue;
      if (!IsUnfinished(list->Cell(i, kWhoisStatusCell))) continue;
      // Only domains of this worker's group cost a question; hold and stop
      // there, not on every row of the walk.
      if (WhoisGroupOfDomain(Domain) == Group && !Checkpoint()) return;
      ResetWhoisFields();
      bool handled = false;
      const bool supported = WhoisBySuffix(Domain, handled);
      // A question cut short by a stop is no answer.
      if (Terminated()) return;
      if (!supported) {
        Synchronize([this] { ShowSuffixUnsupported(); });
      } else if (handled) {
        Synchronize([this] { ShowWhoisRow(); });
      }
      WhoisPause(Domain);
    }
  }
}

void CWhois::ShowWhoisRow() {
  RowStore* list = StoreHoldingRow(Generation, Row);
  if (list == nullptr) return;
  list->WriteCells(Row, kWhoisStatusCell,
                   {State, Organization, Registrar, CreationDate, ExpirationDate, Email,
                    StatusText, Contact, NameServer});
}

void CWhois::ShowSuffixUnsupported() {
  RowStore* list = StoreHoldingRow(Generation, Row);
  if (list == nullptr) return;
  list->WriteCells(Row, kWhoisStatusCell, {WordUnsupported()});
}

// --- The batch ---

WhoisBatch::~WhoisBatch() { Stop(); }

void WhoisBatch::Start(std::vector<std::string> lines) {
  workers_.DropFinished();
  auto snapshot = std::make_shared<const std::vector<std::string>>(std::move(lines));
  for (int group = 0; group < kWhoisGroupCount; ++group) {
    const int count = WhoisConfig.ThreadCount(group);
    for (int i = 0; i < count; ++i) {
      workers_.Start(
          std::make_unique<CWhois>(false, snapshot, count, i, static_cast<uint8_t>(group)));
    }
  }
}

bool WhoisBatch::Running() const { return workers_.Running(); }

void WhoisBatch::Stop() { workers_.Stop(); }

}  // namespace orlu
