#include "app/small_windows.h"

#include <optional>
#include <utility>

#include "app/sponsor_links.h"
#include "app/window_fetch.h"
#include "pages/page_layout.h"
#include "platform/text/codepage.h"
#include "platform/text/gbk.h"

namespace orlu {

TFormKWordMi* FormKWordMi = nullptr;
TFormSource* FormSource = nullptr;
TFormDaoqi* FormDaoqi = nullptr;
TFormBanquan* FormBanquan = nullptr;

namespace {

// The cn registry's web server and the folder of its daily lists.
constexpr const char* kDaoqiFolder = "http://www.cnnic.cn/download/registar_list/";

// The window-owned clients: default headers, cookies kept for the window's
// life, and bounded waits so a silent server costs a time-out.
void WindowClient(PageClient& client) {
  client.KeepCookies = true;
  client.ConnectTimeout = 15000;
  client.ReadTimeout = 30000;
}

// The page windows put a page into a memo for a person to read: 1 MiB is
// some twenty thousand lines of markup, more than anyone reads there and more
// than all but the heaviest pages carry, and a memo shows it in a fraction of
// a second for some tens of MB. A longer page is cut there (the rest is not
// fetched) and the window says so.
constexpr size_t kPageWindowCap = 1u << 20;

void PageWindowClient(PageClient& client) {
  WindowClient(client);
  client.MaxBody = kPageWindowCap;
  client.CutLongBody = true;
}

// A page cut at the cap ends after its last byte below 0x80, so no GBK or
// UTF-8 character is split: every byte of a UTF-8 character is 0x80 or above,
// and a byte below 0x80 stands alone or ends a GBK pair.
void EndAtWholeCharacter(std::string& page) {
  size_t end = page.size();
  while (end > 0 && static_cast<unsigned char>(page[end - 1]) >= 0x80) --end;
  page.resize(end);
}

// Fetches `url` for a page window: cut pages end at a whole character, and
// the window says it showed only the start once the page is in its memo.
struct PageFetch {
  std::optional<std::string> page;
  bool cut = false;
};

PageFetch FetchForPageWindow(Form& window, PageClient& client, const std::string& url) {
  PageFetch fetch;
  fetch.page = FetchKeepingWindowsAlive(window, client, url);
  fetch.cut = fetch.page && client.BodyWasCut();
  if (fetch.cut) EndAtWholeCharacter(*fetch.page);
  return fetch;
}

void SayPageWasCut() {
  ShowMessage(Gbk("网页超过 1 MB，只显示了开头的 1 MB。"));
}

}  // namespace

// --- Page fetch ---

TFormKWordMi::TFormKWordMi() {
  SetCaption(Gbk("关键字密度"));
  SetWidth(705);
  SetHeight(500);
  lbl1.SetCaption(Gbk("页面："));
  lbl1.SetBounds(16, 16, 40, 16);
  edtKworMiUrl.SetText("http://www.example.com/");
  edtKworMiUrl.SetBounds(60, 12, 300, 24);
  edtKworMiUrl.SetAccessibleName(Gbk("页面"));
  lbl2.SetCaption(Gbk("关键字："));
  lbl2.SetBounds(376, 16, 54, 16);
  edtKworMiWord.SetText(Gbk("域名"));
  edtKworMiWord.SetBounds(432, 12, 150, 24);
  edtKworMiWord.SetAccessibleName(Gbk("关键字"));
  btnKWrodMiSearch.SetCaption(Gbk("查询"));
  btnKWrodMiSearch.SetBounds(598, 11, 80, 26);
  Bind(btnKWrodMiSearch, this, &TFormKWordMi::btnKWrodMiSearchClick);
  mmoKWordMi1.SetBounds(16, 46, ClientWidth() - 32, 80);
  mmoKWordMi1.SetAnchors(kAnchorLeft | kAnchorTop | kAnchorRight);
  mmoKWordMi1.SetAccessibleName(Gbk("关键字密度"));
  lbl3.SetCaption(Gbk("搜索引擎抓取数据："));
  lbl3.SetBounds(16, 136, 200, 16);
  mmoKWordMi2.SetBounds(16, 156, ClientWidth() - 32, ClientHeight() - 172);
  mmoKWordMi2.SetAnchors(kAnchorAll);
  mmoKWordMi2.SetScrollBars(ScrollBars::Vertical);
  mmoKWordMi2.SetAccessibleName(Gbk("搜索引擎抓取数据"));
  PageWindowClient(idhtpKeyWordMi);
}

void TFormKWordMi::btnKWrodMiSearchClick() {
  if (Busy()) return;  // a click while the page is still coming
  mmoKWordMi1.Clear();
  mmoKWordMi2.Clear();
  const PageFetch fetch = FetchForPageWindow(*this, idhtpKeyWordMi, Trim(edtKworMiUrl.Text()));
  if (fetch.page) mmoKWordMi2.Add(*fetch.page);
  if (fetch.cut) SayPageWasCut();
}

// --- Page source ---

TFormSource::TFormSource() {
  SetCaption(Gbk("网页源代码"));
  SetWidth(515);
  SetHeight(500);
  SetBorderIcons(false, false);
  lbl2.SetCaption(Gbk("请输入网址，如：http://www.example.com/"));
  lbl2.SetBounds(16, 12, 400, 16);
  lbl1.SetCaption(Gbk("网站："));
  lbl1.SetBounds(16, 42, 40, 16);
  edtSource.SetText(kHomePageUrl);
  edtSource.SetBounds(58, 38, 320, 24);
  edtSource.SetAccessibleName(Gbk("网站"));
  edtSource.OnKeyPress = [this](char& key) { edtSourceKeyPress(key); };
  btnSourceDo.SetCaption(Gbk("查询"));
  btnSourceDo.SetBounds(392, 37, 80, 26);
  Bind(btnSourceDo, this, &TFormSource::btnSourceDoClick);
  mmoShowSource.SetBounds(0, 74, ClientWidth(), ClientHeight() - 74);
  mmoShowSource.SetAnchors(kAnchorAll);
  mmoShowSource.SetScrollBars(ScrollBars::Both);
  mmoShowSource.SetAccessibleName(Gbk("网页源代码"));
  PageWindowClient(idhtpSource);
}

void TFormSource::ShowSource(const std::string& url) {
  if (Busy()) return;
  mmoShowSource.Clear();
  PageFetch fetch;
  try {
    fetch = FetchForPageWindow(*this, idhtpSource, url);
  } catch (const NetError&) {
    // Not reported: the memo shows one empty line.
  }
  const std::string page = std::move(fetch.page).value_or(std::string());
  const std::string converted = Utf8ToAnsi(page);
  mmoShowSource.Add(converted.empty() ? page : converted);
  if (fetch.cut) SayPageWasCut();
}

void TFormSource::btnSourceDoClick() { ShowSource(Trim(edtSource.Text())); }

void TFormSource::edtSourceKeyPress(char& key) {
  if (key == 13) btnSourceDo.Click();
}

// --- Deletion lists ---

TFormDaoqi::TFormDaoqi() {
  SetCaption(Gbk("到期删除域名"));
  SetWidth(445);
  SetHeight(556);
  SetBorderIcons(false, false);
  struct ButtonDef {
    Button& button;
    const char* caption;
    void (TFormDaoqi::*handler)();
  };
  const ButtonDef buttons[] = {
      {btnDaoqi1, "明天拟删除域名", &TFormDaoqi::btnDaoqi1Click},
      {btnDaoqi2, "后天拟删除域名", &TFormDaoqi::btnDaoqi2Click},
      {btnDaoqi3, "今日删除域名", &TFormDaoqi::btnDaoqi3Click},
      {btnDaoqi4, "昨日删除域名", &TFormDaoqi::btnDaoqi4Click},
      {btnDaoqi5, "前天删除域名", &TFormDaoqi::btnDaoqi5Click},
  };
  for (int i = 0; i < 5; ++i) {
    buttons[i].button.SetCaption(Gbk(buttons[i].caption));
    buttons[i].button.SetBounds(12 + (i % 3) * 138, 12 + (i / 3) * 34, 130, 26);
    Bind(buttons[i].button, this, buttons[i].handler);
  }
  mmoShow.SetBounds(12, 84, ClientWidth() - 24, ClientHeight() - 96);
  mmoShow.SetAnchors(kAnchorAll);
  mmoShow.SetAccessibleName(Gbk("到期删除域名"));
  WindowClient(idhtpDaoqi);
}

void TFormDaoqi::OpenUrl(const std::string& address) { ShellOpen(address); }

void TFormDaoqi::btnDaoqi1Click() { OpenUrl(std::string(kDaoqiFolder) + "future1todayDel.txt"); }
void TFormDaoqi::btnDaoqi2Click() { OpenUrl(std::string(kDaoqiFolder) + "future2todayDel.txt"); }
void TFormDaoqi::btnDaoqi3Click() { OpenUrl(std::string(kDaoqiFolder) + "1todayDel.txt"); }
void TFormDaoqi::btnDaoqi4Click() { OpenUrl(std::string(kDaoqiFolder) + "2todayDel.txt"); }
void TFormDaoqi::btnDaoqi5Click() { OpenUrl(std::string(kDaoqiFolder) + "3todayDel.txt"); }

// --- About ---

TFormBanquan::TFormBanquan() {
  SetCaption(Gbk("关于"));
  SetBorderStyle(BorderStyle::Dialog);
  SetBorderIcons(false, false);
  SetClientSize(254, 71);
  mmoBan.SetAlign(Align::Client);
  mmoBan.SetColor(colors::ButtonFace);
  mmoBan.SetAccessibleName(Gbk("关于"));
  mmoBan.SetLines(GbkLines({"Orlu站长工具", "版本 0.901", "", "域名与站点查询的常用工具"}));
}

}  // namespace orlu
