// The single-site report's cuts: the input's first line is the domain, the rest the page.
#include "fuzz_input.h"
#include "platform/text/gbk.h"
#include "sitequery/single_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using I = orlu::CSingleDomainInfo;
  static constexpr std::string (I::*kParsers[])(const std::string&) const = {
      &I::ParsePr,        &I::ParseSogouRank,     &I::ParseAlexaRank,   &I::ParseChinaRank,
      &I::ParseBaiduSnapshot, &I::ParseBaiduDomain, &I::ParseGoogleSite, &I::ParseGoogleLink,
      &I::ParseYahooSite, &I::ParseYahooLink,     &I::ParseYoudaoSite,  &I::ParseYoudaoLink,
      &I::ParseSosoSite};
  static const std::string fail = orlu::Gbk("失败"), none = orlu::Gbk("无收录");
  const auto split = fuzz::SplitFirstLine(fuzz::Text(data, size));
  const std::string page(split.page);
  // Made suspended and never started: only its cuts run.
  I worker(true, std::string(split.head), 0);
  for (auto parse : kParsers) {
    const std::string answer = (worker.*parse)(page);
    // An answer is a piece of the page, or a fixed word.
    FUZZ_CHECK(answer == "0" || answer == fail || answer == none || page.find(answer) != std::string::npos);
  }
  return 0;
}
