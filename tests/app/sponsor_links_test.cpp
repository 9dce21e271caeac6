#include "app/sponsor_links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/gbk.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;

// The titles after merging `body` into the built-in entries.
Lines Titles(const std::string& body, StringList* urls = nullptr) {
  StringList u, t;
  AddBuiltInSponsorLinks(u, t);
  MergeSponsorLinks(ParseSponsorList(body), u, t);
  if (urls) *urls = u;
  return t.Lines();
}

TEST(SponsorLinks, RecordsReplaceTheBuiltInEntriesInOrderAndRotateInFours) {
  const Lines builtIn = Titles("");
  StringList urls;
  // Skipped records (no "|", empty caption) take no index; a further "|"
  // stays in the address; text after the last "<br>" is never used.
  EXPECT_EQ(Titles("no bar<br> \t|x.cn<br> Ａ站 | a.cn|p=1 <br>B| <br>C|c.cn", &urls),
            (Lines{Gbk("Ａ站"), "B", builtIn[2], builtIn[3]}));
  EXPECT_EQ(urls.Lines(), (Lines{"a.cn|p=1", "", kHomePageUrl, kHomePageUrl}));

  // "皘" is B0 7C in GBK, its second byte a "|": it cannot split a record.
  EXPECT_EQ(Titles("皘|d.cn<br>", &urls)[0], "\xB0\x7C");
  EXPECT_EQ(urls.Get(0), "d.cn");
  // A body that is not UTF-8 (here GBK) gives no record.
  EXPECT_EQ(Titles(Gbk("中文") + "|a.cn<br>B|b.cn<br>"), builtIn);

  // The entries the four labels show at tick `index` of a list of `count`.
  auto shown = [](int index, int count) {
    std::string slots;
    for (int k = 0; k < 4; ++k) slots += std::to_string(SponsorSlot(index, k, count));
    return slots;
  };
  EXPECT_EQ(shown(0, 6) + " " + shown(1, 6) + " " + shown(2, 6), "0123 4501 2345");
  EXPECT_EQ(shown(5, 4), "0123");
  EXPECT_EQ(SponsorSlot(0, 0, 0), -1);  // an empty list has no entry
}

}  // namespace
}  // namespace orlu
