// The cuts of the suggestion and dictionary pages on arbitrary pages: the
// first line of the input is the name asked for, the rest the page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "wordcheck/word_check.h"

namespace {

bool HoldsBoth(const std::string& s) {
  return s.find('<') != std::string::npos && s.find('>') != std::string::npos;
}

// Suggestions are "0" or words each followed by "|".
bool SuggestionsShape(const std::string& s) { return s == "0" || (!s.empty() && s.back() == '|'); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\n');
  const std::string_view label = cut == std::string_view::npos ? std::string_view() : input.substr(0, cut);
  const std::string_view page = cut == std::string_view::npos ? input : input.substr(cut + 1);

  if (!SuggestionsShape(orlu::CutGoogleSuggest(page, label))) __builtin_trap();
  if (!SuggestionsShape(orlu::CutBaiduSuggest(page, label))) __builtin_trap();
  const std::string stripped = orlu::StripTags(page);
  if (HoldsBoth(stripped) || stripped.size() > page.size()) __builtin_trap();
  if (orlu::CutGoogleDict(page).empty() || orlu::CutBaiduDict(page).empty()) __builtin_trap();
  return 0;
}
