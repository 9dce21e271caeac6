// The site-information cuts on pages in the encoding each service sends.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "sitequery/site_info.h"

namespace orlu {
namespace {

TEST(SiteInfoCut, PageRankIsTheTrimmedTextAfterTheLastColon) {
  EXPECT_EQ(ParsePrText("Rank_1:1: 6\n"), "6");
  EXPECT_EQ(ParsePrText("<html>no rank</html>"), "0");
}

// (A page without the figure is told apart by the ranking data's own cut, tested there.)
TEST(SiteInfoCut, InboundLinksOfTheRankingData) {
  EXPECT_EQ(ParseAlexaLinksInText("<SD><LINKSIN NUM=\"1,024\"/><SPEED/></SD></ALEXA>"), "1,024");
  EXPECT_EQ(ParseAlexaLinksInText("<LINKSIN NUM=\"12"), "");
  EXPECT_EQ(ParseAlexaLinksInText("</ALEXA>"), "0");
  EXPECT_EQ(ParseAlexaLinksInText("<html>a.com</html>"), Gbk("失败"));
}

TEST(SiteInfoCut, ArchiveCountAndPageFigure) {
  using Cut = std::pair<std::string, CutOutcome>;
  const CutOutcome ok = CutOutcome::Answered;
  const Cut pageFail{Gbk("p失败"), CutOutcome::Failed};
  const std::string head = "<p align=\"right\"><b>1,234</b> Results</p>";
  const std::string row = "<tr bgcolor=\"#EBEBEB\">", dashes(30, '-');
  // The 38 bytes before the row: the byte after ">" is skipped, the one before "pages" kept.
  const std::string tail = "<b> 567 pages</b></td></tr>";
  const std::string window = std::string(38 - tail.size(), '-') + tail;
  const struct {
    std::string page;
    Cut cut;
  } cases[] = {
      {"<html>" + head + "<table>" + window + row, {"1,234.567 ", ok}},
      {head + dashes + ">x7pages" + row, {"1,234.7", ok}},
      // The window may start at the page's first byte (the row at byte 39).
      {">x9pages" + dashes + row + head, {"1,234.9", ok}},
      // "pages" before the ">" or within two bytes after it: no figure.
      {head + "pages" + std::string(29, '-') + ">xyz" + row, {"1,234.", ok}},
      {head + std::string(31, '-') + ">xpages" + row, {"1,234.", ok}},
      {head + std::string(32, '-') + ">pages" + row, {"1,234.", ok}},
      // A piece missing, or a window before the page; nothing is read outside the page.
      {"<p align=\"right\"><b>12</b> Results", pageFail},             // no end of the count
      {head + std::string(60, 'x'), pageFail},                         // no row
      {"<p align=\"right\"><b>1</b> Results</p>" + row, pageFail},    // row at position 38
      {row + head + std::string(40, '-'), pageFail},                   // row before the count
      {head + std::string(38, '-') + row, pageFail},                   // neither ">" nor "pages"
      {head + std::string(33, '-') + "pages" + row, pageFail},         // no ">"
      {"<p>Sorry, no matches.</p>", {"0", ok}},
      {"10 pages found for", {"0", ok}},
      {"<h1>Data Retrieval Failure</h1>", {Gbk("不确定"), CutOutcome::Uncertain}},
      {"<html>a.com</html>", {Gbk("失败"), CutOutcome::Failed}},
  };
  for (const auto& c : cases) {
    Cut got;
    got.first = ParseArchiveText(c.page, got.second);
    EXPECT_EQ(got, c.cut) << c.page;
  }
}

TEST(SiteInfoCut, KeyWordsFoundInAGbkPage) {
  CutOutcome o;
  const std::string page = Gbk("站点 外文导航网 与 电影 下载");
  const std::vector<std::string> keys = {Gbk("外文导航 "), Gbk("电影"), Gbk("银行"), Gbk("外文导航")};
  EXPECT_EQ(ParseKeyWordText(page, keys, o), Gbk("电影,外文导航,"));
  // The keywords as written in the source (UTF-8) never match a GBK page.
  EXPECT_EQ(ParseKeyWordText(page, {"电影"}, o), "");
  EXPECT_EQ(ParseKeyWordText(Gbk("<p>该请求通过电脑病毒或间谍软件向我们自动发送</p> a"), {"a"}, o), Gbk("失败"));
  EXPECT_EQ(o, CutOutcome::Failed);
}

TEST(SiteInfoCut, SearchCountsBetweenTheirMarkers) {
  EXPECT_EQ(ParseBaiduZhidaoText(Gbk("<div>共搜到相关问题 1,234 项</div>")), "1,234");
  EXPECT_EQ(ParseBaiduZhidaoText(Gbk("<div>共搜到相关问题 1,234 个</div>")), "0");
  EXPECT_EQ(ParseBaiduZhidaoText(Gbk(" 项</div>共搜到相关问题 9")), "");
  EXPECT_EQ(ParseBaiduZhidaoText("<div>共搜到相关问题 1 项</div>"), "0");  // UTF-8 page

  EXPECT_EQ(ParseBaiduSiteText(Gbk("百度为您找到相关网页约 12,300篇，用时0.1秒")), Gbk("约 12,300"));
  EXPECT_EQ(ParseBaiduSiteText(Gbk("抱歉，没有找到与“site:a.com”相关的网页 找到相关网页5篇，用时")), "0");
  EXPECT_EQ(ParseBaiduSiteText(Gbk("找到相关网页5篇")), "0");

  const std::string yahoo = "链向该地址的网页： 共 <strong> 3,210 </strong> 条";
  EXPECT_EQ(ParseYahooLinkText(Utf8ToAnsi(yahoo)), "3,210");
  EXPECT_EQ(ParseYahooLinkText(Utf8ToAnsi("对不起， 你的请求不能正确处理， 原因如下 " + yahoo)), "0");
}

}  // namespace
}  // namespace orlu
