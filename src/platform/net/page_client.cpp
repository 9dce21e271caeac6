#include "platform/net/page_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>

#include "platform/net/services.h"
#include "platform/text/gbk.h"

namespace orlu {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxRedirects = 15;
constexpr int kDefaultReadTimeoutMs = 30000;
constexpr int kPollSliceMs = 250;
// Once connected, the whole reply (and every redirect hop after it) must
// arrive within this many read time-outs, however steadily it trickles in.
constexpr int kReplyDeadlineFactor = 4;

bool IsUnsafeUrlByte(unsigned char c) {
  if (c <= 0x20 || c >= 0x7F) return true;
  switch (c) {
    case '"': case '<': case '>': case '\\': case '^': case '`':
    case '{': case '|': case '}':
      return true;
    default:
      return false;
  }
}

bool IsLoopback(const std::string& host) {
  std::string h = LowerCase(host);
  return h == "localhost" || h == "::1" || h.rfind("127.", 0) == 0;
}

// A header value must stay on its line.
void CheckHeaderValue(const char* name, const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos)
    throw NetError(Gbk("请求头 ") + name + Gbk(" 含有换行符"));
}

struct Address {
  std::string scheme;     // lower-case "http" or "https"
  std::string authority;  // as written, userinfo included
  std::string host;       // without brackets
  int port = 0;           // 0: the scheme's
  std::string rest;       // path, query and fragment, escaped
};

Address ParseAddress(const std::string& url) {
  size_t sep = url.find("://");
  if (sep == std::string::npos) throw NetError(Gbk("网址缺少 http:// 或 https:// 开头：") + url);
  Address a;
  a.scheme = LowerCase(url.substr(0, sep));
  if (a.scheme != "http" && a.scheme != "https")
    throw NetError(Gbk("不支持的网址类型“") + url.substr(0, sep) + Gbk("”"));
  size_t start = sep + 3;
  size_t end = url.find_first_of("/?#", start);
  if (end == std::string::npos) end = url.size();
  a.authority = url.substr(start, end - start);
  for (unsigned char c : a.authority)
    if (IsUnsafeUrlByte(c)) throw NetError(Gbk("网址中的主机名无效：") + url);
  size_t at = a.authority.rfind('@');
  std::string hostPort = at == std::string::npos ? a.authority : a.authority.substr(at + 1);
  if (!SplitHostPort(hostPort, a.host, a.port)) throw NetError(Gbk("网址中的主机名无效：") + url);
  a.rest = EscapeUrlBytes(url.substr(end));
  if (a.rest.empty() || a.rest[0] != '/') a.rest = std::string(1, '/') + a.rest;
  return a;
}

std::string Bracketed(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

// A list of lines handed to the transfer library, freed with its owner.
class CurlList {
 public:
  CurlList() = default;
  CurlList(CurlList&& other) noexcept : list_(std::exchange(other.list_, nullptr)) {}
  CurlList& operator=(CurlList&& other) noexcept {
    std::swap(list_, other.list_);
    return *this;
  }
  ~CurlList() { curl_slist_free_all(list_); }
  void Append(const std::string& line) { list_ = curl_slist_append(list_, line.c_str()); }
  void Clear() {
    curl_slist_free_all(list_);
    list_ = nullptr;
  }
  curl_slist* get() const { return list_; }

 private:
  curl_slist* list_ = nullptr;
};

// Request headers in the order they go out; curl adds only Host (and
// Cookie once a cookie is kept) in front of them.
CurlList RequestHeaders(const PageClient& c) {
  CheckHeaderValue("Accept", c.Accept);
  CheckHeaderValue("Accept-Language", c.AcceptLanguage);
  CheckHeaderValue("Accept-Encoding", c.AcceptEncoding);
  CheckHeaderValue("User-Agent", c.UserAgent);
  CheckHeaderValue("Connection", c.Connection);
  CurlList headers;
  headers.Append(c.Accept.empty() ? "Accept:" : "Accept: " + c.Accept);  // "Accept:" keeps curl's own out
  if (!c.AcceptLanguage.empty()) headers.Append("Accept-Language: " + c.AcceptLanguage);
  if (c.SendAcceptEncoding)
    headers.Append(c.AcceptEncoding.empty() ? "Accept-Encoding;" : "Accept-Encoding: " + c.AcceptEncoding);
  if (!c.UserAgent.empty()) headers.Append("User-Agent: " + c.UserAgent);
  if (!c.Connection.empty()) headers.Append("Connection: " + c.Connection);
  // Never announce a request body.
  headers.Append("Expect:");
  return headers;
}

}  // namespace

