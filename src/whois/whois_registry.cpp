#include "whois/whois_registry.h"

#include "platform/text/gbk.h"

namespace orlu {

namespace {

constexpr std::array<std::string_view, kWhoisGroupCount> kServers = {
    "whois.cnnic.cn",             // cn family
    "whois.verisign-grs.com",     // com, net
    "whois.pir.org",              // org
    "ccwhois.verisign-grs.com",   // cc
    "whois.nic.biz",              // biz (formerly whois.biz)
    "whois.afilias.net",          // info
    "whois.nic.name",             // name
    "whois.nic.tv",               // tv (formerly tvwhois.verisign-grs.com)
    "whois.afilias.net",          // mobi (formerly whois.dotmobiregistry.net)
    "",                           // other: asked of IANA
};

// "中国" in GBK.
constexpr std::string_view kChinaSuffix = "\xD6\xD0\xB9\xFA";

struct SuffixRoute {
  std::string_view suffix;
  int group;
};

// Whole-text tests after the ".cn" test, in order.
constexpr std::array<SuffixRoute, 7> kSingleRoutes = {{
    {"org", kGroupOrg},
    {"cc", kGroupCc},
    {"biz", kGroupBiz},
    {"info", kGroupInfo},
    {"name", kGroupName},
    {"tv", kGroupTv},
    {"mobi", kGroupMobi},
}};

}  // namespace

std::string_view RegistryServer(int group) {
  if (group < 0 || group >= kWhoisGroupCount) return {};
  return kServers[static_cast<size_t>(group)];
}

std::string_view DomainSuffix(std::string_view domain) {
  const size_t dot = domain.find('.');
  if (dot == std::string_view::npos) return domain;
  return domain.substr(dot + 1);
}

int WhoisGroupOfSuffix(std::string_view suffix) {
  if (suffix == "com" || suffix == "net") return kGroupCom;
  if (suffix == "cn" || suffix == "com.cn" || suffix == "net.cn" || suffix == "org.cn" ||
      suffix == "gov.cn" || suffix == kChinaSuffix)
    return kGroupCn;
  if (suffix.find(".cn") != std::string_view::npos) return kGroupCn;
  for (const SuffixRoute& r : kSingleRoutes)
    if (suffix == r.suffix) return r.group;
  return kGroupOther;
}

bool IsWhoisHostName(std::string_view host) {
  if (host.empty()) return false;
  for (char c : host) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '.';
    if (!ok) return false;
  }
  return true;
}

std::string PrepareWhoisDomain(std::string_view line) { return Trim(LowerCase(line)); }

}  // namespace orlu
