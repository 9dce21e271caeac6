#include "platform/net/whois_client.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/net/services.h"

namespace orlu {

namespace {

using Clock = std::chrono::steady_clock;

// Once connected, the question and the whole reply must be done within this
// many read time-outs, however steadily the reply trickles in.
constexpr int kReplyDeadlineFactor = 4;

struct Socket {
  int fd = -1;
  ~Socket() {
    if (fd >= 0) ::close(fd);
  }
};

struct AddrInfo {
  addrinfo* list = nullptr;
  ~AddrInfo() {
    if (list) ::freeaddrinfo(list);
  }
};

enum class Wait { Ready, TimedOut, Aborted, Failed };

// Waits for `events` on fd until the deadline or an abort.
Wait WaitFor(int fd, short events, int wakeFd, Clock::time_point deadline) {
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left < 0) left = 0;
    pollfd p[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
    int r = ::poll(p, 2, static_cast<int>(left > 1000000 ? 1000000 : left + 1));
    if (r < 0) {
      if (errno == EINTR) continue;
      return Wait::Failed;
    }
    if (p[1].revents) return Wait::Aborted;
    if (p[0].revents) return Wait::Ready;
    if (Clock::now() >= deadline) return Wait::TimedOut;
  }
}

// Ends the question unless the wait for `step` ("send", "read") found the
// socket ready.
void ExpectReady(Wait w, const char* step, const std::string& where) {
  if (w == Wait::Aborted) throw NetError("WHOIS question aborted");
  if (w == Wait::TimedOut) throw NetError(std::string("WHOIS ") + step + " timed out: " + where);
  if (w == Wait::Failed) throw NetError(std::string("WHOIS ") + step + " failed: " + where);
}

std::string ErrnoText(int err) { return std::strerror(err); }

std::atomic<WhoisClient::NameLookup> g_nameLookup{nullptr};

// Addresses of host:port, AI_ADDRCONFIG first, then without it, since
// loopback names with no configured address still resolve.
int LookUp(WhoisClient::NameLookup lookup, const std::string& host, const std::string& service,
           addrinfo** list) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_ADDRCONFIG;
  int gai = lookup(host.c_str(), service.c_str(), &hints, list);
  if (gai != 0) {
    hints.ai_flags = 0;
    gai = lookup(host.c_str(), service.c_str(), &hints, list);
  }
  return gai;
}

// One lookup on its helper thread. Whoever lets go last (the asking client or
// the helper) frees the result and the wake-up handle.
struct PendingLookup {
  std::mutex mutex;
  bool done = false;
  int status = 0;
  addrinfo* list = nullptr;
  int readyFd = -1;
  ~PendingLookup() {
    if (list) ::freeaddrinfo(list);
    if (readyFd >= 0) ::close(readyFd);
  }
};

// The addresses of host:port. A numeric host needs no lookup; a name is
// looked up on a helper thread while this waits, until `deadline` or an abort.
void Resolve(const std::string& host, int port, int wakeFd, Clock::time_point deadline,
             AddrInfo& out) {
  const std::string service = std::to_string(port);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &out.list) == 0) return;
  out.list = nullptr;

  WhoisClient::NameLookup lookup = g_nameLookup.load();
  if (lookup == nullptr) lookup = &::getaddrinfo;
  auto pending = std::make_shared<PendingLookup>();
  pending->readyFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  int gai = 0;
  bool waited = false;
  if (pending->readyFd >= 0) {
    try {
      std::thread([pending, lookup, host, service] {
        addrinfo* list = nullptr;
        const int status = LookUp(lookup, host, service, &list);
        {
          std::lock_guard lock(pending->mutex);
          pending->status = status;
          pending->list = list;
          pending->done = true;
        }
        uint64_t one = 1;
        ssize_t w = ::write(pending->readyFd, &one, sizeof one);
        (void)w;
      }).detach();
      waited = true;
    } catch (const std::system_error&) {
      // No thread to be had: look up in place below.
    }
  }
  if (!waited) {
    gai = LookUp(lookup, host, service, &out.list);
  } else {
    const Wait w = WaitFor(pending->readyFd, POLLIN, wakeFd, deadline);
    std::lock_guard lock(pending->mutex);
    if (!pending->done) {
      // The helper finishes on its own and frees what it found.
      if (w == Wait::Aborted) throw NetError("WHOIS question aborted");
      throw NetError("WHOIS host lookup timed out: " + host);
    }
    gai = pending->status;
    out.list = pending->list;
    pending->list = nullptr;
  }
  if (gai != 0) {
    if (out.list) ::freeaddrinfo(out.list);
    out.list = nullptr;
    throw NetError("WHOIS host not found: " + host + " (" + ::gai_strerror(gai) + ")");
  }
}

}  // namespace

void WhoisClient::SetNameLookup(NameLookup lookup) { g_nameLookup.store(lookup); }

WhoisClient::WhoisClient() { wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }

