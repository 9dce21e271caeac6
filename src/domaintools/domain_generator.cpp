#include "domaintools/domain_generator.h"

#include <algorithm>
#include <limits>

#include "platform/text/gbk.h"

namespace orlu {

namespace {

constexpr long long kLargest = std::numeric_limits<long long>::max();

long long SatAdd(long long a, long long b) { return a > kLargest - b ? kLargest : a + b; }
long long SatMul(long long a, long long b) {
  return a != 0 && b > kLargest / a ? kLargest : a * b;
}

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

// Visits the variants of one entry: `emit` gets the length of each and a
// routine that makes it.
template <typename Emit>
void Variants(const Entry& e, std::uint8_t mode, Emit&& emit) {
  if (!e.hasDot) return;
  const std::string& s = e.text;
  switch (mode) {
    case 0: {  // drop one character
      auto starts = CharStarts(s, e.nameLen);
      for (size_t k = 0; k < starts.size(); ++k) {
        size_t b = starts[k], end = CharEnd(starts, k, e.nameLen);
        emit(s.size() - (end - b), [&] { return s.substr(0, b) + s.substr(end); });
      }
      break;
    }
    case 1:
    case 2: {  // one single-byte "n" -> "m" (mode 1) or "m" -> "n" (mode 2)
      char from = mode == 1 ? 'n' : 'm', to = mode == 1 ? 'm' : 'n';
      for (size_t b : CharStarts(s, e.nameLen)) {
        if (s[b] != from) continue;
        emit(s.size(), [&] {
          std::string v = s;
          v[b] = to;
          return v;
        });
      }
      break;
    }
    case 3: {  // drop the first two characters
      auto starts = CharStarts(s, e.nameLen);
      if (starts.size() > 2) {
        emit(s.size() - starts[2], [&] { return s.substr(starts[2]); });
      }
      break;
    }
    case 4: {  // double one character
      auto starts = CharStarts(s, e.nameLen);
      for (size_t k = 0; k < starts.size(); ++k) {
        size_t b = starts[k], end = CharEnd(starts, k, e.nameLen);
        emit(s.size() + (end - b), [&] { return s.substr(0, end) + s.substr(b); });
      }
      break;
    }
    case 5: {  // "x.com.cn" -> "xcom.cn"
      if (s.compare(e.nameLen + 1, std::string::npos, "com.cn") == 0) {
        emit(s.size() - 1, [&] { return s.substr(0, e.nameLen) + s.substr(e.nameLen + 1); });
      }
      break;
    }
    default:
      break;
  }
}

// Lines and bytes of `lines`, a line break counted after each.
OutputSize SizeOfLines(const std::vector<std::string>& lines) {
  OutputSize size;
  size.lines = static_cast<long long>(lines.size());
  for (const auto& l : lines) size.bytes = SatAdd(size.bytes, static_cast<long long>(l.size()) + 1);
  return size;
}

// The memory lines of this size take: their bytes and kLineCostBytes each.
long long MemoryOf(const OutputSize& size) { return ListMemory(size.lines, size.bytes); }

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

OutputSize& OutputSize::operator+=(const OutputSize& more) {
  lines = SatAdd(lines, more.lines);
  bytes = SatAdd(bytes, more.bytes);
  return *this;
}

OutputSize SizeAfterAppend(long long lines, long long textLength, const OutputSize& added) {
  // A break counts one byte here, two in the text.
  OutputSize size{lines, textLength - lines};
  size += added;
  return size;
}

OutputSize SizeOfJoin(const std::vector<std::string>& outer,
                      const std::vector<std::string>& inner) {
  // Each outer line is written once per inner line, each inner line (with
  // its break) once per outer line.
  const OutputSize o = SizeOfLines(outer), i = SizeOfLines(inner);
  OutputSize size;
  size.lines = SatMul(o.lines, i.lines);
  size.bytes = SatAdd(SatMul(o.bytes - o.lines, i.lines), SatMul(i.bytes, o.lines));
  return size;
}

void JoinLists(const std::vector<std::string>& outer,
               const std::vector<std::string>& inner,
               std::vector<std::string>& out) {
  out.reserve(out.size() + outer.size() * inner.size());
  for (const auto& o : outer)
    for (const auto& i : inner) out.push_back(o + i);
}

void MakeTypoDomains(const StringList& input, StringList& output, std::uint8_t mode) {
  for (const auto& line : input.Lines()) {
    Entry e = Prepare(line);
    Variants(e, mode, [&](size_t, auto make) { output.Add(make()); });
  }
}

OutputSize SizeOfTypoDomains(const StringList& input, std::uint8_t mode) {
  OutputSize size;
  for (const auto& line : input.Lines()) {
    Entry e = Prepare(line);
    Variants(e, mode, [&](size_t length, auto) {
      size += OutputSize{1, static_cast<long long>(length) + 1};
    });
  }
  return size;
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

OutputSize SizeOfExpansion(const std::vector<std::string>& lines,
                           const std::array<bool, kSuffixCount>& selected) {
  long long per = 0, suffixBytes = 0;
  for (int k = 0; k < kSuffixCount; ++k) {
    if (!selected[k]) continue;
    ++per;
    suffixBytes += static_cast<long long>(std::char_traits<char>::length(kSuffixTable[k].suffix)) + 1;
  }
  OutputSize size;
  for (const auto& line : lines) {
    const long long name = static_cast<long long>(Trim(LowerCase(line)).size());
    size += OutputSize{per, SatAdd(SatMul(name, per), suffixBytes)};
  }
  return size;
}

std::vector<std::string> ExpandWithSuffixes(const std::vector<std::string>& lines,
                                            const std::array<bool, kSuffixCount>& selected) {
  std::vector<std::string> out;
  const auto perLine = static_cast<size_t>(std::count(selected.begin(), selected.end(), true));
  out.reserve(lines.size() * perLine);
  for (const auto& line : lines) {
    std::string n = Trim(LowerCase(line));
    for (int k = 0; k < kSuffixCount; ++k)
      if (selected[k]) out.push_back(n + kSuffixTable[k].suffix);
  }
  return out;
}

bool WithinGeneratedLimits(const OutputSize& size) { return MemoryOf(size) <= kMaxGeneratedBytes; }

std::string TooLargeMessage(const OutputSize& size) {
  return Gbk("结果共有 ") + IntToStr(size.lines) + Gbk(" 行，约需内存 ") +
         IntToStr(MemoryOf(size)) + Gbk(" 字节，超过上限 ") + IntToStr(kMaxGeneratedBytes) +
         Gbk(" 字节，未生成。");
}

}  // namespace orlu
