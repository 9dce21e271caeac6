// Routing, classification and field cutting on prepared replies.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
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
  const std::pair<int, Texts> cases[] = {
      {kGroupCn, {"abc.bj.cn", "x.y.cnx", Gbk("例子.中国"), "a.cn"}},  // ".cn" anywhere
      // Suffixes cn.com and example.com; whole-text, byte-wise.
      {kGroupOther, {"abc.cn.com", "www.example.com", "a.cnn", "a.COM", ""}},
      {kGroupCom, {"com", "a.com", "a.net"}},  // "com" has no dot: the whole text
      {kGroupOrg, {"a.org"}}, {kGroupCc, {"a.cc"}}, {kGroupBiz, {"a.biz"}},
      {kGroupInfo, {"a.info"}}, {kGroupName, {"a.name"}}, {kGroupTv, {"a.tv"}},
      {kGroupMobi, {"a.mobi"}}};
  for (const auto& [group, domains] : cases)
    for (const std::string& d : domains) EXPECT_EQ(WhoisGroupOfDomain(d), group) << d;
  EXPECT_EQ(PrepareWhoisDomain("  \tWWW.Example.COM \r"), "www.example.com");
}

// The reply as a registry sends it (UTF-8, any case), prepared.
std::string P(const std::string& utf8) { return PrepareWhoisReply(utf8); }
std::string State(int group, const std::string& utf8) { return ClassifyWhoisReply(group, P(utf8)); }

const std::string kReserved = "Sorry, the domain you requested is in the reserved list";

