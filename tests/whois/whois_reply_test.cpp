// Routing, classification and field cutting on prepared replies.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/text/gbk.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply.h"
#include "whois_test_util.h"

namespace orlu {
namespace {

using test::Cut;
using test::Fields;
using test::Texts;

TEST(WhoisRouting, SuffixTestsInOrder) {
  const std::pair<std::string, int> cases[] = {
      // ".cn" anywhere in the suffix.
      {"abc.bj.cn", kGroupCn}, {"x.y.cnx", kGroupCn}, {Gbk("例子.中国"), kGroupCn},
      {"a.cn", kGroupCn}, {"a.com.cn", kGroupCn}, {"a.net.cn", kGroupCn},
      {"a.org.cn", kGroupCn}, {"a.gov.cn", kGroupCn},
      // Suffixes cn.com and example.com; whole-text, byte-wise.
      {"abc.cn.com", kGroupOther}, {"www.example.com", kGroupOther}, {"a.cnn", kGroupOther},
      {"a.co.uk", kGroupOther}, {"a.COM", kGroupOther}, {"", kGroupOther},
      {"com", kGroupCom},  // no dot: the whole text
      {"a.com", kGroupCom}, {"a.net", kGroupCom}, {"a.org", kGroupOrg}, {"a.cc", kGroupCc},
      {"a.biz", kGroupBiz}, {"a.info", kGroupInfo}, {"a.name", kGroupName}, {"a.tv", kGroupTv},
      {"a.mobi", kGroupMobi}};
  for (const auto& [domain, group] : cases) EXPECT_EQ(WhoisGroupOfDomain(domain), group) << domain;
  EXPECT_EQ(PrepareWhoisDomain("  \tWWW.Example.COM \r"), "www.example.com");
}

// The reply as a registry sends it (UTF-8, any case), prepared.
std::string P(const std::string& utf8) { return PrepareWhoisReply(utf8); }
std::string State(int group, const std::string& utf8) { return ClassifyWhoisReply(group, P(utf8)); }

const std::string kReserved = "Sorry, the domain you requested is in the reserved list";

// Plain "no match", "not found" and record replies are decided by the real
// replies (whois_fixture_test); these are the orders and edges they miss.
TEST(WhoisClassify, EachGroupsTestsInOrder) {
  struct Case {
    int group;
    std::string reply, state;
  };
  const Case cases[] = {
      {kGroupCn, "x\r\n" + kReserved + ".\r\n", WordReserved()},  // contains
      {kGroupCn, "no matching record\r\n" + kReserved, WordUnregistered()},  // not found first
      {kGroupOrg, "Name is reserved by afilias\r\n", WordRegistered()},
      {kGroupCom, "NO MATCH FOR \"A.COM\".\r\nDomain Name: A.COM", WordUnregistered()},
      {kGroupCom, "something else entirely", WordReserved()},
      {kGroupName, kReserved, WordRegistered()},
      {kGroupName, "x\r\nno match\r\n", WordUnregistered()},
      {kGroupName, "x\r\nNot available for registration.\r\nSecond level domain name is reserved.\r\n",
       WordReserved()},
      {kGroupOther, "no match", WordUnregistered()},
      {kGroupCom, "no match", WordReserved()},
      // Status lines and lines of free names, only with exactly that value.
      {kGroupOther, "registration status: free \r\n", WordUnregistered()},
      {kGroupOther, "Status: available for transfer\r\n", WordRegistered()},
      {kGroupCc, "not found", WordRegistered()},
      {kGroupOrg, "No Data Found\r\n", WordRegistered()},
  };
  for (const Case& c : cases) EXPECT_EQ(State(c.group, c.reply), c.state) << c.group << " " << c.reply;

  // The others' reserved sentence must be the whole reply, in any case.
  for (int g : {kGroupOrg, kGroupCc, kGroupOther}) {
    EXPECT_EQ(State(g, "SORRY, THE DOMAIN YOU REQUESTED IS IN THE RESERVED LIST"), WordReserved()) << g;
    EXPECT_EQ(State(g, kReserved + "\r\n"), WordRegistered()) << g;
  }
  // Markers match only at character boundaries: B0 6E is one character
  // whose second byte reads "n".
  EXPECT_EQ(ClassifyWhoisReply(kGroupOrg, "\xB0not found"), WordRegistered());
  EXPECT_EQ(ClassifyWhoisReply(kGroupOrg, "\xB0\xA1not found"), WordUnregistered());
}

TEST(WhoisClassify, FailuresInEveryGroup) {
  for (int g = 0; g < kWhoisGroupCount; ++g) {
    EXPECT_EQ(ClassifyWhoisReply(g, WordFailed()), WordFailed()) << g;
    EXPECT_EQ(ClassifyWhoisReply(g, ""), WordFailed()) << g;
    // Refusals, also where the reply holds a group's not-found text.
    for (const char* refusal : {"The Whois database is currently down. Not found: try later",
                                "%% Too many requests...\r\n%%\r\n%% No entries found, not found.\r\n",
                                "Your request can temporarily not be answered. Not found.",
                                "Please maintain at least 10-second time before starting another enquiry."})
      EXPECT_EQ(State(g, refusal), WordFailed()) << g << " " << refusal;
  }
  // A query-limit notice may head a shortened answer, which then counts: a
  // not-found text or a record; without either it is a failure.
  const std::string limit = "% Query rate limit exceeded. Reduced information.\r\n\r\n";
  EXPECT_EQ(State(kGroupOther, limit + "% No match for domain \"x.br\"\r\n"), WordUnregistered());
  EXPECT_EQ(State(kGroupOther, limit + "domain:      x.com.br\r\nowner: X\r\n"), WordRegistered());
  EXPECT_EQ(State(kGroupOther, limit + "% Use the web for availability.\r\n"), WordFailed());
  EXPECT_EQ(State(kGroupCom, "   Domain Name: A.COM\r\nTerms: query limit exceeded: access blocked\r\n"),
            WordRegistered());
  // Only the whole reply "失败" is the failure word.
  EXPECT_EQ(ClassifyWhoisReply(kGroupCom, WordFailed() + "x"), WordReserved());
}

// Whole records are cut from the real replies (whois_fixture_test); these
// are the label rules they do not reach.
TEST(WhoisCut, ThinRegistries) {
  EXPECT_EQ(Cut(kGroupTv, "status: ok\r\nstatus: second\r\n").StatusText, "ok");  // first occurrence
  // The label carries its blank: "status:x" is no match; no line feed after
  // the label gives an empty value.
  EXPECT_EQ(Cut(kGroupCom, "status:x\r\n").StatusText, " ");
  EXPECT_EQ(Cut(kGroupCom, "registrar: no line end").Registrar, "");
  // Today's label for the expiry, after the older one, which a blank value
  // no longer hides (it also matches inside the registrar's own label).
  EXPECT_EQ(Cut(kGroupCom, "registry expiry date: new\r\nexpiration date: old\r\n").ExpirationDate,
            "old");
  EXPECT_EQ(Cut(kGroupCom, "registrar registration expiration date: \r\n").ExpirationDate, "");
  // A lone CR ends a value as a line feed does.
  EXPECT_EQ(Cut(kGroupCom, "domain status: ok https://x\rstatus: no\n").StatusText, "ok https://x");
  // Labels match only at character boundaries: B0 73 is one character
  // whose second byte reads "s".
  EXPECT_EQ(Cut(kGroupCom, "\xB0status: x\r\nstatus: y\r\n").StatusText, "y");
}

TEST(WhoisCut, CnProgressive) {
  // One byte is skipped, whatever it is; "name server:" skips none.
  EXPECT_EQ(Cut(kGroupCn, "domain status:xok\r\n").StatusText, "ok");
  EXPECT_EQ(Cut(kGroupCn, "domain status:\nok\n").StatusText, "");
  // Labels out of order: the earlier field found hides the later label.
  const WhoisFields g = Cut(kGroupCn, "sponsoring registrar: reg\r\ndomain status: ok\r\n");
  EXPECT_EQ(g.StatusText, "ok");
  EXPECT_EQ(g.Registrar, " ");
  // A blank value gives way to the next label of the field.
  EXPECT_EQ(Cut(kGroupCn, "expiration date: \r\nexpiration time: 2031\r\n").ExpirationDate, "2031");
  // A missing label leaves the search where it was.
  EXPECT_EQ(Fields(Cut(kGroupCn,
                       "domain status: ok\r\nregistrant name: john\r\n"
                       "administrative email: e@x\r\nsponsoring registrar: reg\r\n")),
            (Texts{"ok", " ", "john", "e@x", "reg", " ", " ", " "}));
}

TEST(WhoisCut, ThickRegistries) {
  // Untrimmed for org: the blank after the colon stays.
  EXPECT_EQ(Cut(kGroupOrg, "status: ok\r\n").StatusText, " ok");
  EXPECT_EQ(Cut(kGroupOrg, "status:ok\r\n").StatusText, "ok");
  EXPECT_EQ(Cut(kGroupMobi, "status: ok\r\n").StatusText, "ok");
  // biz has labels of its own for the dates.
  const WhoisFields biz = Cut(kGroupBiz,
                              "created on: x\r\ndomain registration date: 2002\r\n"
                              "domain expiration date: 2032\r\nexpiration date: y\r\n");
  EXPECT_EQ(biz.CreationDate, "2002");
  EXPECT_EQ(biz.ExpirationDate, "2032");
  // name: the status only.
  EXPECT_EQ(Fields(Cut(kGroupName, "domain status: ok \r\nsponsoring registrar: reg\r\ncreated on: 2001\r\n")),
            (Texts{"ok", " ", " ", " ", " ", " ", " ", " "}));
  EXPECT_EQ(Cut(kGroupInfo, "registrar: new\nsponsoring registrar: old\n").Registrar, "old");
  // The generic group's creation date: "created on:" before "creation date:"
  // before "registration date:"; the other thick registries know only
  // "created on:" (and today's label).
  EXPECT_EQ(Cut(kGroupOther, "registration date: 2003\n").CreationDate, "2003");
  EXPECT_EQ(Cut(kGroupOther, "creation date: 2002\ncreated on: 2001\n").CreationDate, "2001");
  EXPECT_EQ(Cut(kGroupOther, "registration date: 2003\ncreation date: 2002\n").CreationDate, "2002");
  EXPECT_EQ(Cut(kGroupOrg, "registration date: 2003\n").CreationDate, " ");
}

TEST(WhoisCut, ChineseFieldValuesSurviveLowerCasing) {
  // 網 (BE 57), 華 (C8 41) and 資 (D9 59) end in bytes that read W, A and Y.
  const std::string prepared = P("Registrant Organization: \xE7\xB6\xB2\xE8\x8F\xAF\xE8\xB3\x87 Ltd\r\n");
  EXPECT_EQ(Cut(kGroupInfo, prepared).Organization, "\xBE\x57\xC8\x41\xD9\x59 ltd");
  // Latin-1 bytes in a reply become "?"; the rest is read.
  EXPECT_EQ(Cut(kGroupInfo, P("Registrant Organization: Caf\xE9 Ltd\r\n")).Organization, "caf? ltd");
}

TEST(WhoisIana, Referrals) {
  std::string s;
  // The older marker, anywhere, first occurrence; its value trimmed.
  ASSERT_TRUE(CutIanaReferral("x\r\nwhois server (port 43): whois.nic.xy \r\nrefer: r\r\n", s));
  EXPECT_EQ(s, "whois.nic.xy");
  s = "unchanged";
  ASSERT_TRUE(CutIanaReferral("whois server (port 43): whois.nic.xy", s));
  EXPECT_EQ(s, "");  // no line feed after it
  // Today's lines: "refer:" before "whois:".
  ASSERT_TRUE(CutIanaReferral("% iana\r\n\r\nwhois:   w.nic.xy\r\nrefer:        r.nic.xy\r\n", s));
  EXPECT_EQ(s, "r.nic.xy");
  ASSERT_TRUE(CutIanaReferral("whois:\nwhois: second\n", s));
  EXPECT_EQ(s, "second");
  // Only at the start of a line, only with a name; the marker ends in a blank.
  for (const char* none : {"registrar whois: x\nremarks: refer: y\n", "whois:\nrefer:   \r\n", "",
                           "whois server (port 43):x\n"})
    EXPECT_FALSE(CutIanaReferral(none, s)) << none;
  // A referred host is letters, digits, "-" and "." only; the bytes just
  // outside each range are refused.
  EXPECT_TRUE(IsWhoisHostName("whois.az-AZ09.xy"));
  for (char c : std::string("`{@[/:"))
    EXPECT_FALSE(IsWhoisHostName(std::string("a") + c + "b")) << c;
}

}  // namespace
}  // namespace orlu
