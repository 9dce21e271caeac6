#include "domaintools/domain_filter.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/text/errors.h"
#include "platform/text/gbk.h"

namespace orlu {
namespace {

// GBK bytes of a UTF-8 literal.
std::string G(std::string_view utf8) { return Gbk(utf8); }

std::string Extract(std::string_view line) {
  auto r = ExtractDomainFromText(line);
  return r ? *r : std::string("<nothing>");
}

TEST(ExtractDomainFromText, Examples) {
  const std::string name(5000, 'a');
  const std::pair<std::string, std::string> cases[] = {
      // Prefixes and paths.
      {"http://www.dom.com/path/x.html", "dom.com/path/x.html"},
      {"HTTP://WWW.Dom.COM", "dom.com"}, {"http://www.dom.cn/path/x.html", "dom.cn"},
      {"dom.cn", "dom.cn"}, {"dom.cn" + G("中文"), "dom.cn"},
      // Only 7 bytes of "http://" stay (nothing longer to cut) and hold no dot.
      {"http://", "<nothing>"}, {"http://x.y", "x.y"},
      // ".cn" is cut only where the host ends.
      {"dom.cnnic.net", "dom.cnnic.net"}, {"x.cn.com", "x.cn.com"}, {"x.cn9.com", "x.cn9.com"},
      {"x.cn-a.com/p", "x.cn-a.com/p"}, {"x.cnnic.cn/path?q=.cn", "x.cnnic.cn"},
      {"dom.cn:8080/a", "dom.cn"},  // a port is no part of the name
      // Words around the domain.
      {G("域名 dom.com 已到期"), "dom.com"}, {"a b c d.com e", "d.com"},
      {"mail me: admin@dom.com today", "dom.com"}, {G("联系人：王 电话：12.34"), "12.34"},
      {"[dom.com]", "dom.com"}, {"dom.com(test)", "dom.com"},
      {"www.abc(x)", "abc"},            // no dot left: cut at "(" anyway
      {"(a)b.com", "(a)b.com"},         // "(" before the dot stays
      {"a]b.com", "a]b.com"},           // first "]" is not the last byte
      {"@dom.com@x", "dom.com@x"},
      // No dot, nothing.
      {"", "<nothing>"}, {G("域名已到期"), "<nothing>"},
      // Chinese characters stay whole: 園 is 88 40 (second byte "@"); 乚 is 81 5D (second
      // byte "]"); 福海 is B8 A3 BA A3 (a full-width colon A3 BA straddles the two).
      {"\xBB\xA8\x88\x40.com", "\xBB\xA8\x88\x40.com"},
      {"\xB8\xA3\xBA\xA3.com", "\xB8\xA3\xBA\xA3.com"}, {"dom.x\x81\x5D", "dom.x\x81\x5D"},
      // Lower-casing leaves the second bytes of 華 (C8 41) and 網 (BE 57).
      {G("華網.COM"), "\xC8\x41\xBE\x57.com"},
      // Long lines are taken whole.
      {"http://www." + name + ".com/" + std::string(3000, 'p'),
       name + ".com/" + std::string(3000, 'p')},
      {std::string(4000, ' ') + name + ".cn/x", name + ".cn"},
  };
  for (const auto& [line, domain] : cases) EXPECT_EQ(Extract(line), domain) << line;
}

TEST(FilterByNameLength, BoundsInclusiveEntriesUnchangedAndNames) {
  const Lines in = {"ab.com", "abc.com", " Abcd.NET", "abcde.org", "nodot", ".com"};
  EXPECT_EQ(FilterByNameLength(in, 3, 4), (Lines{"abc.com"}));
  EXPECT_EQ(FilterByNameLength(in, 5, 5), (Lines{" Abcd.NET", "abcde.org"}));
  EXPECT_EQ(FilterByNameLength(in, -1, -1), (Lines{"nodot"}));
  EXPECT_EQ(FilterByNameLength(in, 0, 0), (Lines{".com"}));
  EXPECT_EQ(FilterByNameLength(in, 5, 2), Lines{});  // bounds the wrong way round: nothing
  EXPECT_EQ(FilterByNameLength(Lines{G("中文.com")}, 4, 4), (Lines{G("中文.com")}));
  // Bounds typed as text are taken as they are; a text that is no number raises.
  EXPECT_EQ(FilterByNameLength(in, "-5", "3"), (Lines{"ab.com", "abc.com", "nodot", ".com"}));
  EXPECT_THROW(FilterByNameLength(in, "abc", "3"), ConvertError);
  EXPECT_THROW(FilterByNameLength(in, "1", ""), ConvertError);
  EXPECT_EQ(ReduceToNames({"Dom.Com", "a.b.c", " a b.cn", "nodot", ".com", ""}),
            (Lines{"Dom", "a", " a b", "nodot", "", ""}));
}

TEST(RemoveDuplicateLines, FirstOccurrenceStaysInPlace) {
  EXPECT_EQ(RemoveDuplicateLines({"a.com", "b.com", "a.com", "A.com"}),
            (Lines{"a.com", "b.com", "A.com"}));
  EXPECT_EQ(RemoveDuplicateLines({"a.com ", "a.com", "", "a.com ", "", "b"}),
            (Lines{"a.com ", "a.com", "", "b"}));
}

DomainFilterSettings NoBoxes() {
  DomainFilterSettings s;
  s.cn = s.comCn = s.netCn = s.orgCn = s.com = s.net = s.org = s.dq = false;
  return s;
}

TEST(FilterSuffixCandidates, LowerCasedAndTrimmed) {
  EXPECT_EQ(FilterSuffixCandidates({" DOM.Com ", "\t\x01" "Dom.NET\r", G("華.COM")}, {}),
            (Lines{"dom.com", "dom.net", "\xC8\x41.com"}));
  EXPECT_EQ(FilterSuffixCandidates({"www.dom.com", "nodot", "", "dom.info"}, {}), Lines{});
}

TEST(FilterSuffixCandidates, EachBoxExactly) {
  const Lines in = {"a.cn",     "b.com.cn", "c.net.cn", "d.org.cn",  "e.com",    "f.net",
                    "g.org",    "h.bj.cn",  "i.gov.cn", "j.cnn.com", "k.com.cn.net",
                    "www.l.com", "m.cn.com", "n.x.cn",  "o.CN"};
  const std::pair<bool DomainFilterSettings::*, Lines> cases[] = {
      {&DomainFilterSettings::cn, {"a.cn", "o.cn"}},
      {&DomainFilterSettings::comCn, {"b.com.cn"}},
      {&DomainFilterSettings::netCn, {"c.net.cn"}},
      {&DomainFilterSettings::orgCn, {"d.org.cn"}},
      {&DomainFilterSettings::com, {"e.com"}},
      {&DomainFilterSettings::net, {"f.net"}},
      {&DomainFilterSettings::org, {"g.org"}},
      {&DomainFilterSettings::dq, {"h.bj.cn", "i.gov.cn", "n.x.cn"}},
  };
  for (const auto& [box, expected] : cases) {
    DomainFilterSettings s = NoBoxes();
    s.*box = true;
    EXPECT_EQ(FilterSuffixCandidates(in, s), expected) << expected.front();
  }
  EXPECT_EQ(FilterSuffixCandidates(in, NoBoxes()), Lines{});
}

TEST(FilterSuffixCandidates, RegionalBoxWithOthers) {
  DomainFilterSettings s;  // defaults: .com.cn ticked, regional not
  s.dq = true;
  EXPECT_EQ(FilterSuffixCandidates({"dom.bj.cn", "dom.gov.cn", "dom.com.cn", "dom.cnn.com",
                                    "dom.net.cn", "dom.cn", "www.dom.cn"},
                                   s),
            (Lines{"dom.bj.cn", "dom.gov.cn", "dom.com.cn", "dom.cn", "www.dom.cn"}));
  s.comCn = false;
  EXPECT_EQ(FilterSuffixCandidates({"dom.com.cn", "dom.bj.cn"}, s), (Lines{"dom.bj.cn"}));
  // A suffix holding one of the boxed ".cn" suffixes never joins as regional,
  // also behind a "www." (and the boxed suffix itself needs S to equal it).
  s.comCn = s.netCn = s.orgCn = true;
  const Lines www = {"www.dom.com.cn", "www.dom.net.cn", "x.org.cn.bj.cn", "www.dom.bj.cn"};
  EXPECT_EQ(FilterSuffixCandidates(www, s), (Lines{"www.dom.bj.cn"}));
}

TEST(MatchesNamePattern, EveryButton) {
  const Lines in = {"abc.com", "abcd.com", "123.com", "1234.com", "12345.com", ".com",
                    "a1b.com", "ab-.com",  "dom.com", "ab.com",   G("中a.com"),  G("中文.com")};
  auto pass = [&](NamePattern p) {
    DomainFilterSettings s;
    s.pattern = p;
    return FilterDomainList(in, s, {});
  };
  EXPECT_EQ(pass(NamePattern::AllDomain), in);
  EXPECT_EQ(pass(NamePattern::ThreeWord), (Lines{"abc.com", "dom.com"}));
  EXPECT_EQ(pass(NamePattern::FourWord), (Lines{"abcd.com"}));
  EXPECT_EQ(pass(NamePattern::ThreeNum), (Lines{"123.com"}));
  EXPECT_EQ(pass(NamePattern::AllNum), (Lines{"123.com", "1234.com", "12345.com", ".com"}));
  EXPECT_EQ(pass(NamePattern::ThreeAll), (Lines{"a1b.com", "ab-.com", G("中a.com")}));
  EXPECT_EQ(pass(NamePattern::FourNum), (Lines{"1234.com"}));
  EXPECT_EQ(pass(NamePattern::CmpKey), Lines{});  // no rules: nothing
  EXPECT_EQ(pass(NamePattern::None), Lines{});
}

// The letter patterns take the whole range a..z, its ends included, and
// nothing next to it.
TEST(MatchesNamePattern, LettersRunFromAToZ) {
  for (const char* name : {"xyz.com", "zzz.com", "aza.com"}) {
    EXPECT_TRUE(MatchesNamePattern(name, NamePattern::ThreeWord)) << name;
    EXPECT_FALSE(MatchesNamePattern(name, NamePattern::ThreeAll)) << name;
  }
  EXPECT_TRUE(MatchesNamePattern("wxyz.com", NamePattern::FourWord));
  for (const char* name : {"xy{.com", "`ab.com"}) {
    EXPECT_FALSE(MatchesNamePattern(name, NamePattern::ThreeWord)) << name;
    EXPECT_TRUE(MatchesNamePattern(name, NamePattern::ThreeAll)) << name;
  }
}

Lines RunRules(const Lines& lines, const Lines& rules, DomainFilterSettings s = {}) {
  s.pattern = NamePattern::CmpKey;
  return FilterDomainList(lines, s, rules);
}

TEST(KeyWordRules, EachRuleAddsTheCandidatesItPassesInTurn) {
  const Lines tv = {"domtv.com", "tvtv.com", "dom.tv", "tv.com", "tvdom.com", "DOMTV.com"};
  const Lines china = {"chinadom.com", "domchina.com", "china.cn", "dom.com.cn", "dom.com"};
  const struct {
    Lines lines, rules, expected;
  } cases[] = {
      {{"domtv.com", "myloan.net", "tvtv.com", "dom.tv", "china.com", "abc.com", "loantv.org",
        "dom.info", "myloan.cn"},
       DefaultFilterKeyWordLines(),
       {"domtv.com", "tvtv.com", "loantv.org", "myloan.net", "myloan.cn"}},
      // "后": the name ends with the keyword; candidates are lower-case; a line
      // without "|" has an empty keyword that matches nothing.
      {tv, {G("tv|后")}, {"domtv.com", "tvtv.com", "tv.com", "domtv.com"}},
      {tv, {G("TV|后")}, {}},
      {tv, {G("tv后")}, {}},
      // 網 is BE 57: its second byte is "W", which no keyword "W" may end.
      {{G("網.com")}, {G("W|后")}, {}},
      {{G("花網.com")}, {G("網|后")}, {G("花網.com")}},
      // "前" wins over "后": only the start is tested.
      {china, {G("china|前后")}, {"chinadom.com", "china.cn"}},
      // "中": the whole candidate, at character bounds only (園 is 88 40); "无": off.
      {china, {G("cn|中")}, {"china.cn", "dom.com.cn"}},
      {{G("花園.com"), "a@b.com"}, {G("@|中")}, {"a@b.com"}},
      {china, {G("cn|无中")}, {}},
      {china, {G("china|前后无")}, {}},
      {china, {G("china|abc")}, {}},  // no flag: off
      // "中" wins over "前" and "后".
      {china, {G("cn|中前后")}, {"china.cn", "dom.com.cn"}},
      // The keyword ends at the first "|" that is no second byte (東 is 96 7C).
      {{"ab.com", "a.com"}, {G("a|b|后")}, {"a.com"}},
      {{G("東.com"), G("廣東.net")}, {G("東|后")}, {G("東.com"), G("廣東.net")}},
      // Grouped by rule, with repeats.
      {{"domtv.com", "dom.net", "abc.org"}, {G("tv|后"), G("dom|前"), G("tv|中")},
       {"domtv.com", "domtv.com", "dom.net", "domtv.com"}},
      {{"domtv.com"}, {}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(RunRules(c.lines, c.rules), c.expected) << c.rules.size();
  // Rules act on the suffix-phase candidates only.
  DomainFilterSettings s;
  s.net = false;
  EXPECT_EQ(RunRules({"domtv.com", "dom.net"}, {G("dom|前")}, s), (Lines{"domtv.com"}));
}

TEST(DropListedNames, ComparesNamesLowerCased) {
  EXPECT_EQ(DropListedNames({"Dom.com", "xyz.net"}, {"DOM"}), (Lines{"xyz.net"}));
  EXPECT_EQ(DropListedNames({"A.COM", "b.NET", "a.org", "c", "A.cn"}, {"x", "b "}),
            (Lines{"a.com", "b.net", "a.org", "c", "a.cn"}));
  // An entry without "." has the empty name; an empty line of list 2 drops it.
  EXPECT_EQ(DropListedNames({"nodot", "a.com", ".cn"}, {""}), (Lines{"a.com"}));
  EXPECT_EQ(DropListedNames({"a.com", "b.com"}, {}), (Lines{"a.com", "b.com"}));
  EXPECT_EQ(DropListedNames({G("華網.com"), G("花.com")}, {G("華網")}), (Lines{G("花.com")}));
}

TEST(ReverseLowerCase, BottomToTopLowerCased) {
  EXPECT_EQ(ReverseLowerCase({"A.com", G("華.COM"), "", "c"}),
            (Lines{"c", "", "\xC8\x41.com", "a.com"}));
}

}  // namespace
}  // namespace orlu
