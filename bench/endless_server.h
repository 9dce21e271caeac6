// A loopback HTTP server for the memory benchmarks: every request gets a
// reply that never ends (no length, data streamed as fast as loopback
// takes it), so every fetch ends at its client's reply cap.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace orlu::bench {

// Reads a request head and then sends data until the client goes away.
class EndlessServer {
 public:
  EndlessServer() {
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listen_, 256);
    socklen_t len = sizeof a;
    ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    acceptor_ = std::thread([this] { Accept(); });
  }
  ~EndlessServer() {
    stop_ = true;
    acceptor_.join();
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return serving_ == 0; });
    ::close(listen_);
  }
  int Port() const { return port_; }
  std::string HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  void Accept() {
    while (!stop_) {
      pollfd p{listen_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      {
        std::lock_guard lock(mutex_);
        ++serving_;
      }
      // One thread a connection, ended with it (a job makes thousands).
      std::thread([this, fd] {
        Serve(fd);
        std::lock_guard lock(mutex_);
        if (--serving_ == 0) ended_.notify_all();
      }).detach();
    }
  }
  void Serve(int fd) {
    std::string head;
    char buf[4096];
    while (head.find("\r\n\r\n") == std::string::npos && !stop_) {
      ssize_t n = ::recv(fd, buf, sizeof buf, 0);
      if (n <= 0) break;
      head.append(buf, static_cast<size_t>(n));
    }
    const std::string start = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n<ALEXA>";
    ::send(fd, start.data(), start.size(), MSG_NOSIGNAL);
    const std::string chunk(64 * 1024, 'x');
    while (!stop_) {
      pollfd p{fd, POLLOUT, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      if (::send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0 && errno != EAGAIN) break;
    }
    ::close(fd);
  }

  int listen_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread acceptor_;
  std::mutex mutex_;
  std::condition_variable ended_;
  int serving_ = 0;  // connections being served
};

}  // namespace orlu::bench
