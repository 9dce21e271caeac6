#include "substitute-services/servers/substitute_http.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>

#include "platform/text/gbk.h"
#include "substitute-services/servers/loopback_server.h"
#include "substitute-services/servers/request_log.h"

namespace orlu::test {

namespace {

bool SameName(const std::string& a, const std::string& b) { return LowerCase(a) == LowerCase(b); }

const char* Phrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return "Status";
  }
}

constexpr size_t kMaxHead = 64 * 1024;
constexpr size_t kMaxBody = 16 * 1024 * 1024;
constexpr auto kClientWait = std::chrono::seconds(30);

// Parses the head (without the final blank line). False if malformed.
bool ParseHead(const std::string& head, HttpRequest& req) {
  size_t eol = head.find('\n');
  std::string line = head.substr(0, eol);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  req.requestLine = line;
  size_t sp1 = line.find(' ');
  size_t sp2 = line.rfind(' ');
  if (sp1 == std::string::npos || sp2 == sp1) return false;
  req.method = line.substr(0, sp1);
  req.target = line.substr(sp1 + 1, sp2 - sp1 - 1);
  req.version = line.substr(sp2 + 1);
  size_t pos = eol == std::string::npos ? head.size() : eol + 1;
  while (pos < head.size()) {
    size_t e = head.find('\n', pos);
    if (e == std::string::npos) e = head.size();
    std::string h = head.substr(pos, e - pos);
    if (!h.empty() && h.back() == '\r') h.pop_back();
    pos = e + 1;
    if (h.empty()) continue;
    size_t colon = h.find(':');
    if (colon == std::string::npos) return false;
    std::string value = h.substr(colon + 1);
    size_t b = value.find_first_not_of(" \t");
    value = b == std::string::npos ? std::string() : value.substr(b);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
    req.headers.emplace_back(h.substr(0, colon), value);
  }
  return true;
}

struct Route {
  std::string host;  // lower-case; empty: any host
  std::string key;   // exact target or prefix
  HttpResponder responder;
};

}  // namespace

// ---- HttpRequest ----

std::vector<std::string> HttpRequest::HeaderNames() const {
  std::vector<std::string> names;
  for (auto& h : headers) names.push_back(h.first);
  return names;
}

std::string HttpRequest::Header(const std::string& name) const {
  for (auto& h : headers)
    if (SameName(h.first, name)) return h.second;
  return {};
}

bool HttpRequest::HasHeader(const std::string& name) const {
  for (auto& h : headers)
    if (SameName(h.first, name)) return true;
  return false;
}

std::string HttpRequest::Host() const {
  std::string h = Header("Host");
  if (!h.empty() && h[0] == '[') {
    size_t close = h.find(']');
    return LowerCase(h.substr(0, close == std::string::npos ? h.size() : close + 1));
  }
  size_t colon = h.find(':');
  return LowerCase(h.substr(0, colon));
}

std::string HttpRequest::Path() const { return target.substr(0, target.find('?')); }

std::string HttpRequest::Query() const {
  size_t q = target.find('?');
  return q == std::string::npos ? std::string() : target.substr(q + 1);
}

// ---- HttpReply ----

HttpReply HttpReply::Ok(std::string body, std::string contentType) {
  HttpReply r;
  if (!contentType.empty()) r.headers.emplace_back("Content-Type", std::move(contentType));
  r.body = std::move(body);
  return r;
}

HttpReply HttpReply::Status(int status, std::string body) {
  HttpReply r;
  r.status = status;
  r.body = std::move(body);
  return r;
}

HttpReply HttpReply::Redirect(std::string location, int status) {
  HttpReply r;
  r.status = status;
  r.headers.emplace_back("Location", std::move(location));
  return r;
}

HttpReply HttpReply::Raw(std::string bytes) {
  HttpReply r;
  r.raw = std::move(bytes);
  return r;
}

HttpReply HttpReply::Hang() {
  HttpReply r;
  r.hang = true;
  return r;
}

HttpReply& HttpReply::Header(std::string name, std::string value) {
  headers.emplace_back(std::move(name), std::move(value));
  return *this;
}

HttpReply& HttpReply::Delay(std::chrono::milliseconds d) {
  delay = d;
  return *this;
}

