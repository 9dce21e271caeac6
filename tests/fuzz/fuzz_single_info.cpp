// The single-site report's cuts on arbitrary pages: the first line of the
// input is the domain asked for, the rest the page as the query leaves it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/gbk.h"
#include "sitequery/single_info.h"

namespace {

using Parser = std::string (orlu::CSingleDomainInfo::*)(const std::string&) const;

const Parser kParsers[] = {
    &orlu::CSingleDomainInfo::ParsePr,         &orlu::CSingleDomainInfo::ParseSogouRank,
    &orlu::CSingleDomainInfo::ParseAlexaRank,  &orlu::CSingleDomainInfo::ParseChinaRank,
    &orlu::CSingleDomainInfo::ParseBaiduSnapshot, &orlu::CSingleDomainInfo::ParseBaiduDomain,
    &orlu::CSingleDomainInfo::ParseGoogleSite, &orlu::CSingleDomainInfo::ParseGoogleLink,
    &orlu::CSingleDomainInfo::ParseYahooSite,  &orlu::CSingleDomainInfo::ParseYahooLink,
    &orlu::CSingleDomainInfo::ParseYoudaoSite, &orlu::CSingleDomainInfo::ParseYoudaoLink,
    &orlu::CSingleDomainInfo::ParseSosoSite,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\n');
  const std::string domain(cut == std::string_view::npos ? std::string_view() : input.substr(0, cut));
  const std::string page(cut == std::string_view::npos ? input : input.substr(cut + 1));
  static const std::string fail = orlu::Gbk("失败"), none = orlu::Gbk("无收录");
  // Made suspended and never started: only its cuts run.
  orlu::CSingleDomainInfo worker(true, domain, 0);
  for (Parser parse : kParsers) {
    const std::string answer = (worker.*parse)(page);
    // An answer is a piece of the page, or a fixed word.
    if (answer != "0" && answer != fail && answer != none && page.find(answer) == std::string::npos)
      __builtin_trap();
  }
  return 0;
}
