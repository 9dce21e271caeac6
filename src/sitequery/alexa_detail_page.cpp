#include "sitequery/alexa_detail_page.h"

#include "pages/page_layout.h"
#include "platform/text/gbk.h"
#include "sitequery/alexa_placeholder_jpeg.h"

namespace orlu {

namespace {

constexpr int kBandWidth = 880;
constexpr Color kBand = colors::GradientInactiveCaption;

// The input hint, and the sample domain the box holds at first.
std::string InputHint() { return Gbk("请输入网址，如：example.com, 不带http://"); }
constexpr const char* kSampleDomain = "example.com";

void PlaceLabel(Label& label, const char* caption, int left, int top) {
  label.SetCaption(Gbk(caption));
  label.SetLeft(left);
  label.SetTop(top);
}

// A flat edit without a frame, as the report's fields are, named for screen
// readers by the caption of its label.
void PlaceField(Edit& edit, const std::string& name, int left, int top, int width) {
  edit.SetAccessibleName(NameFromLabel(name));
  edit.SetBorder(false);
  edit.SetBounds(left, top, width, 20);
}

void PlaceBand(Panel& band, int top) {
  band.SetBevel(Bevel::None);
  band.SetColor(kBand);
  band.SetBounds(10, top, kBandWidth, 26);
}

void PlaceLink(Label& link, const char* caption, int left, int top) {
  PlaceLabel(link, caption, left, top);
  link.SetCursor(Cursor::Hand);
  link.SetFontColor(colors::Blue);
}

void PlaceList(ListView& list, int top, const char* first, const char* second) {
  list.SetBounds(10, top, 720, 180);
  ReportStyle(list);
  list.SetMultiSelect(true);
  list.SetColumns({{Gbk(first), 350}, {Gbk(second), 350}});
}

}  // namespace

TAlexaDetailPage::TAlexaDetailPage(TabSheet& page) : page_(page) {
  BuildLayout();

  Bind(btnAlexaDetailOn, this, &TAlexaDetailPage::btnAlexaDetailOnClick);
  edtAlexaDetail.OnKeyPress = [this](char& key) { edtAlexaDetailKeyPress(key); };
  page_.OnShow = [this] { tsAlexaDetailShow(); };
  scrlbxAlexa.OnMouseWheelDown = [this](bool& handled) { scrlbxAlexaMouseWheelDown(handled); };
  scrlbxAlexa.OnMouseWheelUp = [this](bool& handled) { scrlbxAlexaMouseWheelUp(handled); };
  Bind(imgAlexaName, this, &TAlexaDetailPage::imgAlexaNameClick);
  Bind(lbl49, this, &TAlexaDetailPage::lbl49Click);
  Bind(lbl50, this, &TAlexaDetailPage::lbl50Click);
  Bind(lbl54, this, &TAlexaDetailPage::lbl54Click);

  // What the main window does for this page when it is made: the lists'
  // headers and the chart tabs drawn by the page, the box double-buffered.
  lvAlexaTraffic.OnDrawHeaderItem = [this](Canvas& c, int item, const Rect& r) {
    AlexaTrafficWndProc(c, item, r);
  };
  SetHeaderOwnerDraw(lvAlexaTraffic);
  lvAlexaCountry.OnDrawHeaderItem = [this](Canvas& c, int item, const Rect& r) {
    AlexaCountryWndProc(c, item, r);
  };
  SetHeaderOwnerDraw(lvAlexaCountry);
  pgcAlexaPic.OnDrawTab = [this](Canvas& c, int index, const Rect& r, bool active) {
    pgcAlexaPicDrawTab(c, index, r, active);
  };
  pgcAlexaPic.SetOwnerDrawTabs(true);
  scrlbxAlexa.SetDoubleBuffered(true);
}

TAlexaDetailPage::~TAlexaDetailPage() {
  job_.EndAll();
  if (AlexaDetailView.TrafficLv == &trafficRows_) {
    const unsigned generation = AlexaDetailView.Generation;
    AlexaDetailView = TAlexaDetailView{};
    AlexaDetailView.Generation = generation;
  }
}

void TAlexaDetailPage::BuildLayout() {
  scrlbxAlexa.SetAlign(Align::Client);
  scrlbxAlexa.SetContentHeight(1400);
  scrlbxAlexa.SetColor(colors::Window);

  lblAlexaFail.SetCaption(InputHint());
  lblAlexaFail.SetLeft(20);
  lblAlexaFail.SetTop(12);
  lblAlexaFail.SetFontColor(colors::Red);
  PlaceLabel(lbl32, "网址：", 20, 42);
  edtAlexaDetail.SetText(kSampleDomain);
  edtAlexaDetail.SetBounds(62, 38, 300, 24);
  edtAlexaDetail.SetAccessibleName(Gbk("网址"));
  btnAlexaDetailOn.SetCaption(Gbk("查询"));
  btnAlexaDetailOn.SetBounds(372, 37, 110, 26);

  imgAlexaName.SetBounds(20, 76, 202, 147);
  imgAlexaName.SetCursor(Cursor::Hand);
  imgAlexaName.LoadJpeg(std::string(reinterpret_cast<const char*>(kAlexaPlaceholderJpeg),
                                    kAlexaPlaceholderJpegSize));

  // The detail fields: rows of three beside the picture, the last two rows
  // one wide field each, ending with the bands. The columns are as wide as
  // their values need: the site's name and the e-mail address are long, the
  // middle column holds the domain and short figures.
  struct FieldDef {
    Label& label;
    const char* caption;
    Edit& edit;
  };
  const FieldDef fields[] = {
      {lbl34, "站点名称：", edtAD1},  {lbl35, "站点域名：", edtAD2},  {lbl36, "电子邮箱：", edtAD3},
      {lbl37, "综合排名：", edtAD4},  {lbl38, "下期排名：", edtAD5},  {lbl39, "收录时间：", edtAD6},
      {lbl40, "所属国家：", edtAD7},  {lbl41, "编码方式：", edtAD8},  {lbl42, "访问速度：", edtAD9},
      {lbl43, "成人内容：", edtAD10}, {lbl44, "反向链接：", edtAD11}, {lbl45, "联系电话：", edtAD12},
      {lbl46, "详细地址：", edtAD13}, {lbl47, "网站简介：", edtAD14},
  };
  constexpr int kLabelWidth = 66;
  constexpr int kColumnLeft[3] = {230, 500, 658};
  constexpr int kEditWidth[3] = {200, 84, 166};
  constexpr int kFieldsRight = 10 + kBandWidth;
  for (int k = 0; k < 14; ++k) {
    const int row = k < 12 ? k / 3 : k - 8;
    const int column = k < 12 ? k % 3 : 0;
    const int left = kColumnLeft[column];
    const int top = 78 + row * 26;
    PlaceLabel(fields[k].label, fields[k].caption, left, top + 2);
    const int width = k < 12 ? kEditWidth[column] : kFieldsRight - left - kLabelWidth;
    PlaceField(fields[k].edit, Gbk(fields[k].caption), left + kLabelWidth, top, width);
  }

  PlaceLink(lbl48, "更新缩略图", 24, 230);
  PlaceLink(lbl49, "修改信息", 100, 230);
  PlaceLink(lbl50, "提交链接", 164, 230);

  PlaceBand(pnl1, 256);
  PlaceLabel(lbl51, "站点Alexa 排名查询结果", 8, 5);
  PlaceLink(lbl52, "查看详细信息", 520, 5);
  PlaceLink(lbl53, " 历史数据查询", 610, 5);
  PlaceLabel(lbl54, "Alexa官方数据", 720, 5);
  lbl54.SetFontBold(true);
  lbl54.SetCursor(Cursor::Hand);

  Label* rankLabels[] = {&lbl55, &lbl56, &lbl57, &lbl58, &lbl59, &lbl60, &lbl61, &lbl62};
  Edit* rankEdits[] = {&edtADL1, &edtADL2, &edtADL3, &edtADL4,
                       &edtADL5, &edtADL6, &edtADL7, &edtADL8};
  const char* rankCaptions[] = {"当日排名",     "排名变化趋势", "一周平均排名", "排名变化趋势",
                                "一月平均排名", "排名变化趋势", "三月平均排名", "排名变化趋势"};
  for (int k = 0; k < 8; ++k) {
    PlaceLabel(*rankLabels[k], rankCaptions[k], 14 + k * 107, 290);
    // A trend is named after the rank it follows.
    const std::string name = k % 2 == 0 ? Gbk(rankCaptions[k])
                                        : Gbk(rankCaptions[k - 1]) + Gbk("变化趋势");
    PlaceField(*rankEdits[k], name, 14 + k * 107, 312, 100);
  }

  PlaceBand(pnl2, 344);
  PlaceLabel(lbl63, "Alexa 统计的 站点下属子站点 被访问比例 及 人均页面浏览量 列表", 8, 5);
  PlaceList(lvAlexaTraffic, 376,
            "                              被访问网址",
            "                            近月页面访问比例");

  PlaceBand(pnl3, 566);
  PlaceLabel(lbl68,
             "根据 ALEXA 统计数据估算网站 IP & PV 值，以下数据仅做参考之用、"
             "根据网站工具条用户比例不同会产生不同误差率",
             8, 5);
  PlaceLabel(lbl69, "日均 IP 访问量[一周平均]", 20, 604);
  PlaceField(edtADIP, Gbk("日均 IP 访问量[一周平均]"), 190, 602, 200);
  PlaceLabel(lbl70, "日均 PV 浏览量[一周平均]", 20, 630);
  PlaceField(edtADPV, Gbk("日均 PV 浏览量[一周平均]"), 190, 628, 200);

  PlaceBand(pnl4, 662);
  PlaceLabel(lbl71, "Alexa 统计站点国家/地区排名、访问比例 列表", 8, 5);
  PlaceList(lvAlexaCountry, 694,
            "                           国家/地区名称",
            "                              页面浏览比例");

  pgcAlexaPic.SetBounds(10, 886, 753, 345);
  const char* tabCaptions[] = {"六个月平均排名曲线", "三个月平均排名曲线", "一个月平均排名曲线",
                               "半个月平均排名曲线", "一星期平均排名曲线"};
  for (int k = 0; k < 5; ++k) {
    pgcAlexaPic.Page(k)->SetCaption(Gbk(tabCaptions[k]));
    Charts[k]->SetAlign(Align::Client);
  }
  pgcAlexaPic.SetActivePageIndex(0);

  // The controls the workers write, in the order of their record.
  auto field = [this](Control& c) {
    fields_.push_back(std::make_unique<ControlField>(c));
    return fields_.back().get();
  };
  Edit* edits[] = {&edtAD1, &edtAD2, &edtAD3,  &edtAD4,  &edtAD5,  &edtAD6,  &edtAD7,
                   &edtAD8, &edtAD9, &edtAD10, &edtAD11, &edtAD12, &edtAD13, &edtAD14};
  for (Edit* e : edits) field(*e);
  for (Edit* e : rankEdits) field(*e);
  field(edtADIP);
  field(edtADPV);
  field(btnAlexaDetailOn);
  field(lblAlexaFail);
}

// --- Query ---

void TAlexaDetailPage::btnAlexaDetailOnClick() {
  AlexaDetailDomain = edtAlexaDetail.Text();
  NavigateTrafficGraphs(AlexaDetailDomain);
  PublishDetailControls();
  btnAlexaDetailOn.SetEnabled(false);
  btnAlexaDetailOn.SetCaption(Gbk("查询中，请等待"));
  job_.Start(AlexaDetailDomain);
  scrlbxAlexa.SetFocus();
}

void TAlexaDetailPage::edtAlexaDetailKeyPress(char& key) {
  if (key == '\r' && btnAlexaDetailOn.Enabled()) btnAlexaDetailOn.Click();
}

void TAlexaDetailPage::NavigateTrafficGraphs(const std::string& domain) {
  for (int k = 0; k < 5; ++k) Charts[k]->Navigate(AlexaChartUrl(kChartRanges[k], domain));
}

void TAlexaDetailPage::PublishDetailControls() {
  TAlexaDetailView& v = AlexaDetailView;
  size_t at = 0;
  for (DetailField*& f : v.Edits) f = fields_[at++].get();
  for (DetailField*& f : v.RankEdits) f = fields_[at++].get();
  v.TrafficLv = &trafficRows_;
  v.IpEdit = fields_[at++].get();
  v.PvEdit = fields_[at++].get();
  v.CountryLv = &countryRows_;
  v.QueryButton = fields_[at++].get();
  v.FailLabel = fields_[at++].get();
  lblAlexaFail.SetCaption(InputHint());
}

// --- Window ---

void TAlexaDetailPage::tsAlexaDetailShow() { scrlbxAlexa.SetFocus(); }

void TAlexaDetailPage::scrlbxAlexaMouseWheelDown(bool& handled) {
  scrlbxAlexa.SetScrollPosition(scrlbxAlexa.ScrollPosition() + scrlbxAlexa.ScrollIncrement());
  handled = true;
}

void TAlexaDetailPage::scrlbxAlexaMouseWheelUp(bool& handled) {
  scrlbxAlexa.SetScrollPosition(scrlbxAlexa.ScrollPosition() - scrlbxAlexa.ScrollIncrement());
  handled = true;
}

void TAlexaDetailPage::OpenSitePage(const char* path) {
  ShellOpen(AlexaSitePageUrl(path, AlexaDetailDomain));
}

void TAlexaDetailPage::imgAlexaNameClick() { ShellOpen(AlexaDetailDomain); }
void TAlexaDetailPage::lbl49Click() { OpenSitePage("/data/details/contact_info?url="); }
void TAlexaDetailPage::lbl50Click() { OpenSitePage("/data/details/editor?type=rl&url="); }
void TAlexaDetailPage::lbl54Click() { OpenSitePage("/data/details/traffic_details/"); }

void TAlexaDetailPage::SetHeaderOwnerDraw(ListView& list) {
  for (int i = 0; i < list.ColumnCount(); ++i) list.SetHeaderItemOwnerDraw(i, true);
}

namespace {

void DrawHeaderItem(ListView& list, Canvas& canvas, int item, const Rect& rect) {
  canvas.SetBrushColor(kBand);
  canvas.FillRect(rect);
  canvas.SetFontOf(list);
  canvas.DrawTextEllipsis(Rect{rect.left + 5, rect.top + 1, rect.right, rect.bottom},
                          list.ColumnCaption(item));
}

}  // namespace

void TAlexaDetailPage::AlexaTrafficWndProc(Canvas& canvas, int item, const Rect& rect) {
  DrawHeaderItem(lvAlexaTraffic, canvas, item, rect);
}

void TAlexaDetailPage::AlexaCountryWndProc(Canvas& canvas, int item, const Rect& rect) {
  DrawHeaderItem(lvAlexaCountry, canvas, item, rect);
}

void TAlexaDetailPage::pgcAlexaPicDrawTab(Canvas& canvas, int index, const Rect& rect, bool) {
  canvas.SetBrushColor(kBand);
  canvas.SetFontColor(colors::Black);
  canvas.FillRect(rect);
  TabSheet* sheet = pgcAlexaPic.Page(index);
  canvas.TextOut(rect.left + 2, rect.top + 2, sheet != nullptr ? sheet->Caption() : "");
}

}  // namespace orlu