HttpReply& HttpReply::Drip(size_t bytes, std::chrono::milliseconds every) {
  dripBytes = bytes;
  dripEvery = every;
  return *this;
}

HttpReply& HttpReply::CloseEarly(size_t bodyBytes) {
  closeAfterBody = bodyBytes;
  return *this;
}

HttpReply& HttpReply::NoContentLength() {
  contentLength = false;
  return *this;
}

std::string HttpReply::Serialize() const {
  if (raw) return *raw;
  std::string out = "HTTP/1.1 " + std::to_string(status) + " " + Phrase(status) + "\r\n";
  bool haveLength = false, haveConnection = false;
  for (auto& h : headers) {
    if (SameName(h.first, "Content-Length")) haveLength = true;
    if (SameName(h.first, "Connection")) haveConnection = true;
    out += h.first + ": " + h.second + "\r\n";
  }
  if (contentLength && !haveLength) out += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  if (!haveConnection) out += "Connection: close\r\n";
  out += "\r\n";
  out += body;
  return out;
}

// ---- server ----

struct SubstituteHttpServer::Impl {
  mutable std::mutex mutex;  // guards the routes
  RequestLog<HttpRequest> log;
  std::vector<Route> hostRoutes;
  std::map<std::string, HttpResponder> exact;
  std::vector<Route> prefixes;
  std::vector<HttpMaybeResponder> responders;
  std::unique_ptr<LoopbackServer> server;

  HttpReply Choose(const HttpRequest& req) {
    HttpResponder chosen;
    std::vector<HttpMaybeResponder> maybes;
    {
      std::lock_guard<std::mutex> lock(mutex);
      std::string host = req.Host();
      size_t best = 0;
      for (auto& r : hostRoutes) {
        if (r.host == host && req.target.compare(0, r.key.size(), r.key) == 0 &&
            (!chosen || r.key.size() > best)) {
          chosen = r.responder;
          best = r.key.size();
        }
      }
      if (!chosen) {
        auto it = exact.find(req.target);
        if (it != exact.end()) chosen = it->second;
      }
      if (!chosen) {
        for (auto& r : prefixes) {
          if (req.target.compare(0, r.key.size(), r.key) == 0 && (!chosen || r.key.size() > best)) {
            chosen = r.responder;
            best = r.key.size();
          }
        }
      }
      if (!chosen) maybes = responders;
    }
    try {
      for (auto& m : maybes) {
        if (auto r = m(req)) return *r;
      }
      if (chosen) return chosen(req);
      return HttpReply::Status(404, "not found");
    } catch (const std::exception& e) {
      return HttpReply::Status(500, std::string("responder failed: ") + e.what());
    }
  }

  void Serve(LoopbackConnection& conn) {
    std::string data;
    size_t headEnd = std::string::npos, sepLen = 0;
    bool eof = false;
    while (headEnd == std::string::npos) {
      if (data.size() > kMaxHead) return;
      if (!conn.Read(data, kClientWait, eof)) return;
      size_t a = data.find("\r\n\r\n");
      size_t b = data.find("\n\n");
      if (a != std::string::npos && (b == std::string::npos || a < b)) {
        headEnd = a;
        sepLen = 4;
      } else if (b != std::string::npos) {
        headEnd = b;
        sepLen = 2;
      }
    }
    HttpRequest req;
    req.rawHead = data.substr(0, headEnd + sepLen);
    if (!ParseHead(data.substr(0, headEnd), req)) {
      conn.Send(HttpReply::Status(400, "bad request").Serialize());
      return;
    }
    std::string rest = data.substr(headEnd + sepLen);
    std::string lengthText = req.Header("Content-Length");
    if (!lengthText.empty()) {
      size_t length = std::strtoull(lengthText.c_str(), nullptr, 10);
      if (length > kMaxBody) return;
      while (rest.size() < length) {
        if (!conn.Read(rest, kClientWait, eof)) return;
      }
      req.body = rest.substr(0, length);
    }
    log.Record(req);

    HttpReply reply = Choose(req);
    if (reply.hang) {
      conn.WaitForStop();
      return;
    }
    std::string wire = reply.Serialize();
    if (reply.closeAfterBody && !reply.raw) {
      size_t head = wire.size() - reply.body.size();
      wire.resize(head + std::min(*reply.closeAfterBody, reply.body.size()));
    }
    if (reply.closeAfter && *reply.closeAfter < wire.size()) wire.resize(*reply.closeAfter);
    conn.SendPaced(wire, reply.delay, reply.dripBytes, reply.dripEvery);
  }
};

