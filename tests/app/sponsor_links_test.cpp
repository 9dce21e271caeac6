#include "app/sponsor_links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/gbk.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;

struct Bar {
  StringList urls, titles;
  Bar() { AddBuiltInSponsorLinks(urls, titles); }
  void Merge(const std::string& body) { MergeSponsorLinks(ParseSponsorList(body), urls, titles); }
  // The four captions shown at rotation `index`.
  Lines Shown(int index) const {
    Lines shown;
    for (int k = 0; k < 4; ++k) shown.push_back(titles.Get(SponsorSlot(index, k, titles.Count())));
    return shown;
  }
};

TEST(SponsorLinks, TwoRecordsReplaceTheFirstTwoBuiltInEntries) {
  Bar bar;
  const Lines builtIn = bar.titles.Lines();
  bar.Merge(" Ａ站 | http://a.cn/ <br>B|b.cn<br>");
  EXPECT_EQ(bar.titles.Lines(), (Lines{Gbk("Ａ站"), "B", builtIn[2], builtIn[3]}));
  EXPECT_EQ(bar.urls.Lines(), (Lines{"http://a.cn/", "b.cn", kHomePageUrl, kHomePageUrl}));
  // Four entries: every rotation shows the same four.
  for (int index : {0, 1, 7}) EXPECT_EQ(bar.Shown(index), bar.titles.Lines());
}

TEST(SponsorLinks, SixRecordsRotateInFours) {
  Bar bar;
  bar.Merge("0|u0<br>1|u1<br>2|u2<br>3|u3<br>4|u4<br>5|u5<br>");
  EXPECT_EQ(bar.urls.Lines(), (Lines{"u0", "u1", "u2", "u3", "u4", "u5"}));
  EXPECT_EQ(bar.Shown(0), (Lines{"0", "1", "2", "3"}));
  EXPECT_EQ(bar.Shown(1), (Lines{"4", "5", "0", "1"}));
  EXPECT_EQ(bar.Shown(2), (Lines{"2", "3", "4", "5"}));
  EXPECT_EQ(bar.Shown(3), bar.Shown(0));
  EXPECT_EQ(SponsorSlot(0, 0, 0), -1);  // an empty list has no entry
}

TEST(SponsorLinks, RecordRules) {
  // Skipped records (no "|", empty caption) take no index; a further "|"
  // stays in the address, an empty address is kept; text after the last
  // "<br>" is never used.
  const auto links = ParseSponsorList(
      "no bar<br>|x.cn<br> \t|y.cn<br>A|a.cn|p=1<br>B| <br><br>C|c.cn");
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].title, "A");
  EXPECT_EQ(links[0].url, "a.cn|p=1");
  EXPECT_EQ(links[1].title, "B");
  EXPECT_EQ(links[1].url, "");

  // "皘" is B0 7C in GBK: its second byte is "|", yet it cannot split the
  // record, which is cut before conversion.
  const auto gbkBar = ParseSponsorList("皘站|d.cn<br>");
  ASSERT_EQ(gbkBar.size(), 1u);
  EXPECT_EQ(gbkBar[0].title, "\xB0\x7C" + Gbk("站"));
  EXPECT_EQ(gbkBar[0].url, "d.cn");

  // A body that is not UTF-8 (here GBK) gives no record at all.
  EXPECT_TRUE(ParseSponsorList(Gbk("中文") + "|a.cn<br>B|b.cn<br>").empty());
  EXPECT_TRUE(ParseSponsorList("").empty());
}

}  // namespace
}  // namespace orlu
