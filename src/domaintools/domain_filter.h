// The domain list filter's operations as routines on plain lines, so the
// filter page only reads its memos and boxes, calls one routine and writes
// the returned lines back.
//
// Every text is GBK bytes. The name of an entry is its text before the first
// "."; its name length is the position of that "." minus 1, in bytes, and -1
// for an entry without ".".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orlu {

using Lines = std::vector<std::string>;

// Name length in bytes; -1 when the entry holds no ".".
int DomainNameLength(std::string_view entry);

// Cuts the domain out of one line of free text (lower-cased); nothing when
// the line holds no ".". Separators ("@", "：", "(", "]", blanks) are only
// recognised at character boundaries, so a Chinese character whose second
// byte looks like one of them stays whole.
std::optional<std::string> ExtractDomainFromText(std::string_view line);
// ExtractDomainFromText over every line, keeping the lines that yield one.
Lines ExtractDomains(const Lines& lines);

// Entries (unchanged) whose name length lies in [low, high].
Lines FilterByNameLength(const Lines& lines, int low, int high);
// The same with the bounds as typed into the boxes: both are converted
// before any work, so a bound that is not a number raises ConvertError.
Lines FilterByNameLength(const Lines& lines, std::string_view lowText,
                         std::string_view highText);

// Each entry's name (text before the first "."), or the whole entry when it
// holds no "."; case and blanks unchanged.
Lines ReduceToNames(const Lines& lines);

// Drops every line that equals (byte for byte) an earlier one; the first
// occurrence keeps its place.
Lines RemoveDuplicateLines(const Lines& lines);

// The pattern a name must show; exactly one radio button of the page is
// selected, or none.
enum class NamePattern {
  AllDomain,   // every name
  ThreeWord,   // three letters
  FourWord,    // four letters
  ThreeNum,    // three digits
  AllNum,      // digits only (the empty name too)
  ThreeAll,    // three bytes, neither all letters nor all digits
  FourNum,     // four digits
  CmpKey,      // keyword rules instead of a pattern
  None,        // no button selected: nothing passes
};

// The suffix boxes and the pattern buttons of the page, with their defaults.
struct DomainFilterSettings {
  bool cn = true;      // ".cn"
  bool comCn = true;   // ".com.cn"
  bool netCn = false;  // ".net.cn"
  bool orgCn = false;  // ".org.cn"
  bool com = true;     // ".com"
  bool net = true;     // ".net"
  bool org = true;     // ".org"
  // "地区": other suffixes ending in ".cn" that hold none of ".com.cn",
  // ".net.cn" and ".org.cn".
  bool dq = false;
  NamePattern pattern = NamePattern::AllDomain;
};

// One keyword rule line, parsed.
struct FilterKeyWordStu {
  std::string Keyword;
  std::uint8_t Enabled = 0;
  std::uint8_t Middle = 0;  // "中": the candidate contains the keyword
  std::uint8_t Front = 0;   // "前": the candidate starts with it
  std::uint8_t Back = 0;    // "后": the name ends with it
};

// The rule memo's lines before any settings file replaces them (GBK).
Lines DefaultFilterKeyWordLines();

FilterKeyWordStu ParseFilterKeyWord(std::string_view line);
// True when the rule is enabled and its one test passes the candidate.
bool MatchesKeyWord(const FilterKeyWordStu& rule, std::string_view candidate);

// Phase 1: every line lower-cased and trimmed, kept when its suffix (from the
// first "." on) is one of the ticked boxes'.
Lines FilterSuffixCandidates(const Lines& lines, const DomainFilterSettings& settings);
// Phase 2's test of one candidate.
bool MatchesNamePattern(std::string_view candidate, NamePattern pattern);
// Phase 3: each enabled rule in order, then every candidate it passes; a
// candidate passed by several rules appears once per rule.
Lines ApplyKeyWordRules(const Lines& candidates, const Lines& ruleLines);

// The whole suffix, pattern and keyword filter.
Lines FilterDomainList(const Lines& lines, const DomainFilterSettings& settings,
                       const Lines& ruleLines);

// The entries of list 1, lower-cased, whose name is no line of list 2
// (compared lower-cased, in full).
Lines DropListedNames(const Lines& list1, const Lines& list2);

// The lines from last to first, each lower-cased.
Lines ReverseLowerCase(const Lines& lines);

}  // namespace orlu
