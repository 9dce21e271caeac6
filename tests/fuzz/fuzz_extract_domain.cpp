// Domain extraction (and the other filter routines) on arbitrary bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "domaintools/domain_filter.h"
#include "platform/text/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // The whole input as one line.
  if (auto domain = orlu::ExtractDomainFromText(text)) {
    if (domain->size() > text.size()) std::abort();
    if (domain->find(' ') != std::string::npos) std::abort();
  } else if (text.find('.') != std::string_view::npos) {
    std::abort();
  }

  // The input as a list, through every routine of the page.
  const orlu::Lines lines = orlu::SplitLines(text);
  const orlu::Lines extracted = orlu::ExtractDomains(lines);
  if (extracted.size() > lines.size()) std::abort();
  orlu::FilterByNameLength(lines, 1, 100);
  orlu::ReduceToNames(lines);
  if (orlu::RemoveDuplicateLines(lines).size() > lines.size()) std::abort();
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
