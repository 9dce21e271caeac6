#include "sitequery/alexa_detail.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "platform/net/page_client.h"
#include "platform/text/codepage.h"
#include "platform/text/gbk.h"

namespace orlu {

TAlexaDetailView AlexaDetailView;

namespace {

constexpr std::string_view kSiteHost = "http://www.alexa.com";
constexpr std::string_view kDataHost = "http://data.alexa.com";
constexpr std::string_view kChartHost = "http://traffic.alexa.com";
constexpr std::string_view kDataQuery =
    "/data/qmRv52HtLw83Kx?cli=10&dat=snba&ver=7.0&cdt=alx_vw=20&wid=16865&act=00000000000"
    "&ss=1024x768&bw=775&t=0&ttl=1125&vis=1&rq=2&url=http://";

// The longest answers taken (a longer one is a failed fetch): the site
// page is tens of KB of HTML, the data a few KB of XML.
constexpr size_t kSitePageCap = 2u << 20;
constexpr size_t kDataCap = 1u << 20;
constexpr int kReadTimeoutMs = 10000;

// First match of an ASCII marker at a character boundary of `text`, npos
// when absent.
size_t Find(std::string_view text, std::string_view marker) {
  const int at = PosChar(marker, text);
  return at == 0 ? std::string_view::npos : static_cast<size_t>(at - 1);
}

// The cut every field uses: the text after the first `start` up to the next
// `end` (empty without one), trimmed. False when `start` is absent.
bool Cut(std::string_view text, std::string_view start, std::string_view end, std::string& out) {
  const size_t at = Find(text, start);
  if (at == std::string_view::npos) return false;
  const std::string_view rest = text.substr(at + start.size());
  const size_t stop = Find(rest, end);
  out = stop == std::string_view::npos ? std::string() : Trim(rest.substr(0, stop));
  return true;
}

// Every `from` in `text` replaced by `to`, left to right in one pass.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  for (;;) {
    const size_t at = Find(text, from);
    if (at == std::string_view::npos) break;
    out.append(text.substr(0, at));
    out.append(to);
    text.remove_prefix(at + from.size());
  }
  out.append(text);
  return out;
}

constexpr std::string_view kShare = "<span class=\"geo_number descbold\">";
constexpr std::string_view kName = "<span class=\"geo_country\">";
constexpr std::string_view kSpanEnd = "</span>";

// The shares and names of one list section: each share marker, then the
// name marker after it. A share without a following name ends the list.
void ParseShareList(std::string_view page, std::string_view sectionStart,
                    std::string_view sectionEnd, bool nameIsLink, std::vector<std::string>& names,
                    std::vector<std::string>& shares) {
  names.clear();
  shares.clear();
  std::string section;
  if (!Cut(page, sectionStart, sectionEnd, section)) return;
  std::string_view s = section;
  // After the value of the marker at `at`: past its "</span>", or past the
  // marker itself when none follows.
  auto after = [&s](size_t at, std::string_view marker) {
    const std::string_view rest = s.substr(at + marker.size());
    const size_t stop = Find(rest, kSpanEnd);
    return stop == std::string_view::npos ? rest : rest.substr(stop + kSpanEnd.size());
  };
  for (;;) {
    const size_t share = Find(s, kShare);
    if (share == std::string_view::npos) break;
    std::string value;
    Cut(s.substr(share), kShare, kSpanEnd, value);
    shares.push_back(std::move(value));
    s = after(share, kShare);
    const size_t name = Find(s, kName);
    if (name == std::string_view::npos) break;
    Cut(s.substr(name), kName, kSpanEnd, value);
    if (nameIsLink && Find(value, ">") != std::string_view::npos) {
      const std::string_view v = value;
      const std::string_view inner = v.substr(Find(v, ">") + 1);
      const size_t lt = Find(inner, "<");
      value = lt == std::string_view::npos ? std::string() : Trim(inner.substr(0, lt));
    }
    names.push_back(std::move(value));
    s = after(name, kName);
  }
}

}  // namespace

// --- Addresses ---