std::string EscapeUrlBytes(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (IsUnsafeUrlByte(c)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void InitNetwork() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct PageClient::Impl {
  CURL* easy = nullptr;
  CURLM* multi = nullptr;
  std::atomic<bool> aborted{false};
  bool cookieEngine = false;  // the transfer library keeps cookies for this handle
  std::mutex multiMutex;  // Abort (any thread) against Disconnect replacing `multi`
  char errbuf[CURL_ERROR_SIZE] = {};

  // State of the transfer in progress (the calling thread only).
  std::string body;
  size_t cap = 0;
  bool cutLong = false;  // a body over the cap is kept up to it
  // The body went over the cap; after a Get, whether the page it returned
  // was cut there (what a failed Get received is dropped, and this with it).
  bool overCap = false;
  bool headDone = false;  // the blank line after the reply's headers came
  Clock::time_point lastActivity;
  // Set when the Get's first connection is made.
  std::optional<Clock::time_point> replyDeadline;

  // Drops the body received and gives its memory back (clear() would keep
  // its capacity, up to the cap, for as long as the client lives).
  void ReleaseBody() {
    std::string().swap(body);
    overCap = false;
  }

  static size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Impl*>(user);
    size_t n = size * count;
    self->lastActivity = Clock::now();
    std::string& body = self->body;
    if (body.size() + n > self->cap) {
      self->overCap = true;
      if (self->cutLong) {
        // Reserved exactly: an append past the capacity would double it.
        body.reserve(self->cap);
        body.append(data, self->cap - body.size());
      }
      return 0;  // ends the transfer with a write error
    }
    // Grow by doubling, but never past the cap.
    if (body.size() + n > body.capacity()) {
      size_t want = std::max(body.size() + n, std::min(body.capacity() * 2, self->cap));
      body.reserve(want);
    }
    body.append(data, n);
    return n;
  }

  static size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Impl*>(user);
    size_t n = size * count;
    self->lastActivity = Clock::now();
    if (n >= 5 && std::memcmp(data, "HTTP/", 5) == 0)
      self->headDone = false;  // a new reply (after 1xx) starts
    else if ((n == 2 && data[0] == '\r' && data[1] == '\n') || (n == 1 && data[0] == '\n'))
      self->headDone = true;
    return n;
  }

  // The settings that hold for every hop of a Get.
  void ApplySettings(const CurlList& headers, int connectMs, int recvBufferSize, bool keepCookies);
  // Where this hop goes: its address as it goes on the wire, and the
  // configured host it is sent to instead of its own (`connectTo`).
  Address RouteHop(const std::string& url, CurlList& connectTo);
  // Runs the hop's transfer to its end; raises for every failure up to a
  // complete reply head.
  void Transfer(int connectMs, int readMs, size_t maxBody, const Address& a, const std::string& url);
  // After a complete reply: the address to go on to for a redirect that is
  // followed, nothing for a reply whose body is the page. Raises for an
  // error status and for a redirect that is not followed.
  std::optional<std::string> RedirectTarget(bool follow, const std::string& url);

 private:
  enum class Ending { Finished, Aborted, TimedOut, DeadlinePassed };
  // Drives the transfer until it finishes, is aborted or waits too long;
  // `result` is the library's verdict on a finished one.
  Ending RunUntilDone(int connectMs, int readMs, CURLcode& result);
  // The error for a transfer that did not end well.
  [[noreturn]] void RaiseTransferError(CURLcode result, size_t maxBody, const Address& a,
                                       const std::string& url) const;
};

void PageClient::Impl::ApplySettings(const CurlList& headers, int connectMs, int recvBufferSize,
                                     bool keepCookies) {
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectMs));
  if (recvBufferSize > 0) {
    long size = recvBufferSize;
    if (size < 1024) size = 1024;
    if (size > 512 * 1024) size = 512 * 1024;
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, size);
  }
  // Cookies live in memory, per client object, only while KeepCookies holds.
  if (keepCookies && !cookieEngine) {
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
    cookieEngine = true;
  }
}