WhoisClient::~WhoisClient() {
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

WhoisClient::WhoisClient(const WhoisClient& other)
    : Host(other.Host),
      ConnectTimeout(other.ConnectTimeout),
      ReadTimeout(other.ReadTimeout),
      MaxReply(other.MaxReply) {
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

WhoisClient& WhoisClient::operator=(const WhoisClient& other) {
  Host = other.Host;
  ConnectTimeout = other.ConnectTimeout;
  ReadTimeout = other.ReadTimeout;
  MaxReply = other.MaxReply;
  return *this;
}

void WhoisClient::Abort() {
  aborted_.store(true);
  if (wakeFd_ >= 0) {
    uint64_t one = 1;
    ssize_t w = ::write(wakeFd_, &one, sizeof one);
    (void)w;
  }
}

std::string WhoisClient::WhoIs(const std::string& query) {
  if (aborted_.load()) throw NetError("WHOIS question aborted");
  if (wakeFd_ < 0) throw NetError("WHOIS client without a wake-up handle");
  if (Host.empty()) throw NetError("No WHOIS host set");

  std::string name;
  int port = 0;
  if (!SplitHostPort(Host, name, port)) throw NetError("Bad WHOIS host \"" + Host + "\"");
  std::string target = ResolveService(ServiceKind::Whois, name);
  std::string host = name;
  if (target != name) {
    int toPort = 0;
    if (!SplitHostPort(target, host, toPort))
      throw NetError("Bad service address \"" + target + "\" for " + name);
    if (toPort) port = toPort;
  }
  if (!port) port = 43;
  const std::string where = host + ":" + std::to_string(port);
  const int connectMs = ConnectTimeout > 0 ? ConnectTimeout : 30000;
  const int readMs = ReadTimeout > 0 ? ReadTimeout : 30000;

  // The name lookup and the connection share the connect time-out.
  const Clock::time_point connectDeadline = Clock::now() + std::chrono::milliseconds(connectMs);
  AddrInfo ai;
  Resolve(host, port, wakeFd_, connectDeadline, ai);

  Socket sock;
  std::string lastError = "no address";
  for (addrinfo* p = ai.list; p && sock.fd < 0; p = p->ai_next) {
    int fd = ::socket(p->ai_family, p->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, p->ai_protocol);
    if (fd < 0) {
      lastError = ErrnoText(errno);
      continue;
    }
    Socket candidate;
    candidate.fd = fd;
    if (::connect(fd, p->ai_addr, p->ai_addrlen) != 0) {
      if (errno != EINPROGRESS) {
        lastError = ErrnoText(errno);
        continue;
      }
      Wait w = WaitFor(fd, POLLOUT, wakeFd_, connectDeadline);
      if (w == Wait::Aborted) throw NetError("WHOIS question aborted");
      if (w == Wait::TimedOut) throw NetError("WHOIS connect timed out: " + where);
      int err = 0;
      socklen_t len = sizeof err;
      if (w == Wait::Failed || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) {
        lastError = ErrnoText(err ? err : errno);
        continue;
      }
    }
    sock.fd = candidate.fd;
    candidate.fd = -1;
  }
  if (sock.fd < 0) throw NetError("Could not connect to WHOIS server " + where + " (" + lastError + ")");

  // Each wait ends at the read time-out or at the reply's deadline.
  const Clock::time_point replyDeadline =
      Clock::now() + std::chrono::milliseconds(readMs) * kReplyDeadlineFactor;
  auto waitFor = [&](short events, const char* step) {
    const auto pastDeadline = [&] {
      if (Clock::now() < replyDeadline) return;
      throw NetError("WHOIS reply not complete within " +
                     std::to_string(static_cast<long long>(readMs) * kReplyDeadlineFactor) + " ms: " + where);
    };
    pastDeadline();
    const Wait w = WaitFor(sock.fd, events, wakeFd_,
                           std::min(Clock::now() + std::chrono::milliseconds(readMs), replyDeadline));
    if (w == Wait::TimedOut) pastDeadline();
    ExpectReady(w, step, where);
  };

  // The question.
  std::string out = query + "\r\n";
  size_t sent = 0;
  while (sent < out.size()) {
    ssize_t n = ::send(sock.fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      waitFor(POLLOUT, "send");
      continue;
    }
    throw NetError("WHOIS send failed: " + where + " (" + ErrnoText(errno) + ")");
  }

  // The reply, until the server closes.
  std::string reply;
  char buf[16384];
  for (;;) {
    waitFor(POLLIN, "read");
    ssize_t n = ::recv(sock.fd, buf, sizeof buf, 0);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
      throw NetError("WHOIS read failed: " + where + " (" + ErrnoText(errno) + ")");
    }
    if (reply.size() + static_cast<size_t>(n) > MaxReply)
      throw NetError("WHOIS reply longer than " + std::to_string(MaxReply) + " bytes: " + where);
    reply.append(buf, static_cast<size_t>(n));
  }
  return reply;
}

}  // namespace orlu