std::string NormalizeDetailDomain(std::string_view typed) {
  return ReplaceAll(LowerCase(Trim(typed)), "http://", "");
}

std::string AlexaSiteInfoUrl(const std::string& domain) {
  std::string url(kSiteHost);
  url.append("/siteinfo/");
  url.append(domain);
  return url;
}

std::string AlexaDetailDataUrl(const std::string& domain) {
  std::string url(kDataHost);
  url.append(kDataQuery);
  url.append(domain);
  return url;
}

std::string AlexaChartUrl(const std::string& range, const std::string& domain) {
  std::string url(kChartHost);
  url.append("/graph?w=700&h=280&r=");
  url.append(range);
  url.append("&y=t&u=");
  url.append(domain);
  return url;
}

std::string AlexaSitePageUrl(const std::string& path, const std::string& domain) {
  std::string url(kSiteHost);
  url.append(path);
  url.append(domain);
  return url;
}

// --- Numbers ---

bool ReadDecimal(std::string_view text, long double& value) {
  // Sign, digits with at most one point (a digit somewhere), then an
  // optional exponent with its own sign and digits.
  size_t i = 0;
  const size_t n = text.size();
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t start = i;
  size_t digits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    const size_t expDigits = j;
    while (j < n && text[j] >= '0' && text[j] <= '9') ++j;
    if (j == expDigits) return false;
    i = j;
  }
  if (i != n) return false;
  // from_chars takes no sign and no bare leading point; it reads the rest
  // without regard to the process's locale.
  std::string body(text.substr(start));
  if (body[0] == '.') body.insert(body.begin(), '0');
  long double v = 0;
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), v);
  // Beyond the extended range either way is no number.
  if (ec != std::errc() || end != body.data() + body.size()) return false;
  value = negative ? -v : v;
  return true;
}

std::string FormatGeneralFloat(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  // Fifteen significant digits, then laid out by the exponent.
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  const std::string_view text(buf, static_cast<size_t>(res.ptr - buf));
  const bool negative = text[0] == '-';
  const size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(negative ? 1 : 0, e - (negative ? 1 : 0))) {
    if (c != '.') digits += c;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  exponent);
  std::string out = negative ? "-" : "";
  if (exponent < -5 || exponent >= 15) {
    out += digits[0];
    if (digits.size() > 1) {
      out += '.';
      out.append(digits, 1);
    }
    out += 'E';
    out += std::to_string(exponent);
  } else if (exponent >= 0) {
    const size_t whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      out += digits;
      out.append(whole - digits.size(), '0');
    } else {
      out.append(digits, 0, whole);
      out += '.';
      out.append(digits, whole);
    }
  } else {
    out += "0.";
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out += digits;
  }
  return out;
}

// --- Cuts ---

void ParseSitePageHead(std::string_view page, const std::string& domain, CAlexaDetailInfo& info) {
  Cut(page, "<p style=\"margin-left: 48px;\">", "&nbsp;</p>", info.SiteTitle);
  info.SiteDomain = domain;
  if (!Cut(page, "<div class=\"data up\">", "</a></div>", info.RankChange)) {
    Cut(page, "<div class=\"data down\">", "</a></div>", info.RankChange);
  }
}

void ParseDetailXmlFields(std::string_view xml, CAlexaDetailInfo& info) {
  Cut(xml, "<EMAIL ADDR=\"", "\"/>", info.Email);
  Cut(xml, "\" TEXT=\"", "\"/>", info.Rank);
  Cut(xml, "<CREATED DATE=\"", "\" DAY", info.Created);
  Cut(xml, "COUNTRY=\"", "\" />", info.Country);
  Cut(xml, "CODE=\"", "\"/>", info.Encoding);
  if (Cut(xml, "<SPEED TEXT=\"", "\"/>", info.Speed)) {
    info.Speed = ReplaceAll(info.Speed, "\" PCT=\"", " Ms / ") + Gbk("分");
  }
  Cut(xml, "<CHILD SRATING=\"", "\"/>", info.AdultRating);
  Cut(xml, "<LINKSIN NUM=\"", "\"/>", info.LinksIn);
  Cut(xml, "<PHONE NUMBER=\"", "\"/>", info.Phone);
  if (Cut(xml, "<ADDR STREET=\"", "\" STATE=", info.Address)) {
    info.Address = ReplaceAll(info.Address, "\" CITY=\"", " ");
  }
  Cut(xml, "DESC=\"", "\">", info.Description);
}

