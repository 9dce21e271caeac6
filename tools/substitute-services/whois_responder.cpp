// The registries' WHOIS servers and IANA's, played on loopback.
//
// IANA gets a server of its own (the services file names whois.iana.org);
// like the real one it answers any question with the record of the question's
// top-level domain (its last label), naming the registry's server on
// "refer:" and "whois:" lines; "arpa", "int", "local", "test" and names that
// are not plain letters have no WHOIS server (the program shows the suffix
// as unsupported).
//
// Every other WHOIS host reaches one registry server, which answers a domain
// as the registry of its top-level domain does, in that registry's present
// format (cn, the thin com/net/cc/tv records, the name registry, the thick
// records of org, biz, info, mobi and of every other registry).
// Whether a domain is registered depends on its name (the text before the
// first dot): "reserved", "nic", "whois" and "registry" are reserved; a
// name of at most four characters, or one of a few well-known names, is
// registered; every other name is free. A host name (more labels than the
// registry's domains have, such as www.example.com) and a bare top-level
// name are never registered.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "responder.h"

namespace {

using orlu::test::WhoisReply;
using orlu::test::WhoisRequest;

enum class Registry { Cn, Thin, Name, Org, Biz, Info, Mobi, Other };
enum class Standing { Registered, Free, Reserved };

const char kCrLf[] = "\r\n";

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// The window sends Chinese names in GBK, the batch in UTF-8; answers are
// UTF-8 either way.
std::string AsUtf8(const std::string& query) {
  if (!orlu::Utf8ToAnsi(query).empty() || query.empty()) return query;
  return orlu::AnsiToUtf8(query);
}

size_t CharCount(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

Standing StandingOf(const std::string& domainUtf8) {
  const std::string name = domainUtf8.substr(0, domainUtf8.find('.'));
  for (const char* r : {"reserved", "nic", "whois", "registry"})
    if (name == r) return Standing::Reserved;
  for (const char* r : {"google", "baidu", "sina", "sohu", "taobao", "example", "wikipedia", "github"})
    if (name == r) return Standing::Registered;
  return !name.empty() && CharCount(name) <= 4 ? Standing::Registered : Standing::Free;
}

Registry RegistryOf(const std::string& domainUtf8) {
  const size_t dot = domainUtf8.rfind('.');
  const std::string tld = dot == std::string::npos ? domainUtf8 : domainUtf8.substr(dot + 1);
  if (tld == "cn" || tld == "\xE4\xB8\xAD\xE5\x9B\xBD") return Registry::Cn;  // 中国
  if (tld == "com" || tld == "net" || tld == "cc" || tld == "tv") return Registry::Thin;
  if (tld == "name") return Registry::Name;
  if (tld == "org") return Registry::Org;
  if (tld == "biz") return Registry::Biz;
  if (tld == "info") return Registry::Info;
  if (tld == "mobi") return Registry::Mobi;
  return Registry::Other;
}

using orlu::substitute::NameHash;

std::string Two(unsigned v) { return std::string(v < 10 ? "0" : "").append(std::to_string(v)); }

struct Dates {
  std::string created, updated, expires;  // ISO form
};

Dates DatesOf(const std::string& domain) {
  const uint32_t h = NameHash(domain);
  const unsigned year = 1996 + h % 25, month = 1 + (h >> 5) % 12, day = 1 + (h >> 9) % 28;
  const std::string md = std::string("-").append(Two(month)).append("-").append(Two(day));
  const std::string time = std::string("T").append(Two((h >> 14) % 24)).append(":").append(Two((h >> 19) % 60))
                               .append(":").append(Two((h >> 25) % 60)).append("Z");
  return {std::to_string(year) + md + time, "2025" + md + time, "2027" + md + time};
}

std::string Line(std::string_view label, std::string_view value) {
  std::string out(label);
  out += value;
  out += kCrLf;
  return out;
}

const char kLastUpdate[] = ">>> Last update of WHOIS database: 2026-07-12T12:00:00Z <<<\r\n";
const char kTerms[] =
    "\r\nTERMS OF USE: This is a stand-in registry service on the local machine. Its\r\n"
    "records are made up for trying the program without a network connection.\r\n";

std::string CnReply(const std::string& domain, Standing standing) {
  if (standing == Standing::Free) return "No matching record.\r\n";
  if (standing == Standing::Reserved) return "Sorry, The domain you requested is in the reserved list.\r\n";
  const Dates d = DatesOf(domain);
  const std::string created = d.created.substr(0, 10) + " " + d.created.substr(11, 8);
  const std::string expires = d.expires.substr(0, 10) + " " + d.expires.substr(11, 8);
  return Line("Domain Name: ", domain) + Line("ROID: ", std::to_string(NameHash(domain)) + "s10001-cn") +
         Line("Domain Status: ", "ok") +
         Line("Registrant: ", "\xE7\xA4\xBA\xE4\xBE\x8B\xE7\xBD\x91\xE7\xBB\x9C\xE7\xA7\x91\xE6\x8A\x80"
                              "\xE6\x9C\x89\xE9\x99\x90\xE5\x85\xAC\xE5\x8F\xB8") +  // 示例网络科技有限公司
         Line("Registrant Contact Email: ", "hostmaster@" + domain) +
         Line("Sponsoring Registrar: ", "\xE6\x9C\xAC\xE5\x9C\xB0\xE6\xB3\xA8\xE5\x86\x8C\xE6\x9C\x8D"
                                        "\xE5\x8A\xA1\xE6\x9C\xBA\xE6\x9E\x84") +  // 本地注册服务机构
         Line("Name Server: ", "ns1.loopback-dns.cn") + Line("Name Server: ", "ns2.loopback-dns.cn") +
         Line("Registration Time: ", created) + Line("Expiration Time: ", expires) +
         Line("DNSSEC: ", "unsigned");
}

// The registrar and date lines the thin and the thick record formats share,
// each label after `indent`.
std::string RegistrarLines(const std::string& indent, const Dates& d) {
  return Line(indent + "Registrar WHOIS Server: ", "whois.loopback-registrar.com") +
         Line(indent + "Registrar URL: ", "http://www.loopback-registrar.com") +
         Line(indent + "Updated Date: ", d.updated) + Line(indent + "Creation Date: ", d.created) +
         Line(indent + "Registry Expiry Date: ", d.expires) +
         Line(indent + "Registrar: ", "Loopback Registrar, Inc.") + Line(indent + "Registrar IANA ID: ", "9999");
}

std::string ThinReply(const std::string& domain, Standing standing) {
  const std::string upper = AsciiUpper(domain);
  if (standing == Standing::Free) return "No match for \"" + upper + "\".\r\n" + kLastUpdate + kTerms;
  if (standing == Standing::Reserved) return "Sorry, the domain you requested is in the reserved list";
  const Dates d = DatesOf(domain);
  return Line("   Domain Name: ", upper) + Line("   Registry Domain ID: ", std::to_string(NameHash(domain)) + "_DOMAIN-VRSN") +
         RegistrarLines("   ", d) + Line("   Domain Status: ", "clientTransferProhibited https://icann.org/epp#clientTransferProhibited") +
         Line("   Name Server: ", "NS1.LOOPBACK-DNS.COM") + Line("   Name Server: ", "NS2.LOOPBACK-DNS.COM") +
         Line("   DNSSEC: ", "unsigned") + kLastUpdate + kTerms;
}

std::string NameReply(const std::string& domain, Standing standing) {
  if (standing == Standing::Reserved) return "Not available for second level registration";
  std::string out = "\r\nDisclaimer: a stand-in registry on the local machine.\r\n\r\n ****\r\n\r\n";
  if (standing == Standing::Free) return out + "No match for \"" + AsciiUpper(domain) + "\".\r\n\r\n" + kLastUpdate;
  return out + Line(" Domain Name: ", AsciiUpper(domain)) + Line(" Registrar: ", "Loopback Registrar, Inc.") +
         Line(" Domain Status: ", "clientTransferProhibited https://icann.org/epp#clientTransferProhibited") +
         "  \r\n" + kLastUpdate;
}

// The record format of the registries of org, biz, info, mobi and of the
// servers IANA names.
std::string ThickReply(const std::string& domain, Standing standing, Registry registry) {
  if (standing == Standing::Reserved) return "Sorry, the domain you requested is in the reserved list";
  if (standing == Standing::Free) {
    switch (registry) {
      case Registry::Biz: return std::string("No Data Found\r\n") + kLastUpdate + kTerms;
      case Registry::Other: return std::string("The queried object does not exist: DOMAIN NOT FOUND\r\n") + kLastUpdate;
      default: return "NOT FOUND\r\n";
    }
  }
  const Dates d = DatesOf(domain);
  return Line("Domain Name: ", domain) + Line("Registry Domain ID: ", std::to_string(NameHash(domain)) + "-LOOP") +
         RegistrarLines("", d) + Line("Domain Status: ", "ok https://icann.org/epp#ok") + Line("Registry Registrant ID: ", "REDACTED FOR PRIVACY") +
         Line("Registrant Name: ", "REDACTED FOR PRIVACY") + Line("Registrant Organization: ", "Loopback Holdings Ltd") +
         Line("Registrant Country: ", "CN") +
         Line("Registrant Email: ", "Please ask the registrar of record for the registrant's address.") +
         Line("Name Server: ", "ns1.loopback-dns.net") + Line("Name Server: ", "ns2.loopback-dns.net") +
         Line("DNSSEC: ", "unsigned") +
         Line("URL of the ICANN Whois Inaccuracy Complaint Form: ", "https://www.icann.org/wicf/") + kLastUpdate +
         kTerms;
}

bool PlainLetters(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!(c >= 'a' && c <= 'z') && !(c >= '0' && c <= '9') && c != '-') return false;
  return true;
}

// The server IANA names for a top-level domain: the registries' own names
// where the program knows them, whois.nic.<tld> elsewhere.
std::string RegistryServerOf(const std::string& tld) {
  if (tld == "com" || tld == "net") return "whois.verisign-grs.com";
  if (tld == "cc") return "ccwhois.verisign-grs.com";
  if (tld == "org") return "whois.pir.org";
  if (tld == "cn") return "whois.cnnic.cn";
  return "whois.nic." + tld;
}

// IANA's answer for a top-level domain.
std::string IanaReply(const std::string& tld) {
  std::string head = "% IANA WHOIS server\r\n% for more information on IANA, visit http://www.iana.org\r\n";
  if (tld.empty()) return head + "%\r\n% Error: Invalid query \r\n";
  const bool known = PlainLetters(tld);
  const bool withServer = known && tld != "arpa" && tld != "int" && tld != "local" && tld != "test";
  if (!known)
    return head + "% This query returned 0 objects.\r\n%\r\n% You queried for " + tld +
           " but this server does not have\r\n% any data for " + tld + ".\r\n";
  std::string out = head + "% This query returned 1 object\r\n\r\n";
  if (withServer) out += Line("refer:        ", RegistryServerOf(tld)) + kCrLf;
  out += Line("domain:       ", AsciiUpper(tld)) + kCrLf;
  out += Line("organisation: ", "Loopback Registry Services") + kCrLf;
  if (withServer) out += Line("whois:        ", RegistryServerOf(tld)) + kCrLf;
  out += Line("status:       ", "ACTIVE") + Line("remarks:      ", "Registration information: http://nic." + tld) +
         kCrLf + Line("created:      ", "1998-01-01") + Line("source:       ", "IANA") + kCrLf;
  return out;
}

// IANA answers for the last label of whatever it is asked.
std::string IanaAnswer(const std::string& query) {
  const std::string q = AsciiLower(AsUtf8(query));
  const size_t dot = q.rfind('.');
  return IanaReply(dot == std::string::npos ? q : q.substr(dot + 1));
}

// How many labels a registered domain under this name has: three under a
// registry's second levels (com.cn, bj.cn, co.uk, ...), two elsewhere.
size_t DomainLabels(const std::vector<std::string>& labels) {
  if (labels.size() < 3) return 2;
  const std::string& tld = labels.back();
  const std::string& second = labels[labels.size() - 2];
  for (const char* level : {"co", "com", "net", "org", "ac", "gov", "edu"})
    if (second == level && RegistryOf(tld) != Registry::Thin) return 3;
  if (tld == "cn" && second.size() == 2) return 3;  // the regional second levels
  return 2;
}

std::string RegistryAnswer(const std::string& query) {
  const std::string q = AsciiLower(AsUtf8(query));
  std::vector<std::string> labels;
  for (size_t from = 0;;) {
    const size_t dot = q.find('.', from);
    labels.push_back(q.substr(from, dot - from));
    if (dot == std::string::npos) break;
    from = dot + 1;
  }
  // A bare top-level name, or a host name under a domain, has no record.
  const Standing standing =
      labels.size() < 2 || labels.size() > DomainLabels(labels) ? Standing::Free : StandingOf(q);
  switch (const Registry r = RegistryOf(q)) {
    case Registry::Cn: return CnReply(q, standing);
    case Registry::Thin: return ThinReply(q, standing);
    case Registry::Name: return NameReply(q, standing);
    default: return ThickReply(q, standing, r);
  }
}

void Install(orlu::substitute::Servers& s) {
  s.whois.AddResponder(
      [](const WhoisRequest& r) -> std::optional<WhoisReply> { return WhoisReply::Text(RegistryAnswer(r.query)); });
  static std::unique_ptr<orlu::test::SubstituteWhoisServer> iana;
  iana = std::make_unique<orlu::test::SubstituteWhoisServer>();
  iana->AddResponder(
      [](const WhoisRequest& r) -> std::optional<WhoisReply> { return WhoisReply::Text(IanaAnswer(r.query)); });
  s.serviceLines += "whois.iana.org=" + iana->HostPort() + "\n";
}

const orlu::substitute::Responder registered("WHOIS registries and IANA", Install);

}  // namespace
