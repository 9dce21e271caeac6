// The ranking detail cuts on arbitrary pages: the input is both the site
// page and the XML data; every cut runs, and the estimates are checked to
// be numbers the program itself wrote or its fixed words.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sitequery/alexa_detail.h"

namespace {

bool Number(const std::string& text) {
  long double v = 0;
  return text == "INF" || text == "-INF" || text == "NAN" || orlu::ReadDecimal(text, v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  orlu::CAlexaDetailInfo info;
  orlu::ParseSitePageHead(page, "example.com", info);
  orlu::ParseDetailXmlFields(page, info);
  orlu::ParseRankStats(page, info);
  orlu::ParseSubDomains(page, info);
  orlu::ParseCountries(page, info);
  orlu::ParseReachPv(page, info);
  // Shares pair with names: never fewer shares, at most one more.
  if (info.SubSiteShares.size() < info.SubSiteNames.size() ||
      info.SubSiteShares.size() > info.SubSiteNames.size() + 1 ||
      info.CountryShares.size() < info.CountryNames.size() ||
      info.CountryShares.size() > info.CountryNames.size() + 1) {
    __builtin_trap();
  }
  if (!info.IpEstimate.empty() && !Number(info.IpEstimate)) __builtin_trap();
  if (!info.PvEstimate.empty() && info.PvEstimate != "-" && !Number(info.PvEstimate)) __builtin_trap();
  // A number written reads back as itself, to its fifteen digits.
  long double v = 0;
  if (orlu::ReadDecimal(page, v)) {
    const double d = static_cast<double>(v);
    const std::string text = orlu::FormatGeneralFloat(d);
    long double back = 0;
    if (__builtin_isfinite(d)) {
      if (!orlu::ReadDecimal(text, back)) __builtin_trap();
      const long double diff = back > d ? back - d : d - back;
      if (diff > 1e-14L * (d < 0 ? -d : d)) __builtin_trap();
    }
  }
  return 0;
}
