// The single-domain WHOIS window: a domain box, two buttons and the memo
// that shows the registry's reply whole.
#include "whois/whois_info_form.h"

#include <optional>

#include "platform/text/gbk.h"
#include "platform/thread/dispatcher.h"

namespace orlu {

TFormWhoisInfo* FormWhoisInfo = nullptr;

TFormWhoisInfo::TFormWhoisInfo() {
  SetCaption(Gbk("域名信息"));
  SetWidth(518);
  SetHeight(569);
  SetBorderIcons(false, false);
  BuildWhoisInfo();
}

void TFormWhoisInfo::BuildWhoisInfo() {
  lbl1.SetCaption(Gbk("域名："));
  lbl1.SetBounds(16, 20, 40, 13);
  edtWhois.SetText("example.com");
  edtWhois.SetBounds(56, 16, 220, 21);
  edtWhois.SetAccessibleName(Gbk("域名"));
  edtWhois.OnKeyPress = [this](char& key) { edtWhoisKeyPress(key); };
  btnBaseInfo.SetCaption(Gbk("基本查询"));
  btnBaseInfo.SetBounds(290, 14, 80, 25);
  btnBaseInfo.OnClick = [this] { btnBaseInfoClick(); };
  btnDetailInfo.SetCaption(Gbk("详细查询"));
  btnDetailInfo.SetBounds(380, 14, 80, 25);
  btnDetailInfo.OnClick = [this] { btnDetailInfoClick(); };
  mmoWhoisInfo.SetBounds(0, 56, ClientWidth(), ClientHeight() - 56);
  mmoWhoisInfo.SetAnchors(kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom);
  mmoWhoisInfo.SetScrollBars(ScrollBars::Vertical);
  mmoWhoisInfo.SetAccessibleName(Gbk("域名信息"));
}

std::string TFormWhoisInfo::AskKeepingWindowsAlive(const std::string& query) {
  // The program may end (its main window closed) while a server keeps this
  // window waiting: the question is then given up rather than holding the
  // end of the program until the server's time-out.
  const Application* app = Application::Instance();
  const bool endedBefore = app == nullptr || app->Terminated();
  Timer giveUp(100);
  giveUp.OnTimer = [this, app, endedBefore] {
    if (!endedBefore && app->Terminated()) m_thWhois.Client.Abort();
  };
  std::string reply;
  RunKeepingWindowsAlive([&] { reply = m_thWhois.Client.WhoIs(query); });
  return reply;
}

void TFormWhoisInfo::ShowBaseWhois(std::string domain) {
  if (m_thWhois.Busy()) return;  // a click while a question waits
  mmoWhoisInfo.Clear();
  const std::optional<std::string> text = m_thWhois.ShowBaseWhois(std::move(domain));
  if (text) mmoWhoisInfo.SetText(*text);
}

void TFormWhoisInfo::ShowDetailWhois(std::string domain) {
  if (m_thWhois.Busy()) return;
  mmoWhoisInfo.Clear();
  const std::optional<std::string> text = m_thWhois.ShowDetailWhois(std::move(domain));
  if (text) mmoWhoisInfo.SetText(*text);
}

std::string TFormWhoisInfo::CutWhoisServer(const std::string& reply) {
  return WhoisInfoQuery::CutWhoisServer(reply);
}

std::string TFormWhoisInfo::FindIanaServer(std::string domain) {
  if (m_thWhois.Busy()) return std::string(kNoWhoisServer);
  return m_thWhois.FindIanaServer(std::move(domain));
}

void TFormWhoisInfo::btnBaseInfoClick() { ShowBaseWhois(Trim(edtWhois.Text())); }

void TFormWhoisInfo::btnDetailInfoClick() { ShowDetailWhois(Trim(edtWhois.Text())); }

void TFormWhoisInfo::edtWhoisKeyPress(char& key) {
  if (key == 13) btnDetailInfo.Click();
}

}  // namespace orlu
