#include "platform/net/whois_client.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/net/services.h"

namespace orlu {

namespace {

using Clock = std::chrono::steady_clock;

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

std::string ErrnoText(int err) { return std::strerror(err); }

}  // namespace

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

  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_ADDRCONFIG;
  AddrInfo ai;
  int gai = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &ai.list);
  if (gai != 0) {
    // Loopback literals with no configured address still resolve.
    hints.ai_flags = 0;
    gai = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &ai.list);
  }
  if (gai != 0) throw NetError("WHOIS host not found: " + host + " (" + ::gai_strerror(gai) + ")");

  Socket sock;
  const Clock::time_point connectDeadline = Clock::now() + std::chrono::milliseconds(connectMs);
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
      Wait w = WaitFor(sock.fd, POLLOUT, wakeFd_, Clock::now() + std::chrono::milliseconds(readMs));
      if (w == Wait::Aborted) throw NetError("WHOIS question aborted");
      if (w == Wait::TimedOut) throw NetError("WHOIS send timed out: " + where);
      if (w == Wait::Failed) throw NetError("WHOIS send failed: " + where);
      continue;
    }
    throw NetError("WHOIS send failed: " + where + " (" + ErrnoText(errno) + ")");
  }

  // The reply, until the server closes.
  std::string reply;
  char buf[16384];
  for (;;) {
    Wait w = WaitFor(sock.fd, POLLIN, wakeFd_, Clock::now() + std::chrono::milliseconds(readMs));
    if (w == Wait::Aborted) throw NetError("WHOIS question aborted");
    if (w == Wait::TimedOut) throw NetError("WHOIS read timed out: " + where);
    if (w == Wait::Failed) throw NetError("WHOIS read failed: " + where);
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
