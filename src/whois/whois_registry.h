// Which registry answers for a domain: the ten registry groups, their WHOIS
// servers, and the routing of a domain's suffix to its group. The batch
// workers and the single-domain window share this one table.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orlu {

// Registry groups, numbered as the batch workers number them.
enum WhoisGroup : int {
  kGroupCn = 0,     // cn family (cn, com.cn, ..., 中国, any suffix holding ".cn")
  kGroupCom = 1,    // com, net
  kGroupOrg = 2,
  kGroupCc = 3,
  kGroupBiz = 4,
  kGroupInfo = 5,
  kGroupName = 6,
  kGroupTv = 7,
  kGroupMobi = 8,
  kGroupOther = 9,  // every other suffix: the server named by IANA
};
inline constexpr int kWhoisGroupCount = 10;

// WHOIS host names as the system knows them (the service configuration maps
// them to the hosts actually contacted).
inline constexpr std::string_view kIanaWhoisServer = "whois.iana.org";
// The registry server of a group; empty for the "other" group, whose server
// comes from IANA.
std::string_view RegistryServer(int group);

// The text after the first "." of the domain; the whole domain when it holds
// no dot.
std::string_view DomainSuffix(std::string_view domain);

// The group of a suffix: the tests in order (com/net, the cn names, any
// ".cn" inside, org, cc, biz, info, name, tv, mobi), whole-text and
// byte-wise except the ".cn" test; anything else is the "other" group.
int WhoisGroupOfSuffix(std::string_view suffix);
inline int WhoisGroupOfDomain(std::string_view domain) {
  return WhoisGroupOfSuffix(DomainSuffix(domain));
}

// True for a plain host name (letters, digits, "-" and "."), as a server named
// in a reply must be before it is asked: a port or any other part would let
// a reply choose where the question goes.
bool IsWhoisHostName(std::string_view host);

// A memo line as the batch workers ask it: lower-cased, then trimmed of
// blanks and control characters.
std::string PrepareWhoisDomain(std::string_view line);

}  // namespace orlu
