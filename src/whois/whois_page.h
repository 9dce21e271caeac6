// Window side of the batch WHOIS page: the page's result list as the row
// store the workers read and write, the workers of the page, and the actions
// of the list's popup menu.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/list_view.h"
#include "whois/whois_batch.h"

namespace orlu {

// The rows of a list view for the workers: reads from any thread, writes on
// the window thread.
class WhoisListRows : public WhoisRowStore {
 public:
  explicit WhoisListRows(ListView& list) : list_(list) {}
  int RowCount() const override;
  std::string Cell(int row, int cell) const override;
  void WriteCells(int row, int firstCell, const std::vector<std::string>& texts) override;

 private:
  ListView& list_;
};

// Converts result rows to list rows (their texts are moved, not copied).
std::vector<ListRow> ToListRows(std::vector<WhoisRow> rows);

// An entry of an action list: what a menu item bound to it runs.
struct MenuAction {
  std::string Caption;
  std::function<void()> OnExecute;
  void Execute() const {
    if (OnExecute) OnExecute();
  }
};

// The workers of the page and the rows they answer into. The workers end
// (stopped and joined) before the rows go, and WhoisConfig.ListView is
// cleared when the rows go.
struct WhoisPageJob {
  explicit WhoisPageJob(ListView& list) : Rows(list) {}
  ~WhoisPageJob();
  WhoisPageJob(const WhoisPageJob&) = delete;
  WhoisPageJob& operator=(const WhoisPageJob&) = delete;

  WhoisListRows Rows;
  WhoisBatch Workers;
  // Set while "查询" stops the old workers and starts the new ones; a
  // second press arriving meanwhile is ignored.
  bool Starting = false;
  // The lines the rows were built from. "失败重查" asks these, not the memo
  // as it is now: the memo may have been edited or replaced (the suffix
  // expansion) since, and its lines would land in rows of other domains.
  std::vector<std::string> RowLines;
};

}  // namespace orlu
