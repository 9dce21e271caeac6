// The ranking data page cutter on arbitrary pages: the first line of the
// input is the domain asked for, the rest the page as the service sent it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sitequery/alexa_rank.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\n');
  const std::string_view domain = cut == std::string_view::npos ? std::string_view() : input.substr(0, cut);
  const std::string_view page = cut == std::string_view::npos ? input : input.substr(cut + 1);
  bool failed = false;
  const std::string rank = orlu::ParseAlexaRankText(page, domain, failed);
  // An answer is always a piece of the page, or a fixed word.
  if (!failed && rank != "0" && page.find(rank) == std::string_view::npos) __builtin_trap();
  return 0;
}
