#include "substitute-services/servers/loopback_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace orlu::test {

namespace {

using Clock = std::chrono::steady_clock;

int PollTimeout(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  if (left.count() <= 0) return 0;
  if (left.count() > 1000000) return 1000000;
  return static_cast<int>(left.count()) + 1;
}

// Waits for `events` on fd; 1 ready, 0 time-out, -1 stop or error.
int WaitFor(int fd, short events, int stopFd, Clock::time_point deadline) {
  for (;;) {
    pollfd q[2] = {{stopFd, POLLIN, 0}, {fd, events, 0}};
    int count = fd >= 0 ? 2 : 1;
    int r = ::poll(q, count, PollTimeout(deadline));
    if (r < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (q[0].revents) return -1;
    if (count == 2 && q[1].revents) return 1;
    if (Clock::now() >= deadline) return 0;
  }
}

}  // namespace

uint16_t BindToLoopback(int fd) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
    return 0;
  return ntohs(addr.sin_port);
}

bool LoopbackConnection::Read(std::string& out, std::chrono::milliseconds timeout, bool& eof) {
  eof = false;
  auto deadline = Clock::now() + timeout;
  for (;;) {
    int w = WaitFor(fd_, POLLIN, stopFd_, deadline);
    if (w <= 0) return false;
    char buf[16384];
    ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n > 0) {
      out.append(buf, static_cast<size_t>(n));
      return true;
    }
    if (n == 0) {
      eof = true;
      return false;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
    return false;
  }
}

bool LoopbackConnection::Send(const char* data, size_t size) {
  size_t sent = 0;
  while (sent < size) {
    ssize_t n = ::send(fd_, data + sent, size - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      if (WaitFor(fd_, POLLOUT, stopFd_, Clock::now() + std::chrono::hours(24)) <= 0) return false;
      continue;
    }
    return false;
  }
  return true;
}

bool LoopbackConnection::SendPaced(const std::string& data, std::chrono::milliseconds delay,
                                    size_t dripBytes, std::chrono::milliseconds dripEvery) {
  if (delay.count() > 0 && !Pause(delay)) return false;
  if (dripBytes == 0) return Send(data);
  for (size_t pos = 0; pos < data.size(); pos += dripBytes) {
    if (pos > 0 && !Pause(dripEvery)) return false;
    if (!Send(data.data() + pos, std::min(dripBytes, data.size() - pos))) return false;
  }
  return true;
}

bool LoopbackConnection::Pause(std::chrono::milliseconds d) {
  if (d.count() <= 0) {
    pollfd p{stopFd_, POLLIN, 0};
    return ::poll(&p, 1, 0) == 0;
  }
  return WaitFor(-1, 0, stopFd_, Clock::now() + d) == 0;
}

void LoopbackConnection::WaitForStop() {
  while (Pause(std::chrono::hours(1))) {
  }
}

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
  stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (stopFd_ < 0 || listenFd_ < 0) throw std::runtime_error("substitute server: no socket");
  int one = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  port_ = BindToLoopback(listenFd_);
  if (port_ == 0 || ::listen(listenFd_, 4096) != 0) {
    ::close(listenFd_);
    ::close(stopFd_);
    throw std::runtime_error(std::string("substitute server: cannot listen: ") + std::strerror(errno));
  }
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() { Stop(); }

void LoopbackServer::Stop() {
  if (stopped_.exchange(true)) return;
  uint64_t one = 1;
  ssize_t w = ::write(stopFd_, &one, sizeof one);
  (void)w;
  if (acceptor_.joinable()) acceptor_.join();
  Reap(true);
  ::close(listenFd_);
  ::close(stopFd_);
  listenFd_ = stopFd_ = -1;
}

void LoopbackServer::AcceptLoop() {
  for (;;) {
    pollfd p[2] = {{stopFd_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
    int r = ::poll(p, 2, 1000);
    if (r < 0 && errno != EINTR) return;
    if (p[0].revents) return;
    Reap(false);
    if (r <= 0 || !(p[1].revents & POLLIN)) continue;
    for (;;) {
      int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) break;
      int one = 1;
      ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      accepted_.fetch_add(1);
      auto conn = std::make_unique<Conn>();
      Conn* c = conn.get();
      int stopFd = stopFd_;
      c->thread = std::thread([this, c, fd, stopFd] {
        {
          LoopbackConnection lc(fd, stopFd);
          try {
            handler_(lc);
          } catch (...) {
          }
        }
        ::shutdown(fd, SHUT_WR);
        ::close(fd);
        c->done.store(true);
      });
      std::lock_guard<std::mutex> lock(mutex_);
      conns_.push_back(std::move(conn));
    }
  }
}

void LoopbackServer::Reap(bool all) {
  std::list<std::unique_ptr<Conn>> finished;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = conns_.begin(); it != conns_.end();) {
      if (all || (*it)->done.load()) {
        finished.push_back(std::move(*it));
        it = conns_.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& c : finished) c->thread.join();
}

}  // namespace orlu::test
