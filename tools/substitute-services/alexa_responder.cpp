// The ranking service's XML data endpoint (data.alexa.com/data).
//
// The query's "url" value (percent-escaped on the wire) is the domain; the
// answer names it byte for byte as it arrived, blanks included. What comes
// back depends only on the domain and on how often it was asked:
//   - a name (the text before the first dot) starting with "none", or one
//     domain in five by its hash: the nothing-found page (no site list, no
//     rank);
//   - one domain in eight by its hash: the block page at the first two asks,
//     then its rank, so the program's later rounds see it through;
//   - every other domain: its data page with a rank derived from its hash.
// Each answer comes after 20 to 80 ms, as a busy service's would.
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "responder.h"

namespace {

using orlu::test::HttpReply;
using orlu::test::HttpRequest;

std::string Head(const std::string& domain) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<ALEXA VER=\"0.9\" URL=\"" +
         domain + "/\" HOME=\"0\" AID=\"=\" IDN=\"" + domain + "/\">";
}

std::string RankPage(const std::string& domain, uint32_t hash) {
  const uint32_t rank = 1 + hash % 2500000;
  const uint32_t reach = 1 + (hash / 7) % 3000000;
  const int delta = static_cast<int>((hash / 13) % 20001) - 10000;
  return Head(domain) + "<SD TITLE=\"A\" FLAGS=\"\" HOST=\"" + domain +
         "\"><LINKSIN NUM=\"" + std::to_string(hash % 9000) + "\"/><SPEED TEXT=\"" +
         std::to_string(300 + hash % 4000) + "\" PCT=\"" + std::to_string(hash % 100) +
         "\"/></SD><SD><POPULARITY URL=\"" + domain + "/\" TEXT=\"" + std::to_string(rank) +
         "\"/><REACH RANK=\"" + std::to_string(reach) + "\"/><RANK DELTA=\"" +
         (delta >= 0 ? "+" : "") + std::to_string(delta) + "\"/></SD></ALEXA>";
}

std::string NothingFoundPage(const std::string& domain) {
  return Head(domain) + "<RLS PREFIX=\"http://\" more=\"0\"></RLS><SD TITLE=\"A\" FLAGS=\"\" HOST=\"" +
         domain + "\"></SD></ALEXA>";
}

std::string BlockPage() {
  return "<html><head><title>Alexa</title></head><body>\r\n"
         "<p>We have noticed an unusual number of requests from your address.</p>\r\n"
         "<p><a href=\"/data\">Please click here to continue using Alexa</a></p>\r\n"
         "</body></html>";
}

struct AskCounts {
  std::mutex mutex;
  std::map<std::string, int> asked;
  int Next(const std::string& domain) {
    std::lock_guard lock(mutex);
    return ++asked[domain];
  }
};

void Install(orlu::substitute::Servers& s) {
  auto counts = std::make_shared<AskCounts>();
  s.http.OnHost("data.alexa.com", "/data", [counts](const HttpRequest& r) {
    const std::string domain = orlu::substitute::QueryValue(r, "url", true);
    const uint32_t hash = orlu::substitute::NameHash(domain);
    const auto delay = std::chrono::milliseconds(20 + hash % 61);
    const int asked = counts->Next(domain);
    if (domain.rfind("none", 0) == 0 || hash % 5 == 1) {
      return HttpReply::Ok(NothingFoundPage(domain), "text/xml").Delay(delay);
    }
    if (hash % 8 == 3 && asked <= 2) return HttpReply::Ok(BlockPage()).Delay(delay);
    return HttpReply::Ok(RankPage(domain, hash), "text/xml").Delay(delay);
  });
}

const orlu::substitute::Responder registered("ranking data", Install);

}  // namespace
