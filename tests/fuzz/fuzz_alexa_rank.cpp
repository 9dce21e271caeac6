// The ranking data page cutter: the input's first line is the domain, the rest the page.
#include "fuzz_input.h"
#include "sitequery/alexa_rank.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto [domain, page] = fuzz::SplitFirstLine(fuzz::Text(data, size));
  bool failed = false;
  const std::string rank = orlu::ParseAlexaRankText(page, domain, failed);
  // An answer is always a piece of the page, or a fixed word.
  FUZZ_CHECK(failed || rank == "0" || page.find(rank) != std::string_view::npos);
  return 0;
}
