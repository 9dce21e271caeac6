#include "platform/net/page_client.h"

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>

#include "platform/net/services.h"
#include "platform/text/gbk.h"

namespace orlu {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxRedirects = 15;
constexpr int kDefaultReadTimeoutMs = 30000;
constexpr int kPollSliceMs = 250;

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
    throw NetError(std::string("Line break in request header ") + name);
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
  if (sep == std::string::npos) throw NetError("Address without scheme: " + url);
  Address a;
  a.scheme = LowerCase(url.substr(0, sep));
  if (a.scheme != "http" && a.scheme != "https")
    throw NetError("Unsupported address scheme \"" + url.substr(0, sep) + "\"");
  size_t start = sep + 3;
  size_t end = url.find_first_of("/?#", start);
  if (end == std::string::npos) end = url.size();
  a.authority = url.substr(start, end - start);
  for (unsigned char c : a.authority)
    if (IsUnsafeUrlByte(c)) throw NetError("Bad host in address: " + url);
  size_t at = a.authority.rfind('@');
  std::string hostPort = at == std::string::npos ? a.authority : a.authority.substr(at + 1);
  if (!SplitHostPort(hostPort, a.host, a.port)) throw NetError("Bad host in address: " + url);
  a.rest = EscapeUrlBytes(url.substr(end));
  if (a.rest.empty() || a.rest[0] != '/') a.rest = std::string(1, '/') + a.rest;
  return a;
}

std::string Bracketed(const std::string& host) {
  return host.find(':') != std::string::npos ? "[" + host + "]" : host;
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
  char errbuf[CURL_ERROR_SIZE] = {};

  // State of the transfer in progress (the calling thread only).
  std::string body;
  size_t cap = 0;
  bool overCap = false;
  bool headDone = false;  // the blank line after the reply's headers came
  Clock::time_point lastActivity;

  static size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Impl*>(user);
    size_t n = size * count;
    self->lastActivity = Clock::now();
    if (self->body.size() + n > self->cap) {
      self->overCap = true;
      return 0;  // ends the transfer with a write error
    }
    self->body.append(data, n);
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
};

