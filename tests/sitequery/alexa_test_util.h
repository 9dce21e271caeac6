// The ranking service's data endpoint as the ranking tests serve it: a
// substitute HTTP server on loopback that counts how often each domain is
// asked.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "sitequery/alexa_job.h"
#include "sitequery/alexa_rank.h"
#include "substitute-services/responder.h"
#include "substitute-services/servers/substitute_http.h"
#include "support/service_scope.h"

namespace orlu::test {

inline std::string RankPage(const std::string& domain, const std::string& rank) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<ALEXA VER=\"0.9\" URL=\"" + domain +
         "/\" HOME=\"0\" AID=\"=\">\r\n<SD TITLE=\"A\" FLAGS=\"\" HOST=\"" + domain +
         "\">\r\n<POPULARITY URL=\"" + domain + "/\" TEXT=\"" + rank + "\"/>\r\n</SD>\r\n</ALEXA>";
}

// A rank derived from the domain, so a row shows whose answer it holds.
inline std::string RankOf(const std::string& domain) {
  return std::to_string(std::hash<std::string>{}(domain) % 1000000);
}

// The domain a data request asks for, as the worker held it.
inline std::string AskedDomain(const HttpRequest& r) {
  if (r.Query().rfind("cli=10&dat=snba&url=", 0) != 0) return "?";
  return substitute::QueryValue(r, "url", true);
}

// prefix0.com, prefix1.com, ...
inline std::vector<std::string> Domains(int n, const std::string& prefix = "site") {
  std::vector<std::string> v;
  for (int i = 0; i < n; ++i) v.push_back(prefix + std::to_string(i) + ".com");
  return v;
}

// Whether every worker of the group has ended, or holds or has ended.
inline bool GroupEnded(const ThreadControlStru& job) {
  for (auto& t : job.Threads)
    if (t && !t->Finished()) return false;
  return true;
}
inline bool AllHeldOrEnded(const ThreadControlStru& job) {
  for (auto& t : job.Threads)
    if (t && !t->Finished() && !t->Held()) return false;
  return true;
}

// A substitute HTTP server on loopback that counts the requests of each key.
template <typename Key>
class CountingServer {
 public:
  int Asked(const Key& key) {
    std::lock_guard lock(mutex);
    auto it = asked.find(key);
    return it == asked.end() ? 0 : it->second;
  }
  std::map<Key, int> AskedAll() {
    std::lock_guard lock(mutex);
    return asked;
  }
  void ClearAsked() {
    std::lock_guard lock(mutex);
    asked.clear();
  }

 protected:
  int Note(const Key& key) {
    std::lock_guard lock(mutex);
    return ++asked[key];
  }

  // Before the server: its threads may still count while it stops.
  std::mutex mutex;
  std::map<Key, int> asked;

 public:
  SubstituteHttpServer http;
  ScopedServices services{&http};
};

class RankServer : public CountingServer<std::string> {
 public:
  // Every data request answered by `answer(domain, n)`, n counting the
  // domain's requests from 1.
  void Serve(std::function<HttpReply(const std::string&, int)> answer) {
    http.OnHost("data.alexa.com", "/data", [this, answer](const HttpRequest& r) {
      const std::string domain = AskedDomain(r);
      return answer(domain, Note(domain));
    });
  }
  void ServeRanks(std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
    Serve([delay](const std::string& d, int) { return HttpReply::Ok(RankPage(d, RankOf(d))).Delay(delay); });
  }
};

}  // namespace orlu::test
