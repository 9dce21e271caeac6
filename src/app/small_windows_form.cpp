#include "app/small_windows.h"

#include "platform/text/gbk.h"

namespace orlu {

TFormKWordMi* FormKWordMi = nullptr;
TFormSource* FormSource = nullptr;
TFormDaoqi* FormDaoqi = nullptr;
TFormBanquan* FormBanquan = nullptr;

TFormKWordMi::TFormKWordMi() {
  SetCaption(Gbk("关键字密度"));
  SetWidth(705);
  SetHeight(500);
}

TFormSource::TFormSource() {
  SetCaption(Gbk("网页源代码"));
  SetWidth(515);
  SetHeight(500);
  SetBorderIcons(false, false);
}

TFormDaoqi::TFormDaoqi() {
  SetCaption(Gbk("到期删除域名"));
  SetWidth(445);
  SetHeight(556);
  SetBorderIcons(false, false);
}

TFormBanquan::TFormBanquan() {
  SetCaption(Gbk("关于"));
  SetBorderStyle(BorderStyle::Dialog);
  SetBorderIcons(false, false);
  SetClientSize(254, 71);
}

}  // namespace orlu
