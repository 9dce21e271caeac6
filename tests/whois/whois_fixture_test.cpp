// Real registry replies (tests/fixtures/whois-replies) read as their folders
// say: <server>/<suffix>/<kind>/<name>.txt.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/text/gbk.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply.h"
#include "whois_test_util.h"

namespace orlu {
namespace {

namespace fs = std::filesystem;

fs::path ReplyDir() { return fs::path(ORLU_FIXTURE_DIR) / "whois-replies"; }

// Real servers end lines with CR LF; the stored copies were normalised to LF.
std::string ReadAsSent(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::string out;
  for (char c : std::string(std::istreambuf_iterator<char>(in), {})) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

const std::map<std::string, int>& GroupOfFolder() {
  static const std::map<std::string, int> m = {
      {"whois.cnnic.cn/cn", kGroupCn},
      {"whois.verisign-grs.com/com", kGroupCom},
      {"whois.verisign-grs.com/net", kGroupCom},
      {"whois.pir.org/org", kGroupOrg},
      {"ccwhois.verisign-grs.com/cc", kGroupCc},
      {"whois.biz/biz", kGroupBiz},
      {"whois.afilias.net/info", kGroupInfo},
      {"whois.nic.name/name", kGroupName},
      {"tvwhois.verisign-grs.com/tv", kGroupTv},
      {"whois.dotmobiregistry.net/mobi", kGroupMobi},
  };
  return m;
}

struct Sample {
  std::string folder;  // server/suffix
  std::string kind;
  fs::path file;
};

std::vector<Sample> Samples() {
  std::vector<Sample> out;
  for (const auto& server : fs::directory_iterator(ReplyDir())) {
    if (!server.is_directory()) continue;
    for (const auto& suffix : fs::directory_iterator(server.path()))
      for (const auto& kind : fs::directory_iterator(suffix.path()))
        for (const auto& file : fs::directory_iterator(kind.path()))
          out.push_back({server.path().filename().string() + "/" + suffix.path().filename().string(),
                         kind.path().filename().string(), file.path()});
  }
  return out;
}

bool Filled(const std::string& field) { return !Trim(field).empty(); }

// Registered names whose reserved notice carries none of the markers keep
// the state the markers give; so does a name in pending delete.
std::string Expected(const Sample& s, const std::string& prepared) {
  if (s.kind == "found" || s.kind == "pending-delete") return WordRegistered();
  if (s.kind == "not-found") return WordUnregistered();
  if (s.kind == "throttled") return WordFailed();
  if (s.kind == "reserved") {
    if (s.folder == "whois.cnnic.cn/cn" &&
        prepared.find("sorry, the domain you requested is in the reserved list") != std::string::npos)
      return WordReserved();
    return WordRegistered();
  }
  ADD_FAILURE() << "unknown kind " << s.kind;
  return {};
}

TEST(WhoisFixtures, EveryReplyClassifiesAsItsFolderSays) {
  int checked = 0;
  std::map<std::string, int> perKind;
  for (const Sample& s : Samples()) {
    if (s.folder == "whois.iana.org/tld") continue;
    ASSERT_TRUE(GroupOfFolder().count(s.folder)) << s.folder;
    const int group = GroupOfFolder().at(s.folder);
    const std::string prepared = PrepareWhoisReply(ReadAsSent(s.file));
    ASSERT_FALSE(prepared.empty()) << s.file;
    const std::string state = ClassifyWhoisReply(group, prepared);
    EXPECT_EQ(state, Expected(s, prepared)) << s.file;
    ++checked;
    ++perKind[s.kind];

    if (s.kind != "found") continue;
    const WhoisFields f = test::Cut(group, prepared);
    EXPECT_TRUE(Filled(f.StatusText)) << s.file;
    if (group == kGroupName) continue;  // the name registry's cut takes the status only
    EXPECT_TRUE(Filled(f.Registrar)) << s.file;
    EXPECT_TRUE(Filled(f.CreationDate)) << s.file;
    EXPECT_TRUE(Filled(f.ExpirationDate)) << s.file;
    // y.com has no name server at all.
    if (prepared.find("name server:") != std::string::npos) {
      EXPECT_TRUE(Filled(f.NameServer)) << s.file;
    }
  }
  EXPECT_GE(checked, 35);
  EXPECT_EQ(perKind["throttled"], 1);
  EXPECT_GE(perKind["reserved"], 4);
}

TEST(WhoisFixtures, FieldValuesOfSomeReplies) {
  auto cut = [](const std::string& rel, int group) {
    return test::Cut(group, PrepareWhoisReply(ReadAsSent(ReplyDir() / rel)));
  };
  const WhoisFields com = cut("whois.verisign-grs.com/net/found/google.com.txt", kGroupCom);
  EXPECT_EQ(com.Registrar, "markmonitor inc.\r");
  EXPECT_EQ(com.NameServer, "ns1.google.com\r");
  EXPECT_EQ(com.CreationDate, "1997-09-15t04:00:00z\r");
  EXPECT_EQ(com.ExpirationDate, "2028-09-14t04:00:00z\r");

  const WhoisFields cn = cut("whois.cnnic.cn/cn/found/google.cn.txt", kGroupCn);
  EXPECT_EQ(cn.StatusText, "clientdeleteprohibited\r");
  EXPECT_EQ(cn.Organization, Gbk("北京谷翔信息技术有限公司") + "\r");
  EXPECT_EQ(cn.Email, "dns-admin@google.com\r");
  EXPECT_EQ(cn.Registrar, Gbk("厦门易名科技股份有限公司") + "\r");
  EXPECT_EQ(cn.NameServer, " ns2.google.com\r");
  EXPECT_EQ(cn.CreationDate, "2003-03-17 12:20:05\r");
  EXPECT_EQ(cn.ExpirationDate, "2027-03-17 12:48:36\r");

  const WhoisFields info = cut("whois.afilias.net/info/found/found.txt", kGroupInfo);
  EXPECT_EQ(info.Organization, "google inc.");
  EXPECT_EQ(info.Contact, "dns admin");
  EXPECT_EQ(info.Email, "dns-admin@google.com");
  EXPECT_EQ(info.Registrar, "markmonitor inc. (r151-lrms)");
  EXPECT_EQ(info.CreationDate, "2001-07-31t23:57:50z");
  EXPECT_EQ(info.ExpirationDate, "2014-07-31t23:57:50z");

  const WhoisFields biz = cut("whois.biz/biz/found/google.biz.txt", kGroupBiz);
  EXPECT_EQ(biz.Organization, "google llc");
  EXPECT_EQ(biz.Registrar, "markmonitor, inc.");
  EXPECT_EQ(biz.CreationDate, "2002-03-27t16:03:44z");
}

TEST(WhoisFixtures, IanaReplies) {
  std::string server;
  auto iana = [](const std::string& rel) {
    return PrepareWhoisReply(ReadAsSent(ReplyDir() / "whois.iana.org/tld" / rel));
  };
  ASSERT_TRUE(CutIanaReferral(iana("found/be.txt"), server));
  EXPECT_EQ(server, "whois.dns.be");
  ASSERT_TRUE(CutIanaReferral(iana("found/com.txt"), server));
  EXPECT_EQ(server, "whois.verisign-grs.com");
  for (const char* none : {"found/ip6.arpa.txt", "found/nato.int.txt", "not-assigned/not_assigned.txt",
                           "not-found/u34jedzcq.arpa.txt", "not-found/u34jedzcq.int.txt"})
    EXPECT_FALSE(CutIanaReferral(iana(none), server)) << none;
}

}  // namespace
}  // namespace orlu
