#include "domaintools/domain_generator.h"

#include "platform/text/gbk.h"

namespace orlu {

namespace {

// Byte offsets at which the characters of name[0, nameLen) start; a lead
// byte takes the next byte with it (a lone lead byte at the end stands alone).
std::vector<size_t> CharStarts(const std::string& s, size_t nameLen) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < nameLen;) {
    starts.push_back(i);
    i += (IsGbkLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < nameLen) ? 2 : 1;
  }
  return starts;
}

struct Entry {
  std::string text;
  size_t nameLen = 0;  // bytes before the first "."
  bool hasDot = false;
};

Entry Prepare(const std::string& line) {
  Entry e;
  e.text = Trim(LowerCase(line));
  size_t dot = e.text.find('.');
  e.hasDot = dot != std::string::npos;
  e.nameLen = e.hasDot ? dot : 0;
  return e;
}

size_t CharEnd(const std::vector<size_t>& starts, size_t k, size_t nameLen) {
  return k + 1 < starts.size() ? starts[k + 1] : nameLen;
}

// Visits the variants of one entry; returns how many there are when `emit`
// is null.
template <typename Emit>
long long Variants(const Entry& e, std::uint8_t mode, Emit&& emit) {
  if (!e.hasDot) return 0;
  const std::string& s = e.text;
  long long n = 0;
  switch (mode) {
    case 0: {  // drop one character
      auto starts = CharStarts(s, e.nameLen);
      for (size_t k = 0; k < starts.size(); ++k) {
        size_t b = starts[k], end = CharEnd(starts, k, e.nameLen);
        emit([&] { return s.substr(0, b) + s.substr(end); });
        ++n;
      }
      break;
    }
    case 1:
    case 2: {  // one single-byte "n" -> "m" (mode 1) or "m" -> "n" (mode 2)
      char from = mode == 1 ? 'n' : 'm', to = mode == 1 ? 'm' : 'n';
      for (size_t b : CharStarts(s, e.nameLen)) {
        if (s[b] != from) continue;
        emit([&] {
          std::string v = s;
          v[b] = to;
          return v;
        });
        ++n;
      }
      break;
    }
    case 3: {  // drop the first two characters
      auto starts = CharStarts(s, e.nameLen);
      if (starts.size() > 2) {
        emit([&] { return s.substr(starts[2]); });
        ++n;
      }
      break;
    }
    case 4: {  // double one character
      auto starts = CharStarts(s, e.nameLen);
      for (size_t k = 0; k < starts.size(); ++k) {
        size_t b = starts[k], end = CharEnd(starts, k, e.nameLen);
        emit([&] { return s.substr(0, end) + s.substr(b); });
        ++n;
      }
      break;
    }
    case 5: {  // "x.com.cn" -> "xcom.cn"
      if (s.compare(e.nameLen + 1, std::string::npos, "com.cn") == 0) {
        emit([&] { return s.substr(0, e.nameLen) + s.substr(e.nameLen + 1); });
        ++n;
      }
      break;
    }
    default:
      break;
  }
  return n;
}

}  // namespace

std::vector<std::string> LetterLines() {
  std::vector<std::string> v;
  for (char c = 'a'; c <= 'z'; ++c) v.emplace_back(1, c);
  return v;
}

std::vector<std::string> DigitLines() {
  std::vector<std::string> v;
  for (char c = '0'; c <= '9'; ++c) v.emplace_back(1, c);
  return v;
}

long long CountJoin(const std::vector<std::string>& outer,
                    const std::vector<std::string>& inner) {
  return static_cast<long long>(outer.size()) * static_cast<long long>(inner.size());
}

void JoinLists(const std::vector<std::string>& outer,
               const std::vector<std::string>& inner,
               std::vector<std::string>& out) {
  out.reserve(out.size() + static_cast<size_t>(CountJoin(outer, inner)));
  for (const auto& o : outer)
    for (const auto& i : inner) out.push_back(o + i);
}

void MakeTypoDomains(const StringList& input, StringList& output, std::uint8_t mode) {
  for (const auto& line : input.Lines()) {
    Entry e = Prepare(line);
    Variants(e, mode, [&](auto make) { output.Add(make()); });
  }
}

long long CountTypoDomains(const StringList& input, std::uint8_t mode) {
  long long n = 0;
  for (const auto& line : input.Lines()) {
    Entry e = Prepare(line);
    n += Variants(e, mode, [](auto) {});
  }
  return n;
}

const std::array<SuffixEntry, kSuffixCount> kSuffixTable = {{
    {".cn", "chkDcn", true},
    {".com.cn", "chkDcomcn", true},
    {".net.cn", "chkDnetcn", false},
    {".org.cn", "chkDorgcn", false},
    {".gov.cn", "chkDgovcn", false},
    {".com", "chkDcom", true},
    {".net", "chkDnet", true},
    {".org", "chkDorg", false},
    {".biz", "chkDbiz", false},
    {".info", "chkDinfo", false},
    {".tv", "chkDtv", false},
    {".mobi", "chkDmobi", false},
    {".name", "chkDname", false},
    {".cc", "chkDcc", false},
}};

long long CountExpansion(const std::vector<std::string>& lines,
                         const std::array<bool, kSuffixCount>& selected) {
  long long per = 0;
  for (bool b : selected) per += b ? 1 : 0;
  return per * static_cast<long long>(lines.size());
}

std::vector<std::string> ExpandWithSuffixes(const std::vector<std::string>& lines,
                                            const std::array<bool, kSuffixCount>& selected) {
  std::vector<std::string> out;
  out.reserve(static_cast<size_t>(CountExpansion(lines, selected)));
  for (const auto& line : lines) {
    std::string n = Trim(LowerCase(line));
    for (int k = 0; k < kSuffixCount; ++k)
      if (selected[k]) out.push_back(n + kSuffixTable[k].suffix);
  }
  return out;
}

std::string TooManyLinesMessage(long long count) {
  return Gbk("结果共有 ") + IntToStr(count) + Gbk(" 行，超过上限 ") +
         IntToStr(kMaxGeneratedLines) + Gbk(" 行，未生成。");
}

}  // namespace orlu