// Plain "no match", "not found" and record replies are decided by the real
// replies (whois_fixture_test); these are the orders and edges they miss.
TEST(WhoisClassify, EachGroupsTestsInOrder) {
  const std::tuple<int, std::string, std::string> cases[] = {
      {kGroupCn, "x\r\n" + kReserved + ".\r\n", WordReserved()},  // contains
      {kGroupCn, "no matching record\r\n" + kReserved, WordUnregistered()},  // not found first
      {kGroupOrg, "Name is reserved by afilias\r\n", WordRegistered()},
      {kGroupCom, "NO MATCH FOR \"A.COM\".\r\nDomain Name: A.COM", WordUnregistered()},
      {kGroupCom, "something else entirely", WordReserved()},
      {kGroupName, kReserved, WordRegistered()},
      {kGroupName, "x\r\nno match\r\n", WordUnregistered()},
      {kGroupName,
       "x\r\nNot available for registration.\r\nSecond level domain name is reserved.\r\n",
       WordReserved()},
      {kGroupOther, "no match", WordUnregistered()},
      {kGroupCom, "no match", WordReserved()},
      // Status lines and lines of free names, only with exactly that value.
      {kGroupOther, "registration status: free \r\n", WordUnregistered()},
      {kGroupOther, "Status: available for transfer\r\n", WordRegistered()},
      {kGroupCc, "not found", WordRegistered()},
      {kGroupOrg, "No Data Found\r\n", WordRegistered()},
  };
  for (const auto& [group, reply, state] : cases)
    EXPECT_EQ(State(group, reply), state) << group << " " << reply;

  // The others' reserved sentence must be the whole reply, in any case.
  for (int g : {kGroupOrg, kGroupCc, kGroupOther}) {
    EXPECT_EQ(State(g, "SORRY, THE DOMAIN YOU REQUESTED IS IN THE RESERVED LIST"), WordReserved())
        << g;
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
    for (const char* refusal :
         {"The Whois database is currently down. Not found: try later",
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
  EXPECT_EQ(State(kGroupCom, "   Domain Name: A.COM\r\nTerms: query limit exceeded: blocked\r\n"),
            WordRegistered());
  // Only the whole reply "失败" is the failure word.
  EXPECT_EQ(ClassifyWhoisReply(kGroupCom, WordFailed() + "x"), WordReserved());
}

// A registry's record of the name, then its not-found statement for each
// contact and name server the record names; its free answer names the
// domain itself as the object not found.
TEST(WhoisClassify, NotFoundStatementsAboutOtherObjectsLeaveTheNameRegistered) {
  const std::string record =
      "domain:             abc.xy\r\n"
      "changed:            2023-05-04 10:11:12\r\n\r\n"
      "NO OBJECT FOUND!\r\n"
      "object:             c123-xy\r\n"
      "type:               person\r\n\r\n"
      "NO OBJECT FOUND!\r\n"
      "type: nameserver\r\n\r\n";
  EXPECT_EQ(State(kGroupOther, record), WordRegistered());
  EXPECT_EQ(State(kGroupOther, "domain: abc.xy\nobject not found\ntype: host\n"), WordRegistered());
  const std::string free =
      "NO OBJECT FOUND!\r\nobject:.............abc.xy\r\ntype:...............domain\r\n\r\n";
  EXPECT_EQ(State(kGroupOther, free), WordUnregistered());
  // Any statement about the name counts, also after one about a contact.
  EXPECT_EQ(State(kGroupOther, "NO OBJECT FOUND!\r\ntype: person\r\n\r\n" + free),
            WordUnregistered());
}

// A record label's value is its own line's: on the last line without a line
// end, and never the line after an empty value.
TEST(WhoisClassify, RecordLabelValueEndsWithItsLine) {
  const std::string free = "No entries found.\r\n";
  EXPECT_EQ(State(kGroupOther, free + "Registrar: Reg"), WordRegistered());
  EXPECT_EQ(State(kGroupOther, free + "Registrar: Reg\r\nRemarks: none\r\n"), WordRegistered());
  EXPECT_EQ(State(kGroupOther, free + "Registrar:\r\nRemarks: none\r\n"), WordUnregistered());
}

// A free wording that a legal notice wraps onto its next line belongs to the
// notice's sentence, whatever the line ends; after a short line it starts a
// statement of its own.
TEST(WhoisClassify, WrappedNoticeLineCarriesItsSentenceOnEveryLineEnd) {
  const std::string notice =
      "NOTICE: This service may not be used to find out whether a domain name";
  const std::string heading = "Whois server of the xy registry";
  for (const std::string eol : {"\n", "\r\n"}) {
    EXPECT_EQ(State(kGroupOther, notice + eol + "is available for registration." + eol),
              WordRegistered())
        << eol.size();
    EXPECT_EQ(State(kGroupOther, heading + eol + "abc.xy is available for registration." + eol),
              WordUnregistered())
        << eol.size();
  }
}

// At most four words before a free wording, at a line start or after the end
// of a sentence, leave it a statement about the name.
TEST(WhoisClassify, FreeStatementSubjectIsAtMostFourWords) {
  for (const std::string before : {"", "Query done. "}) {
    EXPECT_EQ(State(kGroupOther, before + "The domain name abc.xy does not exist.\r\n"),
              WordUnregistered())
        << before;
    EXPECT_EQ(State(kGroupOther, before + "The requested domain name abc.xy does not exist.\r\n"),
              WordRegistered())
        << before;
  }
}

// Whole records are cut from the real replies (whois_fixture_test); these
// are the label rules they do not reach.
TEST(WhoisCut, LabelRulesOfEachGroup) {
  using F = WhoisFields;
  const std::tuple<int, std::string, std::string F::*, std::string> cases[] = {
      // Thin: the first occurrence; the label's blank is its own; a line end (CR too) ends it.
      {kGroupTv, "status: ok\r\nstatus: second\r\n", &F::StatusText, "ok"},
      {kGroupCom, "status:x\r\n", &F::StatusText, " "},
      {kGroupCom, "registrar: no line end", &F::Registrar, ""},
      {kGroupCom, "domain status: ok https://x\rstatus: no\n", &F::StatusText, "ok https://x"},
      // The older expiry label wins, even blank (it also matches inside the registrar's label).
      {kGroupCom, "registry expiry date: new\r\nexpiration date: old\r\n", &F::ExpirationDate,
       "old"},
      {kGroupCom, "registrar registration expiration date: \r\n", &F::ExpirationDate, ""},
      // Labels match at character boundaries only: B0 73 is one character ("s" its 2nd byte).
      {kGroupCom, "\xB0status: x\r\nstatus: y\r\n", &F::StatusText, "y"},
      // cn: one byte is skipped, whatever it is; a blank value gives way to the next label.
      {kGroupCn, "domain status:xok\r\n", &F::StatusText, "ok"},
      {kGroupCn, "domain status:\nok\n", &F::StatusText, ""},
      {kGroupCn, "expiration date: \r\nexpiration time: 2031\r\n", &F::ExpirationDate, "2031"},
      // Untrimmed for org: the blank after the colon stays.
      {kGroupOrg, "status: ok\r\n", &F::StatusText, " ok"},
      {kGroupOrg, "status:ok\r\n", &F::StatusText, "ok"},
      {kGroupMobi, "status: ok\r\n", &F::StatusText, "ok"},
      {kGroupInfo, "registrar: new\nsponsoring registrar: old\n", &F::Registrar, "old"},
      // The generic group's creation date: "created on:" before "creation date:" before
      // "registration date:"; the other thick registries know only "created on:" (and today's).
      {kGroupOther, "registration date: 2003\n", &F::CreationDate, "2003"},
      {kGroupOther, "creation date: 2002\ncreated on: 2001\n", &F::CreationDate, "2001"},
      {kGroupOther, "registration date: 2003\ncreation date: 2002\n", &F::CreationDate, "2002"},
      {kGroupOrg, "registration date: 2003\n", &F::CreationDate, " "},
  };
  for (const auto& [group, reply, field, value] : cases)
    EXPECT_EQ(Cut(group, reply).*field, value) << group << " " << reply;

  // cn: the earlier field found hides a later label; a missing one leaves the search where it was.
  EXPECT_EQ(Fields(Cut(kGroupCn, "sponsoring registrar: reg\r\ndomain status: ok\r\n")),
            (Texts{"ok", " ", " ", " ", " ", " ", " ", " "}));
  EXPECT_EQ(Fields(Cut(kGroupCn,
                       "domain status: ok\r\nregistrant name: john\r\n"
                       "administrative email: e@x\r\nsponsoring registrar: reg\r\n")),
            (Texts{"ok", " ", "john", "e@x", "reg", " ", " ", " "}));
  // biz has labels of its own for the dates; name cuts the status only.
  EXPECT_EQ(Fields(Cut(kGroupBiz,
                       "created on: x\r\ndomain registration date: 2002\r\n"
                       "domain expiration date: 2032\r\nexpiration date: y\r\n")),
            (Texts{" ", " ", " ", " ", " ", " ", "2002", "2032"}));
  EXPECT_EQ(Fields(Cut(kGroupName,
                       "domain status: ok \r\nsponsoring registrar: reg\r\ncreated on: 2001\r\n")),
            (Texts{"ok", " ", " ", " ", " ", " ", " ", " "}));
}

TEST(WhoisCut, ChineseFieldValuesSurviveLowerCasing) {
  // 網 (BE 57), 華 (C8 41) and 資 (D9 59) end in bytes that read W, A and Y.
  const std::string prepared =
      P("Registrant Organization: \xE7\xB6\xB2\xE8\x8F\xAF\xE8\xB3\x87 Ltd\r\n");
  EXPECT_EQ(Cut(kGroupInfo, prepared).Organization, "\xBE\x57\xC8\x41\xD9\x59 ltd");
  // Latin-1 bytes in a reply become "?"; the rest is read.
  EXPECT_EQ(Cut(kGroupInfo, P("Registrant Organization: Caf\xE9 Ltd\r\n")).Organization,
            "caf? ltd");
}

TEST(WhoisIana, Referrals) {
  auto referral = [](const std::string& reply) -> std::optional<std::string> {
    std::string s = "unchanged";
    return CutIanaReferral(reply, s) ? std::optional(s) : std::nullopt;
  };
  // The older marker, anywhere, first occurrence; its value trimmed, empty
  // without a line feed after it.
  EXPECT_EQ(referral("x\r\nwhois server (port 43): whois.nic.xy \r\nrefer: r\r\n"), "whois.nic.xy");
  EXPECT_EQ(referral("whois server (port 43): whois.nic.xy"), "");
  // Today's lines: "refer:" before "whois:".
  EXPECT_EQ(referral("% iana\r\n\r\nwhois:   w.nic.xy\r\nrefer:        r.nic.xy\r\n"), "r.nic.xy");
  EXPECT_EQ(referral("whois:\nwhois: second\n"), "second");
  // Only at the start of a line, only with a name; the marker ends in a blank.
  for (const char* none : {"registrar whois: x\nremarks: refer: y\n", "whois:\nrefer:   \r\n", "",
                           "whois server (port 43):x\n"})
    EXPECT_EQ(referral(none), std::nullopt) << none;
  // A referred host is letters, digits, "-" and "." only; the bytes just
  // outside each range are refused.
  EXPECT_TRUE(IsWhoisHostName("whois.az-AZ09.xy"));
  for (char c : std::string("`{@[/:"))
    EXPECT_FALSE(IsWhoisHostName(std::string("a") + c + "b")) << c;
}

}  // namespace
}  // namespace orlu
