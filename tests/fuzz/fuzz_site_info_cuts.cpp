// The site-information cuts on arbitrary pages: the first line of the input
// is a keyword list's line, the rest the page as a service sent it. Every
// cut answers with a piece of the page or a fixed word, and never reads
// outside the page.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "sitequery/site_info.h"

namespace {

// A piece of the page (trimmed cuts may drop blanks at its ends).
bool FromPage(std::string_view page, const std::string& text) {
  return text.empty() || page.find(text) != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\n');
  const std::string key(cut == std::string_view::npos ? std::string_view() : input.substr(0, cut));
  const std::string_view page = cut == std::string_view::npos ? input : input.substr(cut + 1);
  static const std::string fail = orlu::Gbk("失败"), pageFail = orlu::Gbk("p失败"),
                           unsure = orlu::Gbk("不确定");
  auto word = [&](const std::string& t) { return t == "0" || t == fail || t == pageFail || t == unsure; };

  orlu::CutOutcome outcome;
  const std::string archive = orlu::ParseArchiveText(page, outcome);
  if (outcome == orlu::CutOutcome::Answered && !word(archive)) {
    // The count, ".", and a piece of the page.
    const size_t dot = archive.rfind('.');
    if (dot == std::string::npos || !FromPage(page, archive.substr(dot + 1))) __builtin_trap();
  }
  for (const std::string& t : {orlu::ParsePrText(page), orlu::ParseAlexaLinksInText(page),
                               orlu::ParseBaiduZhidaoText(page), orlu::ParseBaiduSiteText(page),
                               orlu::ParseYahooLinkText(orlu::Utf8ToAnsi(page))}) {
    if (!word(t) && !FromPage(page, t) && !FromPage(orlu::Utf8ToAnsi(page), t)) __builtin_trap();
  }
  const std::string keys = orlu::ParseKeyWordText(page, {key, "", key}, outcome);
  if (outcome == orlu::CutOutcome::Answered && !keys.empty() && keys != key + "," + key + ",") __builtin_trap();
  return 0;
}
