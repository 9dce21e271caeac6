// The ranking service's site information page (www.alexa.com/siteinfo/),
// its detailed XML data (data.alexa.com/data/<key>) and its traffic charts
// (traffic.alexa.com/graph).
//
// Every figure comes from the domain, so each domain keeps its report from
// one run to the next: a title, a contact block, the rank table, sub-sites,
// countries, reach and page views, and a rank curve per chart range. A name
// (the text before the first dot) starting with "none" gets pages without
// any figures. Pages are UTF-8; charts are 700 x 280 PNG pictures.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "responder.h"

namespace {

using orlu::substitute::NameHash;
using orlu::test::HttpReply;
using orlu::test::HttpRequest;

// Text after `key` in the target (the domain is last and may hold "&").
std::string After(const std::string& target, std::string_view key) {
  const size_t at = target.find(key);
  return at == std::string::npos ? std::string() : orlu::substitute::PercentDecoded(target.substr(at + key.size()));
}

bool Empty(const std::string& domain) { return domain.rfind("none", 0) == 0; }

std::string Grouped(uint32_t v) {
  std::string digits = std::to_string(v), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string Fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

uint32_t RankOf(uint32_t hash) { return 1 + hash % 250000; }

std::string SitePage(const std::string& domain) {
  const std::string head = "<html><head><meta charset=\"utf-8\"><title>" + domain +
                           " - Site Information</title></head><body>\n";
  if (Empty(domain)) return head + "<p>We don't have enough data to rank this website.</p></body></html>\n";
  const uint32_t h = NameHash(domain);
  const uint32_t rank = RankOf(h);
  const bool up = h % 3 != 0;
  // The averages drift a little from yesterday's rank.
  auto near = [&](int salt) { return Grouped(rank + NameHash(domain + char('a' + salt)) % (rank / 8 + 40)); };
  const double reach = 0.0005 + (h % 40000) / 100000.0;
  const double views = 1.5 + (h / 7 % 80) / 10.0;
  const char* names[] = {"www", "bbs", "mail", "blog", "news"};
  const double shares[] = {52.1, 21.4, 12.7, 8.3, 5.5};
  const char* countries[] = {"中国", "美国", "日本", "香港", "韩国"};
  const double countryShares[] = {71.3, 9.8, 6.2, 4.9, 2.1};

  std::string p = head;
  p += "<p style=\"margin-left: 48px;\">" + domain + " 示例网站 - 站长之家&nbsp;</p>\n";
  p += std::string(up ? "<div class=\"data up\">" : "<div class=\"data down\">") +
       Grouped(1 + h % 5000) + "</a></div>\n";
  p += "<table id=\"rank\"><tr><th>Yesterday</th><td>" + Grouped(rank) + "</td></tr>\n";
  p += "<tr><th>7 day avg</th><td>" + near(1) + "</td></tr>\n";
  p += "<tr><th>1 month avg</th><td>" + near(2) + "</td></tr>\n";
  p += "<tr><th>3 month avg</th><td>" + near(3) + "</td></tr>\n";
  p += "<tr><th>3 month change</th><td>" + std::string(up ? "+" : "-") +
       Grouped(h % 9000) + " <img src=\"/images/arrow.gif\"></td></tr></table>\n";
  p += "<h3>Reach</h3><p>Percent of global Internet users who visit " + domain + ":</p>\n";
  p += "<table><tr><th>Yesterday</th><td>" + Fixed(reach * 1.03, 5) + "%</td></tr>";
  p += "<tr><th>7 day avg</th><td>" + Fixed(reach, 5) + "%</td></tr></table>\n";
  p += "<h3>Pageviews</h3><p>Daily pageviews per user for " + domain + ":</p>\n";
  p += "<table><tr><th>7 day avg</th><td>" + Fixed(views, 1) + "</td></tr></table>\n";
  p += "<h2>Where people go on " + domain + "</h2><table>\n";
  for (int i = 0; i < 5; ++i) {
    p += "<tr><td><span class=\"geo_number descbold\">" + Fixed(shares[i], 1) +
         "%</span></td><td><span class=\"geo_country\">" + names[i] + "." + domain +
         "</span></td></tr>\n";
  }
  p += "</table><a id=\"toggleMoreTraffic\">More</a>\n";
  p += "<h2>Audience</h2><p>" + domain + " users come from these countries:</p><table>\n";
  for (int i = 0; i < 5; ++i) {
    p += "<tr><td><span class=\"geo_number descbold\">" + Fixed(countryShares[i], 1) +
         "%</span></td><td><span class=\"geo_country\"><a href=\"/topsites/countries/" +
         std::to_string(i) + "\">" + countries[i] + "</a></span></td></tr>\n";
  }
  p += "</table><a id=\"toggleMoreCountry\">More</a>\n</body></html>\n";
  return p;
}

std::string DataPage(const std::string& domain) {
  std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ALEXA VER=\"0.9\" URL=\"" +
                  domain + "/\" HOME=\"0\" AID=\"=\">\r\n";
  if (Empty(domain)) return x + "<RLS PREFIX=\"http://\" more=\"0\"></RLS></ALEXA>\r\n";
  const uint32_t h = NameHash(domain);
  const char* months[] = {"Jan", "Mar", "May", "Jul", "Sep", "Nov"};
  x += "<DMOZ><SITE BASE=\"" + domain + "/\" TITLE=\"" + domain + "\" DESC=\"" + domain +
       " 提供新闻、论坛与邮件服务的综合性网站\"></SITE></DMOZ>\r\n";
  x += "<SD TITLE=\"A\" FLAGS=\"\" HOST=\"" + domain + "\"><TITLE TEXT=\"" + domain + "\"/>\r\n";
  x += "<ADDR STREET=\"" + std::to_string(1 + h % 300) + " 中关村大街\" CITY=\"北京\" STATE=\"BJ\" ZIP=\"100080\" COUNTRY=\"CN\" />\r\n";
  x += "<CREATED DATE=\"" + std::to_string(1 + h % 28) + "-" + months[h % 6] + "-" +
       std::to_string(1996 + h % 15) + "\" DAY=\"01\" MONTH=\"01\" YEAR=\"2000\"/>\r\n";
  x += "<PHONE NUMBER=\"+86 10 " + std::to_string(60000000 + h % 9999999) + "\"/>\r\n";
  x += "<OWNER NAME=\"" + domain + "\"/><EMAIL ADDR=\"webmaster@" + domain + "\"/>\r\n";
  x += "<LANG LEX=\"zh\" CODE=\"utf-8\"/><LINKSIN NUM=\"" + std::to_string(h % 90000) + "\"/>\r\n";
  x += "<SPEED TEXT=\"" + std::to_string(300 + h % 4000) + "\" PCT=\"" + std::to_string(h % 100) +
       "\"/><CHILD SRATING=\"0\"/></SD>\r\n";
  x += "<SD><POPULARITY URL=\"" + domain + "/\" TEXT=\"" + std::to_string(RankOf(h)) +
       "\"/><REACH RANK=\"" + std::to_string(RankOf(h) + 17) + "\"/></SD></ALEXA>\r\n";
  return x;
}

// --- PNG pictures, written with stored (uncompressed) deflate blocks ---

uint32_t Crc32(std::string_view bytes) {
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    c ^= b;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

void Be32(std::string& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out += static_cast<char>((v >> s) & 0xFF);
}

void Chunk(std::string& png, const char* type, const std::string& data) {
  Be32(png, static_cast<uint32_t>(data.size()));
  const std::string body = type + data;
  png += body;
  Be32(png, Crc32(body));
}

// An 8-bit indexed picture.
std::string Png(int width, int height, const std::vector<uint8_t>& pixels,
                const std::vector<uint32_t>& palette) {
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string ihdr;
  Be32(ihdr, static_cast<uint32_t>(width));
  Be32(ihdr, static_cast<uint32_t>(height));
  ihdr += std::string("\x08\x03\x00\x00\x00", 5);
  Chunk(png, "IHDR", ihdr);
  std::string plte;
  for (uint32_t c : palette) {
    plte += static_cast<char>(c >> 16);
    plte += static_cast<char>(c >> 8);
    plte += static_cast<char>(c);
  }
  Chunk(png, "PLTE", plte);
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // no filter
    raw.append(reinterpret_cast<const char*>(&pixels[static_cast<size_t>(y) * width]), width);
  }
  std::string z = "\x78\x01";
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  for (size_t at = 0; at < raw.size(); at += 65535) {
    const size_t n = std::min<size_t>(65535, raw.size() - at);
    z += static_cast<char>(at + n == raw.size() ? 1 : 0);
    z += static_cast<char>(n & 0xFF);
    z += static_cast<char>(n >> 8);
    z += static_cast<char>(~n & 0xFF);
    z += static_cast<char>((~n >> 8) & 0xFF);
    z.append(raw, at, n);
  }
  Be32(z, (b << 16) | a);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", "");
  return png;
}

// The rank curve of a domain over a range: a walk made from the name, on
// a grid, with the better ranks at the top.
std::string Chart(const std::string& domain, const std::string& range) {
  constexpr int kW = 700, kH = 280, kLeft = 50, kTop = 20, kRight = 690, kBottom = 250;
  enum : uint8_t { kWhite, kGrid, kAxis, kCurve, kFill };
  std::vector<uint8_t> px(static_cast<size_t>(kW) * kH, kWhite);
  auto put = [&](int x, int y, uint8_t c) {
    if (x >= 0 && x < kW && y >= 0 && y < kH) px[static_cast<size_t>(y) * kW + x] = c;
  };
  for (int y = kTop; y <= kBottom; y += 46) {
    for (int x = kLeft; x <= kRight; ++x) put(x, y, kGrid);
  }
  for (int x = kLeft; x <= kRight; x += 64) {
    for (int y = kTop; y <= kBottom; ++y) put(x, y, kGrid);
  }
  if (!Empty(domain)) {
    uint32_t seed = NameHash(domain + "|" + range);
    double level = 0.3 + (seed % 40) / 100.0;
    double drift = 0;
    int lastY = -1;
    for (int x = kLeft; x <= kRight; ++x) {
      seed = seed * 1664525u + 1013904223u;
      drift = drift * 0.92 + (static_cast<int>((seed >> 16) % 1000) - 500) / 60000.0;
      level += drift;
      if (level < 0.05 || level > 0.95) drift = -drift / 2;
      level = level < 0.05 ? 0.05 : level > 0.95 ? 0.95 : level;
      const int y = kTop + static_cast<int>(level * (kBottom - kTop));
      for (int f = y + 2; f < kBottom; ++f) put(x, f, kFill);
      const int from = lastY < 0 ? y : std::min(lastY, y), to = lastY < 0 ? y : std::max(lastY, y);
      for (int k = from; k <= to; ++k) put(x, k, kCurve), put(x, k + 1, kCurve);
      lastY = y;
    }
  }
  for (int x = kLeft; x <= kRight; ++x) put(x, kBottom, kAxis);
  for (int y = kTop; y <= kBottom; ++y) put(kLeft, y, kAxis);
  return Png(kW, kH, px, {0xFFFFFF, 0xE4E8EE, 0x606870, 0x1F5FBF, 0xDCE8F8});
}

void Install(orlu::substitute::Servers& s) {
  s.http.OnHost("www.alexa.com", "/siteinfo/", [](const HttpRequest& r) {
    const std::string domain = After(r.target, "/siteinfo/");
    const auto delay = std::chrono::milliseconds(60 + NameHash(domain) % 120);
    return HttpReply::Ok(SitePage(domain), "text/html; charset=utf-8").Delay(delay);
  });
  s.http.OnHost("data.alexa.com", "/data/", [](const HttpRequest& r) {
    const std::string domain = After(r.target, "&url=http://");
    const auto delay = std::chrono::milliseconds(40 + NameHash(domain) % 80);
    return HttpReply::Ok(DataPage(domain), "text/xml").Delay(delay);
  });
  s.http.OnHost("traffic.alexa.com", "/graph", [](const HttpRequest& r) {
    const std::string range = After(r.target.substr(0, r.target.find("&y=")), "&r=");
    return HttpReply::Ok(Chart(After(r.target, "&u="), range), "image/png")
        .Delay(std::chrono::milliseconds(100));
  });
}

const orlu::substitute::Responder registered("ranking detail", Install);

}  // namespace