void ParseRankStats(std::string_view page, CAlexaDetailInfo& info) {
  auto& s = info.RankStats;
  Cut(page, "<th>Yesterday</th><td>", "</td>", s[0]);
  s[1] = "-";
  Cut(page, "7 day avg</th><td>", "</td>", s[2]);
  s[3] = "-";
  Cut(page, "1 month avg</th><td>", "</td>", s[4]);
  s[5] = "-";
  Cut(page, "3 month avg</th><td>", "</td>", s[6]);
  Cut(page, "3 month change</th><td>", "<img", s[7]);
}

void ParseSubDomains(std::string_view page, CAlexaDetailInfo& info) {
  ParseShareList(page, "<h2>Where people go on", "<a id=\"toggleMoreTraffic\">", false,
                 info.SubSiteNames, info.SubSiteShares);
}

void ParseCountries(std::string_view page, CAlexaDetailInfo& info) {
  ParseShareList(page, "users come from these countries", "<a id=\"toggleMoreCountry\">More</a>",
                 true, info.CountryNames, info.CountryShares);
}

void ParseReachPv(std::string_view page, CAlexaDetailInfo& info) {
  constexpr std::string_view kWeek = "<th>7 day avg</th><td>";
  std::string reach;
  if (!Cut(page, "Percent of global Internet users who visit", "</table>", reach)) return;
  std::string cell;
  if (Cut(reach, kWeek, "%</td>", cell)) {
    long double r = 0;
    info.IpEstimate =
        ReadDecimal(cell, r) ? FormatGeneralFloat(static_cast<double>(r * 0.01L * 600000000.0L))
                             : "0";
  }
  std::string views;
  if (!Cut(page, "Daily pageviews per user for", "</table>", views)) return;
  if (!Cut(views, kWeek, "</td>", cell)) return;
  // The visitors estimate must be a whole 32-bit number.
  long double perUser = 0;
  int ip = 0;
  try {
    ip = StrToInt(info.IpEstimate);
  } catch (...) {
    info.PvEstimate = "-";
    return;
  }
  if (!ReadDecimal(cell, perUser)) {
    info.PvEstimate = "-";
    return;
  }
  info.PvEstimate = FormatGeneralFloat(static_cast<double>(static_cast<long double>(ip) * perUser));
}

// --- Worker ---

CAlexaDetail::CAlexaDetail(bool CreateSuspended, const std::string& Domain, int PageFlag)
    : Thread(CreateSuspended),
      Domain(NormalizeDetailDomain(Domain)),
      PageFlag(PageFlag),
      generation_(AlexaDetailView.Generation) {}

CAlexaDetail::~CAlexaDetail() {
  // Execute uses this object's members: end it while they still exist.
  AbortTransfer();
  StopAndWait();
}

void CAlexaDetail::ParseAlexaDetail(std::string_view page, std::string_view xml) {
  ParseDetailXml(page, xml);
  if (PageFlag != 0) return;
  ParseRankStats(page, Result);
  ParseSubDomains(page, Result);
  ParseReachPv(page, Result);
  ParseCountries(page, Result);
}

void CAlexaDetail::ParseDetailXml(std::string_view page, std::string_view xml) {
  if (PageFlag == 0) {
    ParseSitePageHead(page, Domain, Result);
  } else {
    ParseDetailXmlFields(xml, Result);
  }
}

