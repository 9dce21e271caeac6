#include "substitute-services/servers/substitute_whois.h"

#include <map>
#include <mutex>

#include "substitute-services/servers/loopback_server.h"
#include "substitute-services/servers/request_log.h"

namespace orlu::test {

namespace {
constexpr size_t kMaxQuery = 64 * 1024;
constexpr auto kClientWait = std::chrono::seconds(30);
}  // namespace

WhoisReply WhoisReply::Text(std::string body) {
  WhoisReply r;
  r.body = std::move(body);
  return r;
}

WhoisReply WhoisReply::Hang() {
  WhoisReply r;
  r.hang = true;
  return r;
}

WhoisReply& WhoisReply::Delay(std::chrono::milliseconds d) {
  delay = d;
  return *this;
}

WhoisReply& WhoisReply::Drip(size_t bytes, std::chrono::milliseconds every) {
  dripBytes = bytes;
  dripEvery = every;
  return *this;
}

WhoisReply& WhoisReply::KeepOpen() {
  keepOpen = true;
  return *this;
}

struct SubstituteWhoisServer::Impl {
  mutable std::mutex mutex;  // guards the routes
  RequestLog<WhoisRequest> log;
  std::map<std::string, WhoisResponder> exact;
  std::vector<WhoisMaybeResponder> responders;
  WhoisResponder fallback;
  std::unique_ptr<LoopbackServer> server;

  WhoisReply Choose(const WhoisRequest& req) {
    WhoisResponder chosen;
    std::vector<WhoisMaybeResponder> maybes;
    {
      std::lock_guard<std::mutex> lock(mutex);
      auto it = exact.find(req.query);
      if (it != exact.end()) {
        chosen = it->second;
      } else {
        maybes = responders;
        chosen = fallback;
      }
    }
    try {
      for (auto& m : maybes) {
        if (auto r = m(req)) return *r;
      }
      if (chosen) return chosen(req);
    } catch (...) {
    }
    return WhoisReply{};
  }

  void Serve(LoopbackConnection& conn) {
    WhoisRequest req;
    bool eof = false;
    while (req.raw.find('\n') == std::string::npos && req.raw.size() < kMaxQuery) {
      if (!conn.Read(req.raw, kClientWait, eof)) {
        if (!eof) return;  // stopped or client gone silent
        break;
      }
    }
    req.query = req.raw;
    if (!req.query.empty() && req.query.back() == '\n') req.query.pop_back();
    if (!req.query.empty() && req.query.back() == '\r') req.query.pop_back();
    log.Record(req);

    WhoisReply reply = Choose(req);
    if (reply.hang) {
      conn.WaitForStop();
      return;
    }
    if (!conn.SendPaced(reply.body, reply.delay, reply.dripBytes, reply.dripEvery)) return;
    if (reply.keepOpen) conn.WaitForStop();
  }
};

SubstituteWhoisServer::SubstituteWhoisServer() : impl_(std::make_unique<Impl>()) {
  Impl* impl = impl_.get();
  impl_->server = std::make_unique<LoopbackServer>([impl](LoopbackConnection& c) { impl->Serve(c); });
}

SubstituteWhoisServer::~SubstituteWhoisServer() { impl_->server->Stop(); }

uint16_t SubstituteWhoisServer::Port() const { return impl_->server->Port(); }

std::string SubstituteWhoisServer::HostPort() const { return "127.0.0.1:" + std::to_string(Port()); }

void SubstituteWhoisServer::On(const std::string& query, WhoisReply reply) {
  On(query, [reply](const WhoisRequest&) { return reply; });
}

void SubstituteWhoisServer::On(const std::string& query, WhoisResponder responder) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->exact[query] = std::move(responder);
}

void SubstituteWhoisServer::OnSequence(const std::string& query, std::vector<WhoisReply> replies) {
  On(query, ReplySequence<WhoisRequest>(std::move(replies)));
}

void SubstituteWhoisServer::AddResponder(WhoisMaybeResponder responder) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->responders.push_back(std::move(responder));
}

void SubstituteWhoisServer::Fallback(WhoisResponder responder) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->fallback = std::move(responder);
}

void SubstituteWhoisServer::Observe(std::function<void(const WhoisRequest&)> observer) {
  impl_->log.Observe(std::move(observer));
}

std::vector<WhoisRequest> SubstituteWhoisServer::Requests() const { return impl_->log.All(); }
std::vector<std::string> SubstituteWhoisServer::Queries() const {
  std::vector<std::string> queries;
  for (const WhoisRequest& r : Requests()) queries.push_back(r.query);
  return queries;
}

size_t SubstituteWhoisServer::RequestCount() const { return impl_->log.Count(); }
WhoisRequest SubstituteWhoisServer::LastRequest() const { return impl_->log.Last(); }
void SubstituteWhoisServer::ClearRequests() { impl_->log.Clear(); }

bool SubstituteWhoisServer::WaitForRequests(size_t n, std::chrono::milliseconds timeout) const {
  return impl_->log.WaitFor(n, timeout);
}

}  // namespace orlu::test