SubstituteHttpServer::SubstituteHttpServer() : impl_(std::make_unique<Impl>()) {
  Impl* impl = impl_.get();
  impl_->server = std::make_unique<LoopbackServer>([impl](LoopbackConnection& c) { impl->Serve(c); });
}

SubstituteHttpServer::~SubstituteHttpServer() { impl_->server->Stop(); }

uint16_t SubstituteHttpServer::Port() const { return impl_->server->Port(); }

std::string SubstituteHttpServer::HostPort() const { return "127.0.0.1:" + std::to_string(Port()); }

std::string SubstituteHttpServer::Url(const std::string& target) const {
  return "http://" + HostPort() + target;
}

void SubstituteHttpServer::On(const std::string& target, HttpReply reply) {
  On(target, [reply](const HttpRequest&) { return reply; });
}

void SubstituteHttpServer::On(const std::string& target, HttpResponder responder) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->exact[target] = std::move(responder);
}

void SubstituteHttpServer::OnSequence(const std::string& target, std::vector<HttpReply> replies) {
  On(target, ReplySequence<HttpRequest>(std::move(replies)));
}

void SubstituteHttpServer::OnPrefix(const std::string& prefix, HttpReply reply) {
  OnPrefix(prefix, [reply](const HttpRequest&) { return reply; });
}

void SubstituteHttpServer::OnPrefix(const std::string& prefix, HttpResponder responder) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  for (auto& r : impl_->prefixes) {
    if (r.key == prefix) {
      r.responder = std::move(responder);
      return;
    }
  }
  impl_->prefixes.push_back({"", prefix, std::move(responder)});
}

void SubstituteHttpServer::OnHost(const std::string& host, const std::string& pathPrefix, HttpReply reply) {
  OnHost(host, pathPrefix, [reply](const HttpRequest&) { return reply; });
}

void SubstituteHttpServer::OnHost(const std::string& host, const std::string& pathPrefix,
                                  HttpResponder responder) {
  std::string h = LowerCase(host);
  std::lock_guard<std::mutex> lock(impl_->mutex);
  for (auto& r : impl_->hostRoutes) {
    if (r.host == h && r.key == pathPrefix) {
      r.responder = std::move(responder);
      return;
    }
  }
  impl_->hostRoutes.push_back({h, pathPrefix, std::move(responder)});
}

void SubstituteHttpServer::AddResponder(HttpMaybeResponder responder) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  impl_->responders.push_back(std::move(responder));
}

void SubstituteHttpServer::Observe(std::function<void(const HttpRequest&)> observer) {
  impl_->log.Observe(std::move(observer));
}

std::vector<HttpRequest> SubstituteHttpServer::Requests() const { return impl_->log.All(); }
size_t SubstituteHttpServer::RequestCount() const { return impl_->log.Count(); }
HttpRequest SubstituteHttpServer::LastRequest() const { return impl_->log.Last(); }
void SubstituteHttpServer::ClearRequests() { impl_->log.Clear(); }

bool SubstituteHttpServer::WaitForRequests(size_t n, std::chrono::milliseconds timeout) const {
  return impl_->log.WaitFor(n, timeout);
}

size_t SubstituteHttpServer::ConnectionCount() const { return impl_->server->ConnectionCount(); }

// ---- RefusingPort ----

RefusingPort::RefusingPort() {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) throw std::runtime_error("RefusingPort: no socket");
  port_ = BindToLoopback(fd_);
  if (port_ == 0) {
    ::close(fd_);
    throw std::runtime_error("RefusingPort: cannot bind");
  }
}

RefusingPort::~RefusingPort() {
  if (fd_ >= 0) ::close(fd_);
}

std::string RefusingPort::HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

std::string RefusingPort::Url(const std::string& target) const { return "http://" + HostPort() + target; }

}  // namespace orlu::test