Address PageClient::Impl::RouteHop(const std::string& url, CurlList& connectTo) {
  Address a = ParseAddress(url);
  int defaultPort = a.scheme == "https" ? 443 : 80;
  int urlPort = a.port ? a.port : defaultPort;
  std::string target = ResolveService(ServiceKind::Http, a.host);
  connectTo.Clear();
  if (LowerCase(target) != LowerCase(a.host)) {
    std::string toHost;
    int toPort = 0;
    if (!SplitHostPort(target, toHost, toPort))
      throw NetError(Gbk("服务地址“") + target + Gbk("”无效（") + a.host + Gbk("）"));
    if (IsLoopback(toHost) && a.scheme == "https") {
      a.scheme = "http";  // the substitute servers speak plain http
      if (!a.port) urlPort = 80;
    }
    if (!toPort) toPort = urlPort;
    connectTo.Append(Bracketed(a.host) + ":" + std::to_string(urlPort) + ":" + Bracketed(toHost) + ":" +
                     std::to_string(toPort));
  }
  std::string wire = a.scheme + "://" + a.authority + a.rest;
  curl_easy_setopt(easy, CURLOPT_URL, wire.c_str());
  curl_easy_setopt(easy, CURLOPT_CONNECT_TO, connectTo.get());
  return a;
}

PageClient::Impl::Ending PageClient::Impl::RunUntilDone(int connectMs, int readMs, CURLcode& result) {
  const Clock::time_point start = Clock::now();
  lastActivity = start;
  bool connected = false;
  if (curl_multi_add_handle(multi, easy) != CURLM_OK) throw NetError(Gbk("无法开始传输"));
  result = CURLE_OK;
  for (;;) {
    int running = 0;
    CURLMcode mc = curl_multi_perform(multi, &running);
    if (mc != CURLM_OK) {
      curl_multi_remove_handle(multi, easy);
      throw NetError(Gbk("传输失败（") + curl_multi_strerror(mc) + Gbk("）"));
    }
    if (!running) {
      int left = 0;
      result = CURLE_GOT_NOTHING;
      while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) result = msg->data.result;
      }
      return Ending::Finished;
    }
    if (aborted.load()) return Ending::Aborted;
    Clock::time_point now = Clock::now();
    if (!connected) {
      curl_off_t t = 0;
      if ((curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &t) == CURLE_OK && t > 0) ||
          (curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &t) == CURLE_OK && t > 0) ||
          lastActivity != start) {
        connected = true;
        if (lastActivity == start) lastActivity = now;
        if (!replyDeadline) replyDeadline = now + std::chrono::milliseconds(readMs) * kReplyDeadlineFactor;
      }
    }
    if (replyDeadline && now >= *replyDeadline) return Ending::DeadlinePassed;
    Clock::time_point deadline =
        connected ? lastActivity + std::chrono::milliseconds(readMs)
                  : start + std::chrono::milliseconds(connectMs) + std::chrono::milliseconds(readMs);
    if (now >= deadline) return Ending::TimedOut;
    if (replyDeadline && *replyDeadline < deadline) deadline = *replyDeadline;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count() + 1;
    int wait = static_cast<int>(left < kPollSliceMs ? left : kPollSliceMs);
    curl_multi_poll(multi, nullptr, 0, wait, nullptr);
  }
}

void PageClient::Impl::Transfer(int connectMs, int readMs, size_t maxBody, const Address& a,
                                const std::string& url) {
  ReleaseBody();
  cap = maxBody;
  headDone = false;
  errbuf[0] = 0;
  CURLcode result = CURLE_OK;
  const Ending ending = RunUntilDone(connectMs, readMs, result);
  curl_multi_remove_handle(multi, easy);

  if (ending == Ending::Aborted) throw NetError(Gbk("传输已中止"));
  if (ending == Ending::TimedOut) throw NetError(Gbk("读取超时：") + url);
  if (ending == Ending::DeadlinePassed)
    throw NetError(Gbk("超时：") + std::to_string(static_cast<long long>(readMs) * kReplyDeadlineFactor) +
                   Gbk(" 毫秒内未收完回复：") + url);
  if (result != CURLE_OK && !(overCap && cutLong)) RaiseTransferError(result, maxBody, a, url);
  // A connection closed inside the reply's head is no reply.
  if (!headDone) throw NetError(Gbk("连接过早关闭：") + url + Gbk("（回复头不完整）"));
}

