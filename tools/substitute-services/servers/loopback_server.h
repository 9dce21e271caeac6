// The socket side of the substitute servers: a listening socket on
// 127.0.0.1, an accepting thread, one thread per connection, and waits that
// end at once when the server stops.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace orlu::test {

// Binds the socket `fd` to 127.0.0.1 on a free port; the port, or 0 when
// the bind fails.
uint16_t BindToLoopback(int fd);

// A connection handed to the handler. Every wait ends early (returning
// false) once the server stops.
class LoopbackConnection {
 public:
  LoopbackConnection(int fd, int stopFd) : fd_(fd), stopFd_(stopFd) {}

  // Reads what is there (waiting up to `timeout` for something); appends to
  // `out`. False on stop, time-out, error or end of stream (eof set).
  bool Read(std::string& out, std::chrono::milliseconds timeout, bool& eof);
  // Sends every byte. False on stop or error.
  bool Send(const char* data, size_t size);
  bool Send(const std::string& data) { return Send(data.data(), data.size()); }
  // Waits `delay`, then sends every byte: all at once, or `dripBytes` at a
  // time with a pause of `dripEvery` between them. False on stop or error.
  bool SendPaced(const std::string& data, std::chrono::milliseconds delay, size_t dripBytes,
                 std::chrono::milliseconds dripEvery);
  // Waits, false if the server stopped meanwhile.
  bool Pause(std::chrono::milliseconds d);
  // Waits until the server stops.
  void WaitForStop();

 private:
  int fd_;
  int stopFd_;
};

class LoopbackServer {
 public:
  using Handler = std::function<void(LoopbackConnection&)>;

  explicit LoopbackServer(Handler handler);
  ~LoopbackServer();  // same as Stop()
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  uint16_t Port() const { return port_; }
  size_t ConnectionCount() const { return accepted_.load(); }
  // Stops accepting, ends every wait of every connection, joins all threads.
  void Stop();

 private:
  struct Conn {
    std::thread thread;
    std::atomic<bool> done{false};
  };
  void AcceptLoop();
  void Reap(bool all);

  Handler handler_;
  int listenFd_ = -1;
  int stopFd_ = -1;
  uint16_t port_ = 0;
  std::atomic<size_t> accepted_{0};
  std::atomic<bool> stopped_{false};
  std::thread acceptor_;
  std::mutex mutex_;
  std::list<std::unique_ptr<Conn>> conns_;
};

}  // namespace orlu::test
