// Domain extraction (and the other filter routines) on arbitrary bytes.
#include <algorithm>

#include "fuzz_input.h"
#include "domaintools/domain_filter.h"
#include "platform/text/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  if (auto domain = orlu::ExtractDomainFromText(text)) {
    FUZZ_CHECK(domain->size() <= text.size() && domain->find(' ') == std::string::npos);
  } else {
    FUZZ_CHECK(text.find('.') == std::string_view::npos);
  }
  const orlu::Lines lines = orlu::SplitLines(text);
  const orlu::Lines extracted = orlu::ExtractDomains(lines);
  FUZZ_CHECK(extracted.size() <= lines.size());
  orlu::FilterByNameLength(lines, 1, 100);
  orlu::ReduceToNames(lines);
  FUZZ_CHECK(orlu::RemoveDuplicateLines(lines).size() <= lines.size());
  orlu::DomainFilterSettings settings;
  settings.dq = true;
  settings.pattern = orlu::NamePattern::ThreeAll;
  orlu::FilterDomainList(lines, settings, {});
  settings.pattern = orlu::NamePattern::CmpKey;
  // A few of the lines serve as keyword rules (each rule walks every candidate).
  const orlu::Lines rules(lines.begin(), lines.begin() + std::min<std::size_t>(lines.size(), 8));
  orlu::FilterDomainList(extracted, settings, rules);
  orlu::DropListedNames(lines, extracted);
  orlu::ReverseLowerCase(lines);
  return 0;
}