void PageClient::Impl::RaiseTransferError(CURLcode result, size_t maxBody, const Address& a,
                                          const std::string& url) const {
  if (overCap) throw NetError(Gbk("回复超过 ") + std::to_string(maxBody) + Gbk(" 字节：") + url);
  std::string detail = errbuf[0] ? errbuf : curl_easy_strerror(result);
  switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
      throw NetError(Gbk("找不到主机：") + a.host + Gbk("（") + detail + Gbk("）"));
    case CURLE_COULDNT_CONNECT:
      throw NetError(Gbk("无法连接：") + url + Gbk("（") + detail + Gbk("）"));
    case CURLE_OPERATION_TIMEDOUT:
      throw NetError(Gbk("超时：") + url + Gbk("（") + detail + Gbk("）"));
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
      throw NetError(Gbk("连接过早关闭：") + url + Gbk("（") + detail + Gbk("）"));
    default:
      throw NetError(Gbk("获取网页失败：") + url + Gbk("（") + detail + Gbk("）"));
  }
}

std::optional<std::string> PageClient::Impl::RedirectTarget(bool follow, const std::string& url) {
  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  if (status >= 300 && status < 400) {
    char* next = nullptr;
    curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &next);
    if (!follow || !next) throw NetError(Gbk("网页被重定向（") + std::to_string(status) + Gbk("），未跟随：") + url);
    return std::string(next);
  }
  if (status >= 400 || status < 200) throw NetError(Gbk("HTTP 错误 ") + std::to_string(status) + Gbk("：") + url);
  return std::nullopt;
}

PageClient::PageClient() : impl_(std::make_unique<Impl>()) {
  InitNetwork();
  impl_->easy = curl_easy_init();
  impl_->multi = curl_multi_init();
  if (!impl_->easy || !impl_->multi) throw NetError(Gbk("无法创建传输句柄"));
  CURL* e = impl_->easy;
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_ERRORBUFFER, impl_->errbuf);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Impl::OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, impl_.get());
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Impl::OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, impl_.get());
  curl_easy_setopt(e, CURLOPT_PROXY, "");
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(e, CURLOPT_HTTP_CONTENT_DECODING, 0L);
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
#if LIBCURL_VERSION_NUM >= 0x075500
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
#else
  curl_easy_setopt(e, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
}

PageClient::~PageClient() {
  if (impl_->multi) curl_multi_cleanup(impl_->multi);
  if (impl_->easy) curl_easy_cleanup(impl_->easy);
}

void PageClient::UseBrowserHeaders() {
  Accept =
      "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
      "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, "
      "application/x-silverlight, */*";
  AcceptLanguage = "zh-cn";
  AcceptEncoding = "";
  SendAcceptEncoding = true;
  UserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; CIBA)";
  Connection = "Keep-Alive";
  KeepCookies = true;
}

void PageClient::Disconnect() {
  // The kept connections belong to the transfer stack: a new one has none.
  CURLM* fresh = curl_multi_init();
  if (fresh == nullptr) throw NetError(Gbk("无法创建传输句柄"));
  std::lock_guard lock(impl_->multiMutex);
  curl_multi_cleanup(impl_->multi);
  impl_->multi = fresh;
}

bool PageClient::BodyWasCut() const { return impl_->overCap; }

void PageClient::Abort() {
  impl_->aborted.store(true);
  std::lock_guard lock(impl_->multiMutex);
  curl_multi_wakeup(impl_->multi);
}

std::string PageClient::Get(const std::string& url) {
  Impl& im = *impl_;
  if (im.aborted.load()) throw NetError(Gbk("传输已中止"));

  CurlList headers = RequestHeaders(*this);
  const int readMs = ReadTimeout > 0 ? ReadTimeout : kDefaultReadTimeoutMs;
  const int connectMs = ConnectTimeout > 0 ? ConnectTimeout : 30000;
  im.ApplySettings(headers, connectMs, RecvBufferSize, KeepCookies);
  im.replyDeadline.reset();
  im.cutLong = CutLongBody;

  CurlList connectTo;
  std::string current = url;
  for (int hop = 0;; ++hop) {
    // Without KeepCookies nothing set earlier (or by the previous hop) goes out.
    if (!KeepCookies && im.cookieEngine) curl_easy_setopt(im.easy, CURLOPT_COOKIELIST, "ALL");
    std::optional<std::string> next;
    try {
      const Address a = im.RouteHop(current, connectTo);
      im.Transfer(connectMs, readMs, MaxBody, a, current);
      next = im.RedirectTarget(HandleRedirects, current);
    } catch (...) {
      // A failed fetch keeps nothing of what it received.
      im.ReleaseBody();
      throw;
    }
    if (!next) {
      std::string out;
      out.swap(im.body);
      return out;
    }
    im.ReleaseBody();  // the redirect's own body
    if (hop + 1 > kMaxRedirects) throw NetError(Gbk("重定向次数过多：") + url);
    current = *next;
  }
}

}  // namespace orlu
