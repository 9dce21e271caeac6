// Window side of the batch ranking page: the page's lists and the status
// window's list as the rows the job writes, and the window timer that follows
// the job's status timer.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/list_view.h"
#include "platform/ui/timer.h"
#include "sitequery/alexa_job.h"

namespace orlu {

// A list view as the job's rows (window thread). Writes to a row that is not
// there are dropped.
class ListViewTextRows : public TextRows {
 public:
  explicit ListViewTextRows(ListView& list) : list_(list) {}
  int RowCount() const override { return list_.RowCount(); }
  int AddRow(const std::string& caption, std::vector<std::string> cells) override;
  void Clear() override { list_.Clear(); }
  std::string Cell(int row, int index) const override;
  void SetCell(int row, int index, const std::string& text) override;

 private:
  ListView& list_;
};

// The status window's job list, looked up each time (the status window may
// be gone before the main window at the end).
class StatusWindowRows : public TextRows {
 public:
  int RowCount() const override;
  int AddRow(const std::string& caption, std::vector<std::string> cells) override;
  void Clear() override;
  std::string Cell(int row, int index) const override;
  void SetCell(int row, int index, const std::string& text) override;
};

// Binds `AlexaSea` to the page while the main window lives: the result lists,
// the status list and a window timer ticking AlexaSeaTimerTick whenever the
// job's timer is on. Its end stops the timer and ends the job's workers
// (transfers aborted, pauses lifted) before the lists go.
class AlexaPageJob {
 public:
  AlexaPageJob(ListView& visible, ListView& hidden);
  ~AlexaPageJob();
  AlexaPageJob(const AlexaPageJob&) = delete;
  AlexaPageJob& operator=(const AlexaPageJob&) = delete;

  // Points AlexaSea at these lists and this timer (done when made).
  void Bind();

  ListViewTextRows Rows;
  ListViewTextRows BakRows;
  StatusWindowRows StatusRows;
  Timer StatusTimer{3000, false};
  // Set while a start or re-query ends the old group; a press arriving
  // meanwhile is ignored.
  bool Starting = false;
};

}  // namespace orlu
