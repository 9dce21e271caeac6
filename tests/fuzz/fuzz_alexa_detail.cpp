// The ranking detail cuts on any page, taken as both the site page and the XML data; the
// estimates are numbers the program itself wrote or its fixed words.
#include "fuzz_input.h"
#include "sitequery/alexa_detail.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view page = fuzz::Text(data, size);
  orlu::CAlexaDetailInfo info;
  orlu::ParseSitePageHead(page, "example.com", info);
  orlu::ParseDetailXmlFields(page, info);
  orlu::ParseRankStats(page, info);
  orlu::ParseSubDomains(page, info);
  orlu::ParseCountries(page, info);
  orlu::ParseReachPv(page, info);
  // Shares pair with names: never fewer shares, at most one more.
  auto paired = [](size_t shares, size_t names) { return shares >= names && shares <= names + 1; };
  FUZZ_CHECK(paired(info.SubSiteShares.size(), info.SubSiteNames.size()));
  FUZZ_CHECK(paired(info.CountryShares.size(), info.CountryNames.size()));
  long double v = 0;
  auto number = [&v](const std::string& t) {
    return t.empty() || t == "INF" || t == "-INF" || t == "NAN" || orlu::ReadDecimal(t, v);
  };
  FUZZ_CHECK(number(info.IpEstimate));
  FUZZ_CHECK(info.PvEstimate == "-" || number(info.PvEstimate));
  return 0;
}
