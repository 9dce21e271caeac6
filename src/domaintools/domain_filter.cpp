#include "domaintools/domain_filter.h"

#include <functional>
#include <unordered_set>

#include "platform/text/gbk.h"

namespace orlu {

namespace {

// Flag words of the keyword rules and the full-width colon, as GBK bytes.
constexpr std::string_view kFlagNone = "\xCE\xDE";    // 无
constexpr std::string_view kFlagMiddle = "\xD6\xD0";  // 中
constexpr std::string_view kFlagFront = "\xC7\xB0";   // 前
constexpr std::string_view kFlagBack = "\xBA\xF3";    // 后
constexpr std::string_view kWideColon = "\xA3\xBA";   // ：

bool IsLetter(unsigned char c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// A byte that may go on inside a host name after ".cn" (".cnnic.net",
// ".cn.com"): then the ".cn" is not the end of the domain.
bool ContinuesHostName(unsigned char c) {
  return IsLetter(c) || IsDigit(c) || c == '-' || c == '.';
}

// Hash for sets of strings that are looked up by string_view.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// Text before the first "." (a "." is never the second byte of a GBK
// character, so a plain byte search finds the right one).
std::string_view NameOf(std::string_view entry) {
  const auto dot = entry.find('.');
  return dot == std::string_view::npos ? entry.substr(0, 0) : entry.substr(0, dot);
}

// 1-based position of the first "." (0 when none).
int DotPos(std::string_view s) {
  const auto dot = s.find('.');
  return dot == std::string_view::npos ? 0 : static_cast<int>(dot) + 1;
}

// "地区": a suffix that ends in ".cn" without being ".cn" itself and holds
// none of the three suffixes that have boxes of their own, so "www.dom.com.cn"
// stays out with ".com.cn" and "dom.cnn.com" (no ".cn" at the end) too.
bool IsRegionalCnSuffix(std::string_view suffix) {
  if (!suffix.ends_with(".cn") || suffix == ".cn") return false;
  for (const std::string_view own : {".com.cn", ".net.cn", ".org.cn"}) {
    if (suffix.find(own) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

int DomainNameLength(std::string_view entry) { return DotPos(entry) - 1; }

std::optional<std::string> ExtractDomainFromText(std::string_view line) {
  std::string t = LowerCase(line);
  if (DotPos(t) == 0) return std::nullopt;

  // Words before the domain go at their blanks, and what follows it goes at
  // the first blank after its dot. (A blank, like "(" and ".", is never the
  // second byte of a GBK character, so byte searches find them.)
  const auto dot = t.find('.');
  if (dot > 0) {
    if (const auto blank = t.rfind(' ', dot - 1); blank != std::string::npos) t.erase(0, blank + 1);
  }
  if (const auto blank = t.find(' '); blank != std::string::npos) t.resize(blank);

  // A mail address gives its host.
  if (const int at = PosChar("@", t); at > 0 && at < DotPos(t)) {
    t.erase(0, static_cast<std::size_t>(at));
  }
  // "联系：dom.com": the label and its full-width colon go.
  if (const int colon = PosChar(kWideColon, t); colon > 0 && colon < DotPos(t)) {
    t.erase(0, static_cast<std::size_t>(colon) + kWideColon.size() - 1);
  }
  if (t.size() > 7 && t.starts_with("http://")) t.erase(0, 7);
  if (t.starts_with("www.")) t.erase(0, 4);
  if (!t.empty() && t.front() == '[') t.erase(0, 1);
  // "dom.com(test)": the bracket after the dot and all behind it go (also
  // when no dot is left at all).
  if (const auto paren = t.find('('); paren != std::string::npos && DotPos(t) <= static_cast<int>(paren)) {
    t.resize(paren);
  }
  if (const int close = PosChar("]", t); close > 0 && close == static_cast<int>(t.size())) {
    t.pop_back();
  }
  // A ".cn" domain followed by a path: the path goes. A ".cn" that a host name
  // goes on from (".cnnic.net", ".cn.com") is no end of a domain, so the cut
  // comes after the first ".cn" that ends the host ("x.cnnic.cn/p").
  for (int cn = PosChar(".cn", t); cn > 0; cn = PosChar(".cn", t, cn + 1)) {
    const auto end = static_cast<std::size_t>(cn) + 2;  // bytes up to the "n"
    if (t.size() == end) break;
    if (!ContinuesHostName(static_cast<unsigned char>(t[end]))) {
      t.resize(end);
      break;
    }
  }
  return t;
}

Lines ExtractDomains(const Lines& lines) {
  Lines out;
  out.reserve(lines.size());
  for (const auto& line : lines) {
    if (auto domain = ExtractDomainFromText(line)) out.push_back(std::move(*domain));
  }
  return out;
}

Lines FilterByNameLength(const Lines& lines, int low, int high) {
  Lines out;
  for (const auto& line : lines) {
    const int len = DomainNameLength(line);
    if (low <= len && len <= high) out.push_back(line);
  }
  return out;
}

Lines FilterByNameLength(const Lines& lines, std::string_view lowText,
                         std::string_view highText) {
  const int low = StrToInt(lowText);
  const int high = StrToInt(highText);
  return FilterByNameLength(lines, low, high);
}

Lines ReduceToNames(const Lines& lines) {
  Lines out;
  out.reserve(lines.size());
  for (const auto& line : lines) {
    const auto dot = line.find('.');
    out.push_back(dot == std::string::npos ? line : line.substr(0, dot));
  }
  return out;
}

Lines RemoveDuplicateLines(const Lines& lines) {
  std::unordered_set<std::string_view> seen;
  seen.reserve(lines.size());
  Lines out;
  out.reserve(lines.size());
  for (const auto& line : lines) {
    if (seen.insert(line).second) out.push_back(line);
  }
  return out;
}

Lines DefaultFilterKeyWordLines() {
  return {
      "china|\xC7\xB0\xBA\xF3\xCE\xDE",  // china|前后无
      "ol|\xBA\xF3\xCE\xDE",               // ol|后无
      "rc|\xBA\xF3\xCE\xDE",               // rc|后无
      "info|\xBA\xF3\xCE\xDE",             // info|后无
      "abc|\xCE\xDE\xD6\xD0",              // abc|无中
      "a|\xCE\xDE",                         // a|无
      "tv|\xBA\xF3",                        // tv|后
      "loan|\xBA\xF3",                      // loan|后
  };
}

FilterKeyWordStu ParseFilterKeyWord(std::string_view line) {
  FilterKeyWordStu rule;
  std::string_view flags = line;
  if (const int bar = PosChar("|", line); bar > 0) {
    rule.Keyword = std::string(line.substr(0, static_cast<std::size_t>(bar - 1)));
    flags = line.substr(static_cast<std::size_t>(bar));
  }
  if (PosChar(kFlagNone, flags) > 0) return rule;
  if (PosChar(kFlagMiddle, flags) > 0) {
    rule.Enabled = rule.Middle = 1;
    return rule;
  }
  if (PosChar(kFlagFront, flags) > 0) rule.Enabled = rule.Front = 1;
  if (PosChar(kFlagBack, flags) > 0) rule.Enabled = rule.Back = 1;
  return rule;
}

bool MatchesKeyWord(const FilterKeyWordStu& rule, std::string_view candidate) {
  const std::string_view key = rule.Keyword;
  if (!rule.Enabled || key.empty()) return false;
  if (rule.Middle) return PosChar(key, candidate) > 0;
  if (rule.Front) return candidate.starts_with(key);
  if (rule.Back) {
    // The name ends with the keyword, which starts at a character boundary.
    const std::string_view name = NameOf(candidate);
    if (DotPos(candidate) == 0 || key.size() > name.size()) return false;
    const auto start = name.size() - key.size();
    if (name.substr(start) != key) return false;
    const int pos = static_cast<int>(start) + 1;
    return PosChar(key, candidate, pos) == pos;
  }
  return false;
}

Lines FilterSuffixCandidates(const Lines& lines, const DomainFilterSettings& s) {
  Lines out;
  for (const auto& line : lines) {
    std::string e = Trim(LowerCase(line));
    const auto dot = e.find('.');
    if (dot == std::string::npos) continue;
    const std::string_view suffix = std::string_view(e).substr(dot);
    const bool keep = (s.cn && suffix == ".cn") || (s.comCn && suffix == ".com.cn") ||
                      (s.netCn && suffix == ".net.cn") || (s.orgCn && suffix == ".org.cn") ||
                      (s.com && suffix == ".com") || (s.net && suffix == ".net") ||
                      (s.org && suffix == ".org") || (s.dq && IsRegionalCnSuffix(suffix));
    if (keep) out.push_back(std::move(e));
  }
  return out;
}

bool MatchesNamePattern(std::string_view candidate, NamePattern pattern) {
  const std::string_view name = NameOf(candidate);
  const int len = DomainNameLength(candidate);
  auto all = [&](bool (*test)(unsigned char)) {
    for (const char c : name) {
      if (!test(static_cast<unsigned char>(c))) return false;
    }
    return true;
  };
  switch (pattern) {
    case NamePattern::AllDomain:
      return true;
    case NamePattern::ThreeWord:
      return len == 3 && all(IsLetter);
    case NamePattern::FourWord:
      return len == 4 && all(IsLetter);
    case NamePattern::ThreeNum:
      return len == 3 && all(IsDigit);
    case NamePattern::AllNum:
      return len >= 0 && all(IsDigit);
    case NamePattern::ThreeAll:
      return len == 3 && !all(IsDigit) && !all(IsLetter);
    case NamePattern::FourNum:
      return len == 4 && all(IsDigit);
    case NamePattern::CmpKey:
    case NamePattern::None:
      return false;
  }
  return false;
}

Lines ApplyKeyWordRules(const Lines& candidates, const Lines& ruleLines) {
  Lines out;
  for (const auto& line : ruleLines) {
    const FilterKeyWordStu rule = ParseFilterKeyWord(line);
    if (!rule.Enabled) continue;
    for (const auto& candidate : candidates) {
      if (MatchesKeyWord(rule, candidate)) out.push_back(candidate);
    }
  }
  return out;
}

Lines FilterDomainList(const Lines& lines, const DomainFilterSettings& settings,
                       const Lines& ruleLines) {
  Lines candidates = FilterSuffixCandidates(lines, settings);
  if (settings.pattern == NamePattern::CmpKey) return ApplyKeyWordRules(candidates, ruleLines);
  Lines out;
  for (auto& candidate : candidates) {
    if (MatchesNamePattern(candidate, settings.pattern)) out.push_back(std::move(candidate));
  }
  return out;
}

Lines DropListedNames(const Lines& list1, const Lines& list2) {
  std::unordered_set<std::string, TextHash, std::equal_to<>> listed;
  listed.reserve(list2.size());
  for (const auto& line : list2) listed.insert(LowerCase(line));
  Lines out;
  for (const auto& line : list1) {
    std::string t = LowerCase(line);
    if (!listed.contains(NameOf(t))) out.push_back(std::move(t));
  }
  return out;
}

Lines ReverseLowerCase(const Lines& lines) {
  Lines out;
  out.reserve(lines.size());
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) out.push_back(LowerCase(*it));
  return out;
}

}  // namespace orlu