namespace {

void Write(DetailField* field, const std::string& text) {
  if (field != nullptr) field->SetText(text);
}

void FillList(RowStore* list, const std::vector<std::string>& names,
              const std::vector<std::string>& shares) {
  if (list == nullptr) return;
  list->Clear();
  std::vector<ListRow> rows;
  for (size_t i = 0; i < names.size(); ++i) {
    rows.push_back({Trim(names[i]), {i < shares.size() ? Trim(shares[i]) : std::string()}});
  }
  list->AddRows(std::move(rows));
}

}  // namespace

void CAlexaDetail::ShowAlexaDetail() {
  TAlexaDetailView& v = AlexaDetailView;
  if (v.Generation != generation_) return;
  const CAlexaDetailInfo& r = Result;
  if (PageFlag == 0) {
    Write(v.Edits[0], r.SiteTitle);
    Write(v.Edits[1], r.SiteDomain);
    Write(v.Edits[4], r.RankChange);
    for (size_t k = 0; k < r.RankStats.size(); ++k) Write(v.RankEdits[k], r.RankStats[k]);
    FillList(v.TrafficLv, r.SubSiteNames, r.SubSiteShares);
    Write(v.IpEdit, r.IpEstimate);
    Write(v.PvEdit, r.PvEstimate);
    FillList(v.CountryLv, r.CountryNames, r.CountryShares);
    if (v.QueryButton != nullptr) {
      v.QueryButton->SetEnabled(true);
      v.QueryButton->SetText(Gbk("查询"));
    }
    return;
  }
  const std::string* fields[] = {&r.Email,    &r.Rank,        &r.Created, &r.Country,
                                 &r.Encoding, &r.Speed,       &r.AdultRating, &r.LinksIn,
                                 &r.Phone,    &r.Address,     &r.Description};
  // edtAD3, edtAD4, then edtAD6 .. edtAD14.
  const int edits[] = {2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  for (size_t k = 0; k < std::size(edits); ++k) Write(v.Edits[edits[k]], *fields[k]);
}

void CAlexaDetail::ShowAlexaDetailFail() {
  if (AlexaDetailView.Generation != generation_) return;
  Write(AlexaDetailView.FailLabel, Gbk("部分查询失败，请检查网络并重查"));
}

void CAlexaDetail::AbortTransfer() { transfer_.Abort(); }

void CAlexaDetail::Execute() {
  PageClient client;
  client.UseBrowserHeaders();
  client.HandleRedirects = true;
  client.ReadTimeout = kReadTimeoutMs;
  client.MaxBody = PageFlag == 0 ? kSitePageCap : kDataCap;
  if (!transfer_.Attach(client)) {
    transfer_.Detach();
    return;
  }
  std::string page;
  std::string xml;
  bool failed = false;
  try {
    std::string& text = PageFlag == 0 ? page : xml;
    text = Utf8ToAnsiLenient(client.Get(PageFlag == 0 ? AlexaSiteInfoUrl(Domain)
                                                      : AlexaDetailDataUrl(Domain)));
  } catch (...) {
    failed = true;
  }
  // A stop is no answer: nothing is shown.
  if (transfer_.Detach()) return;
  ParseAlexaDetail(page, xml);
  Synchronize([this] { ShowAlexaDetail(); });
  if (failed) Synchronize([this] { ShowAlexaDetailFail(); });
}

// --- Job ---

AlexaDetailJob::~AlexaDetailJob() { EndAll(); }

void AlexaDetailJob::Start(const std::string& typedDomain) {
  ++AlexaDetailView.Generation;
  // Older queries' answers would be dropped anyway: stop their transfers,
  // and release the workers that have ended.
  workers_.DropFinished();
  workers_.ForEach([](CAlexaDetail& w) {
    w.AbortTransfer();
    w.Terminate();
  });
  InitNetwork();
  for (int flag = 0; flag < 2; ++flag) {
    workers_.Start(std::make_unique<CAlexaDetail>(false, typedDomain, flag));
  }
}

void AlexaDetailJob::EndAll() {
  workers_.ForEach([](CAlexaDetail& w) { w.AbortTransfer(); });
  workers_.Stop();
}

bool AlexaDetailJob::Running() const { return workers_.Running(); }

}  // namespace orlu
