// Peak memory of the batch ranking job under a hostile data server: 100
// workers against a server that answers every request with a reply that
// never ends (no length, data streamed as fast as loopback takes it). Every
// fetch ends at the worker's reply cap and is asked again in the next round;
// the process's peak resident memory must stay well under a gigabyte.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench_util.h"
#include "platform/net/page_client.h"
#include "platform/thread/dispatcher.h"
#include "sitequery/alexa_job.h"
#include "sitequery/alexa_rank.h"
#include "sitequery/alexa_test_util.h"

namespace {

using namespace std::chrono_literals;
using orlu::bench::Clock;

// Loopback server that reads a request head and then sends data until the
// client goes away.
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
    std::lock_guard lock(mutex_);
    for (auto& t : served_) t.join();
    ::close(listen_);
  }
  std::string HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  void Accept() {
    while (!stop_) {
      pollfd p{listen_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      std::lock_guard lock(mutex_);
      served_.emplace_back([this, fd] { Serve(fd); });
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
  std::vector<std::thread> served_;
};

}  // namespace

int main() {
  constexpr int kThreads = 100;
  constexpr int kRows = 1000;
  constexpr int kRetries = 2;

  orlu::InitNetwork();
  orlu::PlainLoopDispatcher loop;
  orlu::SetDispatcher(&loop);
  int status = 0;
  {
    EndlessServer server;
    orlu::ClearServiceOverrides();
    orlu::SetServiceOverride("*http", server.HostPort());
    orlu::ThreadControlStru job;
    const auto t0 = Clock::now();
    orlu::StartAlexaSea(&job, 5000, kThreads, orlu::test::Domains(kRows), kRetries, false, nullptr, 1);
    orlu::StartAlexaWorkers(&job);
    while (!orlu::test::GroupEnded(job) && Clock::now() - t0 < 120s) loop.ProcessEvents(5ms);
    loop.ProcessEvents(0ms);
    if (job.FailCount != kRows * (kRetries + 1) || job.SuccessCount != 0) {
      std::fprintf(stderr, "bench alexa_endless_peak_rss: %d failed, %d answered; expected %d failed\n",
                   job.FailCount, job.SuccessCount, kRows * (kRetries + 1));
      status = 1;
    }
    orlu::EndAlexaWorkers(&job);
    orlu::ClearServiceOverrides();
  }
  std::printf("bench alexa_endless_peak_rss: %.0f MB; target < 1024\n", orlu::bench::PeakMegabytes());
  orlu::SetDispatcher(nullptr);
  return status;
}
