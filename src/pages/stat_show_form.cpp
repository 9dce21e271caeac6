#include "pages/stat_show_form.h"

#include <algorithm>
#include <utility>

#include "pages/page_host.h"
#include "platform/text/gbk.h"

namespace orlu {

TFormStatShow* FormStatShow = nullptr;

TFormStatShow::TFormStatShow() {
  SetCaption(Gbk("状态显示"));
  // 970 x 226 with the title bar and borders: the memo's 65 and the list's
  // 120 pixels inside.
  SetClientSize(970, 65 + 120);
  SetBorderStyle(BorderStyle::Single);
  SetBorderIcons(true, false);
  SetStayOnTop(true);

  mmoStatShow.SetAlign(Align::Top);
  mmoStatShow.SetHeight(65);
  mmoStatShow.SetScrollBars(ScrollBars::Vertical);
  mmoStatShow.SetAccessibleName(Gbk("选中行"));

  lvStatShow.SetAlign(Align::Client);
  lvStatShow.SetGridLines(true);
  lvStatShow.SetRowSelect(true);
  // The task column holds the longest service name ("SiteInfo.BaiduZhidaoCell").
  lvStatShow.SetColumns({{"ID", 50},
                         {Gbk("任务"), 160},
                         {Gbk("总共"), 100},
                         {Gbk("成功次数"), 100},
                         {Gbk("共失败次数"), 100},
                         {Gbk("定时器备注"), 200}});

  OnPaint = [this] { FormPaint(); };
}

TFormStatShow::~TFormStatShow() {
  if (FormStatShow == this) FormStatShow = nullptr;
}

void TFormStatShow::FormPaint() {
  if (!MainPageHost) return;
  const Rect place =
      DockedStatusPlace(MainPageHost->FrameBounds(), FrameBounds(), MainPageHost->WorkArea());
  if (Left() != place.left) SetLeft(place.left);
  if (Top() != place.top) SetTop(place.top);
}

void TFormStatShow::ShowDocked() {
  FormPaint();
  if (!Visible()) Show();
  FormPaint();
}

int TFormStatShow::AddStatusRow(const std::string& caption, std::vector<std::string> cells) {
  const int row = lvStatShow.AddRow(caption, std::move(cells));
  ShowDocked();
  lvStatShow.ScrollToRow(row);
  return row;
}

Rect DockedStatusPlace(const Rect& mainFrame, const Rect& statusFrame, const Rect& workArea) {
  const int width = statusFrame.Width();
  const int height = statusFrame.Height();
  const int left = std::max(workArea.left, std::min(mainFrame.left, workArea.right - width));
  const int top = std::max(workArea.top, std::min(mainFrame.bottom, workArea.bottom - height));
  return {left, top, left + width, top + height};
}

namespace {

ListView* StatusList() { return FormStatShow != nullptr ? &FormStatShow->lvStatShow : nullptr; }

}  // namespace

int StatusWindowRows::RowCount() const {
  ListView* list = StatusList();
  return list != nullptr ? list->RowCount() : 0;
}

int StatusWindowRows::AddRow(const std::string& caption, std::vector<std::string> cells) {
  // The job has a row to show now (the close box hides the window again).
  return FormStatShow != nullptr ? FormStatShow->AddStatusRow(caption, std::move(cells)) : -1;
}

void StatusWindowRows::Clear() {
  if (ListView* list = StatusList()) list->Clear();
}

std::string StatusWindowRows::Cell(int row, int index) const {
  ListView* list = StatusList();
  return list != nullptr ? ListViewRows(*list).Cell(row, index) : "";
}

void StatusWindowRows::SetCell(int row, int index, const std::string& text) {
  if (ListView* list = StatusList()) ListViewRows(*list).SetCell(row, index, text);
}

}  // namespace orlu
