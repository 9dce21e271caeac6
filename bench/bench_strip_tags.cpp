// The tag stripper of the dictionary answers on a 1 MB page full of tags,
// against the plain loop that removes one tag at a time (each removal moves
// the rest of the text, so its cost grows with the square of the page); and
// the stripper's own rate on an 8 MB page against its rate on 1 MB, which
// stays near 1 for a cost that grows in step with the page.
#include <cstdio>
#include <string>

#include "bench_util.h"
#include "platform/text/gbk.h"
#include "wordcheck/strip_tags_loop.h"
#include "wordcheck/word_check.h"

namespace {

using orlu::bench::Clock;
using orlu::bench::SecondsSince;

// A table of dictionary entries, tags and text interleaved, of `bytes` bytes.
std::string TagPage(size_t bytes) {
  std::string page;
  page.reserve(bytes + 128);
  for (int i = 0; page.size() < bytes; ++i) {
    page += "<tr><td class=\"w\">word";
    page += std::to_string(i);
    page += "</td><td>n. ";
    page += orlu::Gbk("苹果；苹果树");
    page += "</td></tr>\n";
  }
  return page;
}

// MB/s of StripTags over `page`, the best of a few runs.
double Rate(const std::string& page, int runs, std::string& out) {
  double best = 1e9;
  for (int r = 0; r < runs; ++r) {
    const auto t0 = Clock::now();
    out = orlu::StripTags(page);
    const double s = SecondsSince(t0);
    if (s < best) best = s;
  }
  return static_cast<double>(page.size()) / 1e6 / best;
}

}  // namespace

int main() {
  const std::string page = TagPage(1 << 20);
  std::string fast;
  const double rate = Rate(page, 20, fast);
  const auto t0 = Clock::now();
  const std::string slow = orlu::test::StripTagsLoop(page);
  const double loopRate = static_cast<double>(page.size()) / 1e6 / SecondsSince(t0);
  if (fast != slow) {
    std::fprintf(stderr, "bench strip_tags: the two give different texts\n");
    return 1;
  }
  std::printf("bench strip_tags: %.1f MB/s; remove-one-tag loop: %.2f MB/s; ratio %.0f\n", rate,
              loopRate, rate / loopRate);

  const std::string big = TagPage(8 << 20);
  std::string out;
  const double bigRate = Rate(big, 5, out);
  std::printf("bench strip_tags_8mb: %.1f MB/s; at 1 MB: %.1f MB/s; ratio %.2f; target >= 0.7\n",
              bigRate, rate, bigRate / rate);
  return 0;
}
