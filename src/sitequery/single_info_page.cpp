#include "sitequery/single_info_page.h"

#include "pages/page_layout.h"
#include "platform/text/gbk.h"

namespace orlu {

namespace {

// The domain as the report asks it: every "http://" taken out in one pass,
// nothing else changed.
std::string WithoutHttp(const std::string& text) {
  static constexpr std::string_view kHttp = "http://";
  std::string out;
  size_t from = 0;
  for (size_t at; (at = text.find(kHttp, from)) != std::string::npos; from = at + kHttp.size()) {
    out.append(text, from, at - from);
  }
  out.append(text, from, std::string::npos);
  return out;
}

// The grid's columns after the caption, each with its site: slot (row 0)
// and its link slot (row 1).
constexpr int kGridSlots[5][2] = {{10, 5}, {11, 12}, {13, 14}, {15, 16}, {19, 20}};

}  // namespace

TShouluPage::TShouluPage(TabSheet& page) : page_(page) {
  lbl10.SetCaption(Gbk("请输入要查询的网址："));
  lbl10.SetBounds(10, 14, 130, 16);
  edtShouluDomain.SetText("www.example.com");
  edtShouluDomain.SetAccessibleName(NameFromLabel(lbl10.Caption()));
  edtShouluDomain.SetBounds(140, 10, 260, 24);
  edtShouluDomain.OnKeyPress = [this](char& key) { edtShouluDomainKeyPress(key); };
  btnShouluSearch.SetCaption(Gbk("查询"));
  btnShouluSearch.SetBounds(410, 9, 75, 26);
  Bind(btnShouluSearch, this, &TShouluPage::btnShouluSearchClick);

  // The label pairs: four rows of up to three.
  struct Pair {
    Label& label;
    const char* caption;
    Label& value;
    const char* design;
    int row;
    int column;
  };
  const Pair pairs[] = {
      {lbl11, "Google PR：", lblShouluPr, "PR", 0, 0},
      {lbl12, "Sogou Rank：", lblSholuSr, "Rank", 0, 1},
      {lbl13, "Alexa Rank：", lblShouluAlexa, "Alexa", 0, 2},
      {lbl14, "China Rank：", lblChinaRank, "Rank", 1, 0},
      {lbl15, "快照时间：", lblShouluTime, "快照时间", 1, 1},
      {lbl16, "百度链接数：", lblShouluBailink, "链接数", 1, 2},
      {lbl17, "百度一天收录：", lblBaidu1tian, "收录", 2, 0},
      {lbl18, "百度一周：", lblBaidu1Zhou, "收录", 2, 1},
      {lbl19, "百度一月收录：", lblBaidu1Yue, "收录", 3, 0},
      {lbl20, "百度一年：", lblBaidu1Nian, "收录", 3, 1},
  };
  for (const Pair& p : pairs) {
    const int left = 10 + p.column * 250, top = 50 + p.row * 28;
    p.label.SetCaption(Gbk(p.caption));
    p.label.SetBounds(left, top, 100, 16);
    p.value.SetCaption(Gbk(p.design));
    // Fixed in place, whatever the answer's length.
    p.value.SetAutoSize(false);
    p.value.SetBounds(left + 105, top, 130, 16);
    p.value.SetFontColor(colors::Blue);
  }

  lvShoulu.SetBounds(10, 168, 604, 62);
  ReportStyle(lvShoulu);
  lvShoulu.SetColumns({{Gbk("搜索引擎"), 100},
                       {"Baidu", 100},
                       {"Google", 100},
                       {"Yahoo", 100},
                       {"Youdao", 100},
                       {"Soso", 100}});
  lvShoulu.AddRow(Gbk("收录情况"), {"", "", "", "", ""});
  lvShoulu.AddRow(Gbk("反向链接"), {"", "", "", "", ""});

  btn12.SetCaption(Gbk("获取文本信息"));
  btn12.SetBounds(10, 240, 100, 26);
  Bind(btn12, this, &TShouluPage::btn12Click);

  const int pageHeight = PageHeight(page);
  mmoSingleDomainShow.SetBounds(10, 274, kPageWidth - 20, pageHeight - 274);
  mmoSingleDomainShow.SetAnchors(kAnchorAll);
  mmoSingleDomainShow.SetScrollBars(ScrollBars::Both);
  mmoSingleDomainShow.SetAccessibleName(Gbk("查询报告"));

  tmrSingleInfo.OnTimer = [this] { tmrSingleInfoTimer(); };
}

void TShouluPage::btnShouluSearchClick() {
  const std::string domain = WithoutHttp(edtShouluDomain.Text());
  tmrSingleInfo.SetEnabled(true);
  ShouluJob.Start(domain);
}

void TShouluPage::edtShouluDomainKeyPress(char& key) {
  if (key == 13) btnShouluSearch.Click();
}

void TShouluPage::tmrSingleInfoTimer() {
  const SingleInfoStore& store = SingleInfoResults;
  Label* const labels[] = {&lblShouluPr,      &lblSholuSr,    &lblShouluAlexa, &lblChinaRank,
                           &lblShouluTime,    &lblShouluBailink, &lblBaidu1tian, &lblBaidu1Zhou,
                           &lblBaidu1Yue,     &lblBaidu1Nian};
  for (int slot = 0; slot < 10; ++slot) labels[slot]->SetCaption(store.Read(slot));
  for (int column = 0; column < 5; ++column) {
    lvShoulu.SetSubItem(0, column, store.Read(kGridSlots[column][0]));
    lvShoulu.SetSubItem(1, column, store.Read(kGridSlots[column][1]));
  }
}

void TShouluPage::btn12Click() {
  const SingleInfoStore& store = SingleInfoResults;
  // One line of labels, each followed directly by its slot's text.
  auto line = [&store](std::initializer_list<std::pair<const char*, int>> parts) {
    std::string text;
    for (const auto& [label, slot] : parts) text.append(Gbk(label)).append(store.Read(slot));
    return text;
  };
  mmoSingleDomainShow.Clear();
  mmoSingleDomainShow.Add(edtShouluDomain.Text());
  mmoSingleDomainShow.Add(line({{"Google PR:", 0},
                                {" Sogou Rank:", 1},
                                {" Alexa Rank:", 2},
                                {" China Rank:", 3},
                                {" 快照时间：", 4},
                                {" 百度链接数：", 5}}));
  mmoSingleDomainShow.Add(line({{" 百度一天收录：", 6},
                                {" 百度一周收录：", 7},
                                {" 百度一月收录：", 8},
                                {" 百度一年收录：", 9}}));
  mmoSingleDomainShow.Add(line({{" BSite：", 10},
                                {" GSite：", 11},
                                {" YSite：", 13},
                                {" YouDaoSite：", 15},
                                {" SosoSite：", 19}}));
  mmoSingleDomainShow.Add(line({{" BLink：", 5},
                                {" GLink：", 12},
                                {" YLink：", 14},
                                {" YouDaoLink：", 16},
                                {" SosoLink：", 20}}));
}

}  // namespace orlu
