// The site-information cuts: the input's first line is a keyword, the rest a service's page.
// Every cut answers with a piece of the page (trimmed, maybe) or a fixed word.
#include "fuzz_input.h"
#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "sitequery/site_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto split = fuzz::SplitFirstLine(fuzz::Text(data, size));
  const std::string_view page = split.page;
  const std::string key(split.head), ansiPage = orlu::Utf8ToAnsi(page);
  static const std::string fail = orlu::Gbk("失败"), pageFail = orlu::Gbk("p失败"),
                           unsure = orlu::Gbk("不确定");
  auto word = [&](const std::string& t) { return t == "0" || t == fail || t == pageFail || t == unsure; };
  auto fromPage = [&](const std::string& t) {
    return t.empty() || page.find(t) != std::string_view::npos || ansiPage.find(t) != std::string::npos;
  };

  orlu::CutOutcome outcome;
  const std::string archive = orlu::ParseArchiveText(page, outcome);
  if (outcome == orlu::CutOutcome::Answered && !word(archive)) {
    // The count, ".", and a piece of the page.
    const size_t dot = archive.rfind('.');
    FUZZ_CHECK(dot != std::string::npos &&
               (dot + 1 == archive.size() || page.find(archive.substr(dot + 1)) != std::string_view::npos));
  }
  for (const std::string& t : {orlu::ParsePrText(page), orlu::ParseAlexaLinksInText(page),
                               orlu::ParseBaiduZhidaoText(page), orlu::ParseBaiduSiteText(page),
                               orlu::ParseYahooLinkText(ansiPage)}) {
    FUZZ_CHECK(word(t) || fromPage(t));
  }
  const std::string keys = orlu::ParseKeyWordText(page, {key, "", key}, outcome);
  FUZZ_CHECK(outcome != orlu::CutOutcome::Answered || keys.empty() || keys == key + "," + key + ",");
  return 0;
}