PageClient::PageClient() : impl_(std::make_unique<Impl>()) {
  InitNetwork();
  impl_->easy = curl_easy_init();
  impl_->multi = curl_multi_init();
  if (!impl_->easy || !impl_->multi) throw NetError("Cannot create a transfer handle");
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

void PageClient::Abort() {
  impl_->aborted.store(true);
  curl_multi_wakeup(impl_->multi);
}

std::string PageClient::Get(const std::string& url) {
  Impl& im = *impl_;
  CURL* e = im.easy;
  if (im.aborted.load()) throw NetError("Transfer aborted");

  // Request headers in the order they go out; curl adds only Host (and
  // Cookie once a cookie is kept) in front of them.
  CheckHeaderValue("Accept", Accept);
  CheckHeaderValue("Accept-Language", AcceptLanguage);
  CheckHeaderValue("Accept-Encoding", AcceptEncoding);
  CheckHeaderValue("User-Agent", UserAgent);
  CheckHeaderValue("Connection", Connection);
  curl_slist* headers = nullptr;
  auto add = [&headers](const std::string& line) { headers = curl_slist_append(headers, line.c_str()); };
  add(Accept.empty() ? "Accept:" : "Accept: " + Accept);  // "Accept:" keeps curl's own out
  if (!AcceptLanguage.empty()) add("Accept-Language: " + AcceptLanguage);
  if (SendAcceptEncoding) add(AcceptEncoding.empty() ? "Accept-Encoding;" : "Accept-Encoding: " + AcceptEncoding);
  if (!UserAgent.empty()) add("User-Agent: " + UserAgent);
  if (!Connection.empty()) add("Connection: " + Connection);
  // Never announce a request body.
  add("Expect:");
  curl_slist* connectTo = nullptr;
  struct SlistGuard {
    curl_slist*& list;
    ~SlistGuard() { curl_slist_free_all(list); }
  } headersGuard{headers}, connectToGuard{connectTo};

  const int readMs = ReadTimeout > 0 ? ReadTimeout : kDefaultReadTimeoutMs;
  const int connectMs = ConnectTimeout > 0 ? ConnectTimeout : 30000;
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectMs));
  if (RecvBufferSize > 0) {
    long size = RecvBufferSize;
    if (size < 1024) size = 1024;
    if (size > 512 * 1024) size = 512 * 1024;
    curl_easy_setopt(e, CURLOPT_BUFFERSIZE, size);
  }

  // Cookies live in memory, per client object, only while KeepCookies holds.
  if (KeepCookies && !im.cookieEngine) {
    curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");
    im.cookieEngine = true;
  }

  std::string current = url;
  for (int hop = 0;; ++hop) {
    // Without KeepCookies nothing set earlier (or by the previous hop) goes out.
    if (!KeepCookies && im.cookieEngine) curl_easy_setopt(e, CURLOPT_COOKIELIST, "ALL");
    Address a = ParseAddress(current);
    int defaultPort = a.scheme == "https" ? 443 : 80;
    int urlPort = a.port ? a.port : defaultPort;
    std::string target = ResolveService(ServiceKind::Http, a.host);
    curl_slist_free_all(connectTo);
    connectTo = nullptr;
    if (LowerCase(target) != LowerCase(a.host)) {
      std::string toHost;
      int toPort = 0;
      if (!SplitHostPort(target, toHost, toPort))
        throw NetError("Bad service address \"" + target + "\" for " + a.host);
      if (IsLoopback(toHost) && a.scheme == "https") {
        a.scheme = "http";  // the substitute servers speak plain http
        if (!a.port) urlPort = 80;
      }
      if (!toPort) toPort = urlPort;
      connectTo = curl_slist_append(connectTo, (Bracketed(a.host) + ":" + std::to_string(urlPort) + ":" +
                                                Bracketed(toHost) + ":" + std::to_string(toPort))
                                                   .c_str());
    }
    std::string wire = a.scheme + "://" + a.authority + a.rest;
    curl_easy_setopt(e, CURLOPT_URL, wire.c_str());
    curl_easy_setopt(e, CURLOPT_CONNECT_TO, connectTo);

    im.body.clear();
    im.cap = MaxBody;
    im.overCap = false;
    im.headDone = false;
    im.errbuf[0] = 0;
    const Clock::time_point start = Clock::now();
    im.lastActivity = start;
    bool connected = false;
    bool timedOut = false;
    bool aborted = false;

    if (curl_multi_add_handle(im.multi, e) != CURLM_OK) throw NetError("Cannot start the transfer");
    CURLcode result = CURLE_OK;
    for (;;) {
      int running = 0;
      CURLMcode mc = curl_multi_perform(im.multi, &running);
      if (mc != CURLM_OK) {
        curl_multi_remove_handle(im.multi, e);
        throw NetError(std::string("Transfer failed: ") + curl_multi_strerror(mc));
      }
      if (!running) {
        int left = 0;
        result = CURLE_GOT_NOTHING;
        while (CURLMsg* msg = curl_multi_info_read(im.multi, &left)) {
          if (msg->msg == CURLMSG_DONE && msg->easy_handle == e) result = msg->data.result;
        }
        break;
      }
      if (im.aborted.load()) {
        aborted = true;
        break;
      }
      Clock::time_point now = Clock::now();
      if (!connected) {
        curl_off_t t = 0;
        if ((curl_easy_getinfo(e, CURLINFO_CONNECT_TIME_T, &t) == CURLE_OK && t > 0) ||
            (curl_easy_getinfo(e, CURLINFO_PRETRANSFER_TIME_T, &t) == CURLE_OK && t > 0) ||
            im.lastActivity != start) {
          connected = true;
          if (im.lastActivity == start) im.lastActivity = now;
        }
      }
      Clock::time_point deadline =
          connected ? im.lastActivity + std::chrono::milliseconds(readMs)
                    : start + std::chrono::milliseconds(connectMs) + std::chrono::milliseconds(readMs);
      if (now >= deadline) {
        timedOut = true;
        break;
      }
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count() + 1;
      int wait = static_cast<int>(left < kPollSliceMs ? left : kPollSliceMs);
      curl_multi_poll(im.multi, nullptr, 0, wait, nullptr);
    }
    curl_multi_remove_handle(im.multi, e);

    if (aborted) throw NetError("Transfer aborted");
    if (timedOut) throw NetError("Read timed out: " + current);
    if (result != CURLE_OK) {
      if (im.overCap) throw NetError("Reply larger than " + std::to_string(MaxBody) + " bytes: " + current);
      std::string detail = im.errbuf[0] ? im.errbuf : curl_easy_strerror(result);
      switch (result) {
        case CURLE_COULDNT_RESOLVE_HOST:
          throw NetError("Host not found: " + a.host + " (" + detail + ")");
        case CURLE_COULDNT_CONNECT:
          throw NetError("Could not connect: " + current + " (" + detail + ")");
        case CURLE_OPERATION_TIMEDOUT:
          throw NetError("Timed out: " + current + " (" + detail + ")");
        case CURLE_PARTIAL_FILE:
        case CURLE_GOT_NOTHING:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
          throw NetError("Connection closed early: " + current + " (" + detail + ")");
        default:
          throw NetError("Fetch failed: " + current + " (" + detail + ")");
      }
    }

    // A connection closed inside the reply's head is no reply.
    if (!im.headDone) throw NetError("Connection closed early: " + current + " (reply head cut off)");

    long status = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 300 && status < 400) {
      char* next = nullptr;
      curl_easy_getinfo(e, CURLINFO_REDIRECT_URL, &next);
      if (!HandleRedirects || !next)
        throw NetError("Redirect " + std::to_string(status) + " not followed: " + current);
      if (hop + 1 > kMaxRedirects) throw NetError("Too many redirects: " + url);
      current = next;
      continue;
    }
    if (status >= 400 || status < 200)
      throw NetError("HTTP error " + std::to_string(status) + ": " + current);
    std::string out;
    out.swap(im.body);
    return out;
  }
}

}  // namespace orlu
