#include "app/stat_show_form.h"

#include "app/main_form.h"
#include "platform/text/gbk.h"

namespace orlu {

TFormStatShow* FormStatShow = nullptr;

TFormStatShow::TFormStatShow() {
  SetCaption(Gbk("状态显示"));
  SetWidth(970);
  SetHeight(226);
  SetBorderStyle(BorderStyle::Single);
  SetBorderIcons(true, false);
  SetStayOnTop(true);

  mmoStatShow.SetAlign(Align::Top);
  mmoStatShow.SetHeight(65);
  mmoStatShow.SetScrollBars(ScrollBars::Vertical);

  lvStatShow.SetAlign(Align::Bottom);
  lvStatShow.SetHeight(120);
  lvStatShow.SetGridLines(true);
  lvStatShow.SetRowSelect(true);
  lvStatShow.SetColumns({{"ID", 50},
                         {Gbk("任务"), 100},
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
  if (!FormMain) return;
  int left = FormMain->Left();
  int top = FormMain->Top() + FormMain->Height();
  if (Left() != left) SetLeft(left);
  if (Top() != top) SetTop(top);
}

}  // namespace orlu
