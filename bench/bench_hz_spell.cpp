// GetHzPyFull over 20 MB of GB2312 text against ICU's "Han-Latin; Latin-ASCII"
// transliterator on the same text. ICU is far slower, so it converts a
// leading slice of the text and its rate is taken for the whole text.
#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_util.h"
#include "wordcheck/hz_spell.h"

namespace {

using orlu::bench::SecondsSince;

constexpr std::size_t kTextBytes = 20u * 1000u * 1000u;
constexpr std::size_t kIcuSliceBytes = 200u * 1000u;

// Sentences of GB2312 hanzi, the first-level (common) ones nine times in ten,
// with Chinese punctuation, now and then a Latin word or a number, and lines.
std::string MakeText(std::size_t size) {
  std::mt19937 rng(2312);
  std::uniform_int_distribution<int> common_lead(0xB0, 0xD7), rare_lead(0xD8, 0xF7),
      trail(0xA1, 0xFE), pick(0, 99), words(3, 30);
  std::string text;
  text.reserve(size + 64);
  while (text.size() < size) {
    const int n = words(rng);
    for (int i = 0; i < n; ++i) {
      int lead = pick(rng) < 90 ? common_lead(rng) : rare_lead(rng);
      int t = trail(rng);
      if (lead == 0xD7 && t >= 0xFA) t = 0xA1;
      text += static_cast<char>(lead);
      text += static_cast<char>(t);
    }
    const int p = pick(rng);
    if (p < 5) {
      text += " web" + std::to_string(p) + ".com ";
    } else if (p < 15) {
      text += std::to_string(p * 37);
    }
    text += pick(rng) < 70 ? "\xA3\xAC" : "\xA1\xA3";  // ， or 。
    if (pick(rng) < 10) text += "\r\n";
  }
  // Whole characters only: every piece added above ends at a boundary.
  return text;
}

// The first `bytes` bytes of text, cut back to a character boundary.
std::string Slice(const std::string& text, std::size_t bytes) {
  std::size_t i = 0;
  while (i < text.size() && i < bytes) {
    i += static_cast<unsigned char>(text[i]) >= 0x81 ? 2 : 1;
  }
  return text.substr(0, std::min(i, text.size()));
}

}  // namespace

int main() {
  const std::string text = MakeText(kTextBytes);
  const double mb = static_cast<double>(text.size()) / 1e6;

  double best_ours = 1e9;
  std::size_t out_size = 0;
  for (int i = 0; i < 5; ++i) {
    const auto t0 = orlu::bench::Clock::now();
    const std::string py = orlu::GetHzPyFull(text);
    best_ours = std::min(best_ours, SecondsSince(t0));
    out_size += py.size();
  }

  // ICU: decode the slice from GBK first (not timed), then transliterate.
  const std::string slice = Slice(text, kIcuSliceBytes);
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString unicode(slice.data(), static_cast<int32_t>(slice.size()), "GBK");
  std::unique_ptr<icu::Transliterator> icu_latin(icu::Transliterator::createInstance(
      "Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
  if (U_FAILURE(status) || !icu_latin) {
    std::fprintf(stderr, "bench_hz_spell: ICU transliterator unavailable: %s\n",
                 u_errorName(status));
    return 1;
  }
  // Line by line: one call over a long text gets slower per character as the
  // text grows, which would be unfair to ICU.
  std::vector<icu::UnicodeString> lines;
  for (int32_t start = 0; start < unicode.length();) {
    int32_t end = unicode.indexOf(u'\n', start);
    end = end < 0 ? unicode.length() : end + 1;
    lines.push_back(unicode.tempSubStringBetween(start, end));
    start = end;
  }
  icu::UnicodeString warm = unicode.tempSubString(0, 64);
  icu_latin->transliterate(warm);
  const auto t0 = orlu::bench::Clock::now();
  for (icu::UnicodeString& line : lines) icu_latin->transliterate(line);
  const double icu_secs = SecondsSince(t0);
  for (const icu::UnicodeString& line : lines) out_size += static_cast<std::size_t>(line.length());

  const double ours_rate = mb / best_ours;
  const double icu_rate = (static_cast<double>(slice.size()) / 1e6) / icu_secs;
  std::printf("# hz_spell: GetHzPyFull over %.1f MB (best of 5); ICU line by line over the "
              "first %.1f MB, rate scaled to the whole text (output %zu)\n",
              mb, static_cast<double>(slice.size()) / 1e6, out_size);
  std::printf("bench hz_spell_full: %.1f MB/s; icu_han_latin: %.3f MB/s; ratio %.0f; "
              "target >= 100\n",
              ours_rate, icu_rate, ours_rate / icu_rate);
  return 0;
}
