// Real registry replies (tests/fixtures/whois-replies), laid out as
// <server>/<suffix>/<kind>/<name>.txt: the ten registry groups' servers, and
// every other server read as the group reached through IANA.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/text/gbk.h"
#include "support/temp_files.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply.h"
#include "whois_test_util.h"

namespace orlu {
namespace {

namespace fs = std::filesystem;

fs::path ReplyDir() { return fs::path(ORLU_FIXTURE_DIR) / "whois-replies"; }

// Real servers end lines with CR LF; the stored copies were normalised to LF.
std::string ReadAsSent(const fs::path& p) {
  std::string out = test::Slurp(p);
  for (size_t i = 0; (i = out.find('\n', i)) != std::string::npos; i += 2) out.insert(i, 1, '\r');
  return out;
}

std::string Prepared(const std::string& rel) {
  return PrepareWhoisReply(ReadAsSent(ReplyDir() / rel));
}

struct Sample {
  std::string rel;  // server/suffix/kind/name.txt
  std::string kind;
  int group;
  std::string prepared;
};

std::vector<Sample> Samples() {
  const std::map<std::string, int> groupOf = {
      {"whois.cnnic.cn/cn", kGroupCn},        {"whois.verisign-grs.com/com", kGroupCom},
      {"whois.verisign-grs.com/net", kGroupCom}, {"whois.pir.org/org", kGroupOrg},
      {"ccwhois.verisign-grs.com/cc", kGroupCc}, {"whois.biz/biz", kGroupBiz},
      {"whois.afilias.net/info", kGroupInfo},  {"whois.nic.name/name", kGroupName},
      {"tvwhois.verisign-grs.com/tv", kGroupTv}, {"whois.dotmobiregistry.net/mobi", kGroupMobi},
  };
  std::vector<Sample> out;
  for (const auto& e : fs::recursive_directory_iterator(ReplyDir())) {
    const fs::path rel = fs::relative(e.path(), ReplyDir());
    if (e.path().extension() != ".txt" || std::distance(rel.begin(), rel.end()) != 4) continue;
    if (*rel.begin() == "whois.iana.org") continue;
    const auto g = groupOf.find(rel.parent_path().parent_path().generic_string());  // server/suffix
    out.push_back({rel.string(), rel.parent_path().filename().string(),
                   g == groupOf.end() ? kGroupOther : g->second,
                   PrepareWhoisReply(ReadAsSent(e.path()))});
  }
  return out;
}

// Replies whose folder does not say what the reply says, and replies that
// name no state (nullptr: not checked).
const std::map<std::string, const char*>& Exceptions() {
  static const std::map<std::string, const char*> m = {
      // Filed as registered; the reply says the name is free.
      {"whois.nic.xxx/xxx/found/masala.xxx.txt", "未注册"},
      {"whois.namecheap.com/com/found/slavichy.com.txt", "未注册"},
      {"whois.dynadot.com/co/found/fark.co.txt", "未注册"},
      {"whois.in.ua/in.ua/found/dle.in.ua.txt", "未注册"},
      {"whois.ati.tn/tn/found/equipements-pro.com.tn.txt", "未注册"},
      // Filed as free; the reply holds the record.
      {"whois.nic.cd/cd/not-found/google.cd.txt", "已注册"},
      {"whois.nic.fr/fr/not-found/not_found_status_registered.txt", "已注册"},
      // Filed as free; the name cannot be registered (no reserved wording here today).
      {"whois.nic.wed/wed/not-found/u34jedzcq.wed.txt", "已注册"},
      // The server refused the question for its rate.
      {"whois.dns.lu/lu/not-found/u34jedzcq.lu.txt", "失败"},
      {"whois.dns.lu/lu/found/google.lu.txt", "失败"},
      // The server rejects the question, or says the same for a taken and a free name.
      {"whois.nic.bo/bo/not-found/not_found.txt", nullptr},
      {"whois.nic.travel/travel/not-found/u34jedzcq.travel.txt", nullptr},
      {"whois.ax/ax/not-found/u34jedzcq.ax.txt", nullptr},
      {"whois.kg/kg/not-found/u34jedzcq.kg.txt", nullptr},
      {"whois.kg/kg/found/google.kg.txt", nullptr},
      // A placeholder of the collection, not a server's reply.
      {"whois.dk-hostmaster.dk/dk/throttled/throttled.txt", nullptr},
  };
  return m;
}

// The state a reply stands for, or empty when it is not checked.
std::string Expected(const Sample& s) {
  if (Trim(s.prepared).empty()) return WordFailed();  // nothing said
  // An outage text that some registries send for registered and free names alike.
  if (Trim(s.prepared) == "server can't process your request.") return WordFailed();
  if (const auto e = Exceptions().find(s.rel); e != Exceptions().end())
    return e->second ? Gbk(e->second) : std::string();
  if (s.kind == "found" || s.kind == "pending-delete") return WordRegistered();
  if (s.kind == "not-found") return WordUnregistered();
  if (s.kind == "throttled") return WordFailed();
  // Only these groups have a reserved wording that today's replies carry.
  const bool worded = s.group == kGroupCn || s.group == kGroupInfo || s.group == kGroupName;
  if (s.kind == "reserved" && worded) return WordReserved();
  return {};
}

bool Filled(const std::string& field) { return !Trim(field).empty(); }

TEST(WhoisFixtures, EveryReplyClassifiesAsItSays) {
  std::map<std::string, int> checked;  // per kind
  for (const Sample& s : Samples()) {
    const std::string state = ClassifyWhoisReply(s.group, s.prepared);
    const std::string expected = Expected(s);
    if (!expected.empty()) {
      EXPECT_EQ(state, expected) << s.rel;
      ++checked[s.kind];
    }
    if (state != WordRegistered()) continue;
    const WhoisFields f = test::Cut(s.group, s.prepared);
    for (const std::string& v : test::Fields(f))
      EXPECT_EQ(v.find_first_of("\r\n"), std::string::npos) << s.rel;
    // Today's expiry label, also behind an empty registrar's label that
    // holds the older one.
    const bool todays = FindMarker(s.prepared, "registry expiry date: 2") != std::string::npos;
    EXPECT_TRUE(!todays || Filled(f.ExpirationDate)) << s.rel;
    if (s.group == kGroupOther || s.kind != "found") continue;
    EXPECT_TRUE(Filled(f.StatusText)) << s.rel;
    if (s.group == kGroupName) continue;  // the name registry's cut takes the status only
    for (const std::string* v : {&f.Registrar, &f.CreationDate, &f.ExpirationDate})
      EXPECT_TRUE(Filled(*v)) << s.rel;
  }
  EXPECT_EQ(checked, (std::map<std::string, int>{
                         {"found", 470}, {"invalid", 1}, {"not-found", 298}, {"pending-delete", 5},
                         {"reserved", 4}, {"throttled", 20}}));
}

// The one-pass label search finds what a search for each label finds.
TEST(WhoisFixtures, OnePassLabelSearchAgreesWithEachLabelsSearch) {
  for (const Sample& s : Samples()) {
    for (int g = 0; g < kWhoisGroupCount; ++g) {
      WhoisFields onePass, eachLabel;
      CutWhoisFields(g, s.prepared, onePass, LabelSearch::OnePass);
      CutWhoisFields(g, s.prepared, eachLabel, LabelSearch::EachLabel);
      EXPECT_EQ(test::Fields(onePass), test::Fields(eachLabel)) << s.rel << " " << g;
    }
  }
}

// Registered names' replies with texts that read free elsewhere: a free
// wording inside a notice's sentence (on one line or wrapped), and a
// registry's "no object found!" for missing contacts of a record.
TEST(WhoisFixtures, RegisteredRepliesWithFreeWordingsStayRegistered) {
  const std::pair<const char*, const char*> cases[] = {
      {"whois.educause.edu/edu/found/mit.edu.txt",
       "% It does not mean the name is available for registration.\n"},
      {"whois.eu/eu/found/google.eu.txt",
       "NOTICE: This service may not be used to find out whether a domain name\n"
       "is available for registration.\n"},
      {"whois.nic.fr/fr/found/found.txt",
       "holder-c:\nNO OBJECT FOUND!\n\nadmin-c:\nNO OBJECT FOUND!\n"},
  };
  for (const auto& [rel, added] : cases) {
    const std::string raw = ReadAsSent(ReplyDir() / rel) + "\r\n" + added;
    EXPECT_EQ(ClassifyWhoisReply(kGroupOther, PrepareWhoisReply(raw)), WordRegistered()) << rel;
  }
}

// The .br registry sends its registrants' names in Latin-1 (the stored
// copies carry U+FFFD in their place).
TEST(WhoisFixtures, Latin1BytesDoNotFailARegisteredName) {
  for (const char* name : {"registro.br.txt", "hostgator.com.br.txt"}) {
    std::string raw = ReadAsSent(ReplyDir() / "whois.registro.br/br/found" / name);
    for (size_t p; (p = raw.find("\xEF\xBF\xBD")) != std::string::npos;) raw.replace(p, 3, "\xE9");
    const std::string prepared = PrepareWhoisReply(raw);
    EXPECT_EQ(ClassifyWhoisReply(kGroupOther, prepared), WordRegistered()) << name;
    EXPECT_TRUE(Filled(test::Cut(kGroupOther, prepared).StatusText)) << name;
  }
}

TEST(WhoisFixtures, FieldValuesOfSomeReplies) {
  const std::tuple<const char*, int, test::Texts> cases[] = {
      {"whois.verisign-grs.com/net/found/google.com.txt", kGroupCom,
       {"clientdeleteprohibited https://icann.org/epp#clientdeleteprohibited", " ", " ", " ",
        "markmonitor inc.", "ns1.google.com", "1997-09-15t04:00:00z", "2028-09-14t04:00:00z"}},
      {"whois.cnnic.cn/cn/found/google.cn.txt", kGroupCn,
       {"clientdeleteprohibited", Gbk("北京谷翔信息技术有限公司"), " ", "dns-admin@google.com",
        Gbk("厦门易名科技股份有限公司"), " ns2.google.com", "2003-03-17 12:20:05",
        "2027-03-17 12:48:36"}},
      {"whois.afilias.net/info/found/found.txt", kGroupInfo,
       {"clientdeleteprohibited", "google inc.", "dns admin", "dns-admin@google.com",
        "markmonitor inc. (r151-lrms)", "ns1.google.com", "2001-07-31t23:57:50z",
        "2014-07-31t23:57:50z"}},
  };
  for (const auto& [rel, group, fields] : cases)
    EXPECT_EQ(test::Fields(test::Cut(group, Prepared(rel))), fields) << rel;
  const WhoisFields biz = test::Cut(kGroupBiz, Prepared("whois.biz/biz/found/google.biz.txt"));
  EXPECT_EQ(biz.Organization, "google llc");
  EXPECT_EQ(biz.Registrar, "markmonitor, inc.");
  EXPECT_EQ(biz.CreationDate, "2002-03-27t16:03:44z");
}

TEST(WhoisFixtures, IanaReplies) {
  const std::pair<const char*, const char*> cases[] = {
      {"found/be.txt", "whois.dns.be"},          {"found/com.txt", "whois.verisign-grs.com"},
      {"found/ip6.arpa.txt", ""},                {"found/nato.int.txt", ""},
      {"not-assigned/not_assigned.txt", ""},     {"not-found/u34jedzcq.arpa.txt", ""},
      {"not-found/u34jedzcq.int.txt", ""}};  // "": no referral
  for (const auto& [rel, referred] : cases) {
    std::string server;
    const bool found = CutIanaReferral(Prepared("whois.iana.org/tld/" + std::string(rel)), server);
    EXPECT_EQ(found, *referred != '\0') << rel;  // no referral is not one to an empty host
    EXPECT_EQ(found ? server : "", referred) << rel;
  }
}

}  // namespace
}  // namespace orlu
