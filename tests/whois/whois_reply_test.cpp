// Routing, classification and field cutting on prepared replies.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/gbk.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply.h"

namespace orlu {
namespace {

TEST(WhoisRouting, SuffixTestsInOrder) {
  EXPECT_EQ(WhoisGroupOfDomain("abc.bj.cn"), kGroupCn);
  EXPECT_EQ(WhoisGroupOfDomain("x.y.cnx"), kGroupCn);  // ".cn" anywhere in the suffix
  EXPECT_EQ(WhoisGroupOfDomain(Gbk("例子.中国")), kGroupCn);
  for (const char* d : {"a.cn", "a.com.cn", "a.net.cn", "a.org.cn", "a.gov.cn"})
    EXPECT_EQ(WhoisGroupOfDomain(d), kGroupCn) << d;

  EXPECT_EQ(WhoisGroupOfDomain("abc.cn.com"), kGroupOther);      // suffix cn.com: no ".cn"
  EXPECT_EQ(WhoisGroupOfDomain("www.example.com"), kGroupOther);  // suffix example.com
  EXPECT_EQ(WhoisGroupOfDomain("a.cnn"), kGroupOther);
  EXPECT_EQ(WhoisGroupOfDomain("a.co.uk"), kGroupOther);
  EXPECT_EQ(WhoisGroupOfDomain("a.COM"), kGroupOther);  // whole-text, byte-wise

  EXPECT_EQ(WhoisGroupOfDomain("com"), kGroupCom);  // no dot: the whole text
  EXPECT_EQ(WhoisGroupOfDomain("a.com"), kGroupCom);
  EXPECT_EQ(WhoisGroupOfDomain("a.net"), kGroupCom);
  EXPECT_EQ(WhoisGroupOfDomain("a.org"), kGroupOrg);
  EXPECT_EQ(WhoisGroupOfDomain("a.cc"), kGroupCc);
  EXPECT_EQ(WhoisGroupOfDomain("a.biz"), kGroupBiz);
  EXPECT_EQ(WhoisGroupOfDomain("a.info"), kGroupInfo);
  EXPECT_EQ(WhoisGroupOfDomain("a.name"), kGroupName);
  EXPECT_EQ(WhoisGroupOfDomain("a.tv"), kGroupTv);
  EXPECT_EQ(WhoisGroupOfDomain("a.mobi"), kGroupMobi);
  EXPECT_EQ(WhoisGroupOfDomain(""), kGroupOther);

  EXPECT_EQ(PrepareWhoisDomain("  \tWWW.Example.COM \r"), "www.example.com");
}

// The reply as a registry sends it (UTF-8, any case), prepared.
std::string P(const std::string& utf8) { return PrepareWhoisReply(utf8); }

std::string State(int group, const std::string& utf8) { return ClassifyWhoisReply(group, P(utf8)); }

const std::string kReserved = "Sorry, the domain you requested is in the reserved list";

TEST(WhoisClassify, CnGroup) {
  EXPECT_EQ(State(kGroupCn, "No Matching Record."), WordUnregistered());
  EXPECT_EQ(State(kGroupCn, "x\r\n" + kReserved + ".\r\n"), WordReserved());  // contains
  // Not found is tested before reserved.
  EXPECT_EQ(State(kGroupCn, "no matching record\r\n" + kReserved), WordUnregistered());
  EXPECT_EQ(State(kGroupCn, "Domain Name: a.cn\r\n"), WordRegistered());
  // Today's answer for a prohibited name carries none of the markers.
  EXPECT_EQ(State(kGroupCn, "The domain you requested is prohibited."), WordRegistered());
}

TEST(WhoisClassify, ComNetGroup) {
  EXPECT_EQ(State(kGroupCom, "No match for \"A.COM\"."), WordUnregistered());
  EXPECT_EQ(State(kGroupCom, "NO MATCH FOR \"A.COM\".\r\nDomain Name: A.COM"), WordUnregistered());
  EXPECT_EQ(State(kGroupCom, "   Domain Name: A.COM\r\n"), WordRegistered());
  EXPECT_EQ(State(kGroupCom, "something else entirely"), WordReserved());
  EXPECT_EQ(State(kGroupCom, kReserved), WordReserved());
}

TEST(WhoisClassify, ReservedSentenceMustBeTheWholeReply) {
  for (int g : {kGroupOrg, kGroupCc, kGroupBiz, kGroupInfo, kGroupTv, kGroupMobi, kGroupOther}) {
    EXPECT_EQ(State(g, kReserved), WordReserved()) << g;
    EXPECT_EQ(State(g, "SORRY, THE DOMAIN YOU REQUESTED IS IN THE RESERVED LIST"), WordReserved()) << g;
    EXPECT_EQ(State(g, kReserved + "\r\n"), WordRegistered()) << g;
    EXPECT_EQ(State(g, "header\r\n" + kReserved), WordRegistered()) << g;
  }
  EXPECT_EQ(State(kGroupName, "Not available for second level registration"), WordReserved());
  EXPECT_EQ(State(kGroupName, "Not available for second level registration.\r\n"), WordRegistered());
  EXPECT_EQ(State(kGroupName, kReserved), WordRegistered());
}

TEST(WhoisClassify, NotFoundWordings) {
  for (int g : {kGroupOrg, kGroupBiz, kGroupInfo, kGroupMobi, kGroupOther})
    EXPECT_EQ(State(g, "NOT FOUND"), WordUnregistered()) << g;
  for (int g : {kGroupCc, kGroupTv, kGroupOther})
    EXPECT_EQ(State(g, "No match for \"X\"."), WordUnregistered()) << g;
  // cc and tv know only "no match for".
  EXPECT_EQ(State(kGroupCc, "not found"), WordRegistered());
  // The name registry: "no match" anywhere.
  EXPECT_EQ(State(kGroupName, "x\r\nno match\r\n"), WordUnregistered());
  EXPECT_EQ(State(kGroupName, "No match for \"A.NAME\"."), WordUnregistered());
  EXPECT_EQ(State(kGroupOther, "no match"), WordRegistered());
  // biz words it "No Data Found" today; org never did.
  EXPECT_EQ(State(kGroupBiz, "No Data Found\r\n"), WordUnregistered());
  EXPECT_EQ(State(kGroupOrg, "No Data Found\r\n"), WordRegistered());
}

TEST(WhoisClassify, FailuresInEveryGroup) {
  for (int g = 0; g < kWhoisGroupCount; ++g) {
    EXPECT_EQ(ClassifyWhoisReply(g, WordFailed()), WordFailed()) << g;
    // Nothing said: a failure, never an answer.
    EXPECT_EQ(ClassifyWhoisReply(g, ""), WordFailed()) << g;
    EXPECT_EQ(ClassifyWhoisReply(g, P("\xC3\x28 not utf-8")), WordFailed()) << g;
    // Refusals, also where the reply holds a group's not-found text.
    EXPECT_EQ(State(g, "WHOIS LIMIT EXCEEDED - SEE WWW.PIR.ORG/WHOIS FOR DETAILS"), WordFailed()) << g;
    EXPECT_EQ(State(g, "Queried interval is too short."), WordFailed()) << g;
    EXPECT_EQ(State(g, "The Whois database is currently down. Not found: try later"), WordFailed()) << g;
    EXPECT_EQ(State(g, "Your connection limit exceeded. No match for you."), WordFailed()) << g;
  }
  // A refusal stands at the head of the reply; terms of use further down that
  // speak of limits refuse nothing.
  const std::string record = "   Domain Name: A.COM\r\n" + std::string(600, ' ') + "\r\n";
  EXPECT_EQ(State(kGroupCom, record + "query limit exceeded: access blocked\r\n"), WordRegistered());
  EXPECT_EQ(State(kGroupCom, "\r\nWhois Server Version 2.0\r\n\r\nThe Whois database is currently down.\r\n"),
            WordFailed());
  // Only the whole reply "失败" is the failure word.
  EXPECT_EQ(ClassifyWhoisReply(kGroupCom, WordFailed() + "x"), WordReserved());
  EXPECT_EQ(ClassifyWhoisReply(kGroupOrg, WordFailed() + "x"), WordRegistered());
}

TEST(WhoisClassify, MarkersMatchOnlyAtCharacterBoundaries) {
  // 0xB0 0x6E is one character whose second byte reads "n".
  const std::string split = "\xB0not found";
  EXPECT_EQ(ClassifyWhoisReply(kGroupOrg, split), WordRegistered());
  EXPECT_EQ(ClassifyWhoisReply(kGroupOrg, "\xB0\xA1not found"), WordUnregistered());
}

WhoisFields Cut(int group, const std::string& prepared) {
  WhoisFields f;
  CutWhoisFields(group, prepared, f);
  return f;
}

TEST(WhoisCut, ThinRegistriesKeepTheCarriageReturn) {
  for (int g : {kGroupCom, kGroupCc, kGroupTv}) {
    const WhoisFields f = Cut(g,
                              "   status: ok\r\n"
                              "   registrar: reg inc.\r\n"
                              "   name server: ns1.a.com\r\n"
                              "   name server: ns2.a.com\r\n"
                              "   creation date: 01-jan-2000\r\n"
                              "   expiration date: 01-jan-2030\r\n"
                              "   status: second\r\n");
    EXPECT_EQ(f.StatusText, "ok\r") << g;
    EXPECT_EQ(f.Registrar, "reg inc.\r");
    EXPECT_EQ(f.NameServer, "ns1.a.com\r");  // first occurrence only
    EXPECT_EQ(f.CreationDate, "01-jan-2000\r");
    EXPECT_EQ(f.ExpirationDate, "01-jan-2030\r");
    EXPECT_EQ(f.Organization, " ");
    EXPECT_EQ(f.Contact, " ");
    EXPECT_EQ(f.Email, " ");
  }
  // The label carries its blank: "status:x" is no match; no line feed after
  // the label gives an empty value.
  EXPECT_EQ(Cut(kGroupCom, "status:x\r\n").StatusText, " ");
  EXPECT_EQ(Cut(kGroupCom, "registrar: no line end").Registrar, "");
  // Today's label for the expiry, after the older one.
  EXPECT_EQ(Cut(kGroupCom, "registry expiry date: 2030\r\n").ExpirationDate, "2030\r");
  EXPECT_EQ(Cut(kGroupCom, "registry expiry date: new\r\nexpiration date: old\r\n").ExpirationDate,
            "old\r");
  // A label inside a longer one counts ("domain status: " holds "status: ").
  EXPECT_EQ(Cut(kGroupCom, "domain status: ok https://x\r\n").StatusText, "ok https://x\r");
}

TEST(WhoisCut, CnProgressive) {
  const WhoisFields f = Cut(kGroupCn,
                            "domain status: ok\r\n"
                            "registrant organization: org\r\n"
                            "registrant name: john\r\n"
                            "administrative email: a@b.cn\r\n"
                            "sponsoring registrar: reg\r\n"
                            "name server:ns1.a.cn\r\n"
                            "registration date: 2001-01-01\r\n"
                            "expiration date: 2031-01-01\r\n");
  EXPECT_EQ(f.StatusText, "ok\r");
  EXPECT_EQ(f.Organization, "org\r");
  EXPECT_EQ(f.Contact, "john\r");
  EXPECT_EQ(f.Email, "a@b.cn\r");
  EXPECT_EQ(f.Registrar, "reg\r");
  EXPECT_EQ(f.NameServer, "ns1.a.cn\r");  // starts right after the colon
  EXPECT_EQ(f.CreationDate, "2001-01-01\r");
  EXPECT_EQ(f.ExpirationDate, "2031-01-01\r");

  // One byte is skipped, whatever it is; "name server:" skips none.
  EXPECT_EQ(Cut(kGroupCn, "domain status:xok\r\n").StatusText, "ok\r");
  EXPECT_EQ(Cut(kGroupCn, "name server: ns\r\n").NameServer, " ns\r");
  // A line feed right after the colon: nothing left before it.
  EXPECT_EQ(Cut(kGroupCn, "domain status:\nok\n").StatusText, "");

  // Labels out of order: the earlier field found hides the later label.
  const WhoisFields g = Cut(kGroupCn, "sponsoring registrar: reg\r\ndomain status: ok\r\n");
  EXPECT_EQ(g.StatusText, "ok\r");
  EXPECT_EQ(g.Registrar, " ");
  // A missing label leaves the search where it was.
  const WhoisFields h = Cut(kGroupCn,
                            "domain status: ok\r\nregistrant name: john\r\n"
                            "administrative email: e@x\r\nsponsoring registrar: reg\r\n");
  EXPECT_EQ(h.Organization, " ");
  EXPECT_EQ(h.Contact, "john\r");
  EXPECT_EQ(h.Email, "e@x\r");
  EXPECT_EQ(h.Registrar, "reg\r");
}

TEST(WhoisCut, CnTodaysLabels) {
  const WhoisFields f = Cut(kGroupCn,
                            "domain name: a.cn\n"
                            "domain status: ok\n"
                            "registrant: org\n"
                            "registrant contact email: e@a.cn\n"
                            "sponsoring registrar: reg\n"
                            "name server: ns1.a.cn\n"
                            "registration time: 2018-03-13 21:45:16\n"
                            "expiration time: 2021-03-13 21:45:16\n");
  EXPECT_EQ(f.Organization, "org");
  EXPECT_EQ(f.Email, "e@a.cn");
  EXPECT_EQ(f.NameServer, " ns1.a.cn");
  EXPECT_EQ(f.CreationDate, "2018-03-13 21:45:16");
  EXPECT_EQ(f.ExpirationDate, "2021-03-13 21:45:16");
}

TEST(WhoisCut, ThickRegistries) {
  const std::string reply =
      "status: ok\r\n"
      "registrant organization: org\r\n"
      "registrant name: john\r\n"
      "registrant email: j@a.org\r\n"
      "sponsoring registrar: reg\r\n"
      "name server: ns1.a.org\r\n"
      "created on: 2001\r\n"
      "expiration date: 2031\r\n";
  // Untrimmed for org: the blank after the colon and the CR stay.
  const WhoisFields org = Cut(kGroupOrg, reply);
  EXPECT_EQ(org.StatusText, " ok\r");
  EXPECT_EQ(org.Organization, " org\r");
  EXPECT_EQ(org.CreationDate, " 2001\r");
  EXPECT_EQ(Cut(kGroupOrg, "status:ok\r\n").StatusText, "ok\r");
  // Trimmed for info, mobi and the others.
  for (int g : {kGroupInfo, kGroupMobi, kGroupOther}) {
    const WhoisFields f = Cut(g, reply);
    EXPECT_EQ(f.StatusText, "ok") << g;
    EXPECT_EQ(f.Organization, "org");
    EXPECT_EQ(f.Contact, "john");
    EXPECT_EQ(f.Email, "j@a.org");
    EXPECT_EQ(f.Registrar, "reg");
    EXPECT_EQ(f.NameServer, "ns1.a.org");
    EXPECT_EQ(f.CreationDate, "2001");
    EXPECT_EQ(f.ExpirationDate, "2031");
  }
  // biz has labels of its own for the dates.
  const WhoisFields biz = Cut(kGroupBiz,
                              "created on: x\r\ndomain registration date: 2002\r\n"
                              "domain expiration date: 2032\r\nexpiration date: y\r\n");
  EXPECT_EQ(biz.CreationDate, "2002");
  EXPECT_EQ(biz.ExpirationDate, "2032");
  // name: the status only.
  const WhoisFields name = Cut(kGroupName, "domain status: ok \r\n" + reply);
  EXPECT_EQ(name.StatusText, "ok");
  EXPECT_EQ(name.Registrar, " ");
  EXPECT_EQ(name.NameServer, " ");
}

TEST(WhoisCut, ThickRegistriesTodaysLabels) {
  const std::string reply =
      "registrar whois server: whois.reg.com\n"
      "creation date: 2002-03-27t16:03:44z\n"
      "registry expiry date: 2027-03-26t23:59:59z\n"
      "registrar: reg, inc.\n";
  for (int g : {kGroupBiz, kGroupInfo, kGroupMobi, kGroupOther}) {
    const WhoisFields f = Cut(g, reply);
    EXPECT_EQ(f.CreationDate, "2002-03-27t16:03:44z") << g;
    EXPECT_EQ(f.ExpirationDate, "2027-03-26t23:59:59z") << g;
    EXPECT_EQ(f.Registrar, "reg, inc.") << g;
  }
  // The older label wins where both are there.
  EXPECT_EQ(Cut(kGroupInfo, "registrar: new\nsponsoring registrar: old\n").Registrar, "old");
}

TEST(WhoisCut, OtherGroupCreationDatePriority) {
  EXPECT_EQ(Cut(kGroupOther, "registration date: 2003\n").CreationDate, "2003");
  EXPECT_EQ(Cut(kGroupOther, "creation date: 2002\ncreated on: 2001\n").CreationDate, "2001");
  EXPECT_EQ(Cut(kGroupOther, "registration date: 2003\ncreation date: 2002\n").CreationDate, "2002");
  // The other thick registries know only "created on:" (and today's label).
  EXPECT_EQ(Cut(kGroupOrg, "registration date: 2003\n").CreationDate, " ");
}

TEST(WhoisCut, ChineseFieldValuesSurviveLowerCasing) {
  // 網 (BE 57), 華 (C8 41) and 資 (D9 59) end in bytes that read W, A and Y.
  const std::string prepared = P("Registrant Organization: \xE7\xB6\xB2\xE8\x8F\xAF\xE8\xB3\x87 Ltd\r\n");
  EXPECT_EQ(Cut(kGroupInfo, prepared).Organization, "\xBE\x57\xC8\x41\xD9\x59 ltd");
  EXPECT_EQ(Cut(kGroupInfo, prepared).Organization, Gbk("網華資") + " ltd");
}

TEST(WhoisCut, LabelsMatchOnlyAtCharacterBoundaries) {
  // 0xB0 0x73 is one character whose second byte reads "s".
  EXPECT_EQ(Cut(kGroupCom, "\xB0status: x\r\nstatus: y\r\n").StatusText, "y\r");
  EXPECT_EQ(Cut(kGroupCom, "\xB0status: x\r\n").StatusText, " ");
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
  ASSERT_TRUE(CutIanaReferral("domain: xy\nwhois:        whois.nic.xy\n", s));
  EXPECT_EQ(s, "whois.nic.xy");
  // Only at the start of a line, and only with a name.
  EXPECT_FALSE(CutIanaReferral("registrar whois: x\nremarks: refer: y\n", s));
  EXPECT_FALSE(CutIanaReferral("whois:\nrefer:   \r\n", s));
  ASSERT_TRUE(CutIanaReferral("whois:\nwhois: second\n", s));
  EXPECT_EQ(s, "second");
  EXPECT_FALSE(CutIanaReferral("", s));
  EXPECT_FALSE(CutIanaReferral("whois server (port 43):x\n", s));  // the marker ends in a blank
}

}  // namespace
}  // namespace orlu
