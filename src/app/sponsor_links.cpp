#include "app/sponsor_links.h"

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"

namespace orlu {

std::vector<SponsorLink> ParseSponsorList(std::string_view utf8Body) {
  std::vector<SponsorLink> links;
  // The whole body must be UTF-8, as a converted body that is not gives the
  // empty text. UTF-8 never uses an ASCII byte inside a character, so the
  // separators are cut on the raw text.
  if (!utf8Body.empty() && Utf8ToAnsi(utf8Body).empty()) return links;
  constexpr std::string_view kEnd = "<br>";
  size_t start = 0;
  for (size_t end; (end = utf8Body.find(kEnd, start)) != std::string_view::npos;
       start = end + kEnd.size()) {
    const std::string_view record = utf8Body.substr(start, end - start);
    const size_t bar = record.find('|');
    if (bar == std::string_view::npos) continue;
    std::string title = Trim(Utf8ToAnsi(record.substr(0, bar)));
    if (title.empty()) continue;
    links.push_back({Trim(Utf8ToAnsi(record.substr(bar + 1))), std::move(title)});
  }
  return links;
}

void AddBuiltInSponsorLinks(StringList& urls, StringList& titles) {
  urls.Add(kHomePageUrl);
  titles.Add(Gbk("Orlu站长工具主页"));
  for (int i = 0; i < 3; ++i) {
    urls.Add(kHomePageUrl);
    titles.Add(Gbk("赞助链接"));
  }
}

void MergeSponsorLinks(const std::vector<SponsorLink>& links, StringList& urls,
                       StringList& titles) {
  int n = 0;
  for (const SponsorLink& link : links) {
    if (n < 4 && n < urls.Count() && n < titles.Count()) {
      urls.Put(n, link.url);
      titles.Put(n, link.title);
    } else {
      urls.Add(link.url);
      titles.Add(link.title);
    }
    ++n;
  }
}

int SponsorSlot(int index, int k, int count) {
  if (count <= 0) return -1;
  const long long slot = (4LL * index + k) % count;
  return static_cast<int>(slot < 0 ? slot + count : slot);
}

}  // namespace orlu
