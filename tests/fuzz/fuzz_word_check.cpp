// The suggestion and dictionary page cuts: the input's first line is the name, the rest the page.
#include "fuzz_input.h"
#include "wordcheck/word_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto [label, page] = fuzz::SplitFirstLine(fuzz::Text(data, size));
  // Suggestions are "0" or words each followed by "|".
  for (const std::string& s : {orlu::CutGoogleSuggest(page, label), orlu::CutBaiduSuggest(page, label)})
    FUZZ_CHECK(s == "0" || (!s.empty() && s.back() == '|'));
  const std::string stripped = orlu::StripTags(page);
  FUZZ_CHECK(stripped.size() <= page.size());
  FUZZ_CHECK(stripped.find('<') == std::string::npos || stripped.find('>') == std::string::npos);
  FUZZ_CHECK(!orlu::CutGoogleDict(page).empty() && !orlu::CutBaiduDict(page).empty());
  return 0;
}
