#include "whois/whois_reply.h"

#include <cstring>

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "whois/whois_reply_internal.h"

namespace orlu {

const std::string& WordUnregistered() {
  static const std::string w = Gbk("未注册");
  return w;
}
const std::string& WordRegistered() {
  static const std::string w = Gbk("已注册");
  return w;
}
const std::string& WordReserved() {
  static const std::string w = Gbk("限制注册");
  return w;
}
const std::string& WordUnsupported() {
  static const std::string w = Gbk("后缀不支持");
  return w;
}

// Some registries send registrant data in another code page (Latin-1): its
// bytes become "?" and the rest of the reply is still read.
std::string PrepareWhoisReply(std::string_view raw) { return LowerCase(Utf8ToAnsiLenient(raw)); }

size_t FindMarker(std::string_view text, std::string_view marker, size_t from) {
  if (marker.empty()) return std::string_view::npos;
  while (from < text.size()) {
    const void* hit = memmem(text.data() + from, text.size() - from, marker.data(), marker.size());
    if (!hit) return std::string_view::npos;
    const size_t pos = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
    if (AtCharBoundary(text, pos)) return pos;
    from = pos + 1;
  }
  return std::string_view::npos;
}

}  // namespace orlu
