// Cutting the rank out of the ranking service's data page.
#include "sitequery/alexa_rank.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text/gbk.h"

namespace orlu {
namespace {

std::string Page(const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
         "<ALEXA VER=\"0.9\" URL=\"x/\" HOME=\"0\" AID=\"=\">\r\n" +
         inner + "\r\n</ALEXA>";
}

TEST(ParseAlexaRank, TakesTheTextBetweenTheStartMarkerAndTheFirstEnd) {
  bool failed = true;
  const std::string page =
      Page("<SD><POPULARITY URL=\"example.com/\" TEXT=\"1200\"/><REACH RANK=\"99\"/></SD>");
  EXPECT_EQ(ParseAlexaRankText(page, "example.com", failed), "1200");
  EXPECT_FALSE(failed);

  // The first element for the domain wins; the answer is not checked to be
  // a number.
  const std::string two = "<POPULARITY URL=\"a.cn/\" TEXT=\"7 x\"/>"
                          "<POPULARITY URL=\"a.cn/\" TEXT=\"8\"/>";
  EXPECT_EQ(ParseAlexaRankText(two, "a.cn", failed), "7 x");
  EXPECT_FALSE(failed);
}

TEST(ParseAlexaRank, StartMarkerWithoutEndGivesEmptyTextCountedAsAnswer) {
  bool failed = true;
  EXPECT_EQ(ParseAlexaRankText("<POPULARITY URL=\"a.com/\" TEXT=\"12", "a.com", failed), "");
  EXPECT_FALSE(failed);
  // An end marker only before the start marker does not count.
  EXPECT_EQ(ParseAlexaRankText("\"/><POPULARITY URL=\"a.com/\" TEXT=\"5", "a.com", failed), "");
  EXPECT_FALSE(failed);
  EXPECT_EQ(ParseAlexaRankText("<POPULARITY URL=\"a.com/\" TEXT=\"\"/>", "a.com", failed), "");
  EXPECT_FALSE(failed);
}

TEST(ParseAlexaRank, PagesWithoutTheDomainsElement) {
  bool failed = true;
  // Another domain's element: the marker ends in "/" after the domain, so
  // "a.com" does not match "a.com.cn" nor "ba.com"; the data end gives "0".
  const std::string other = Page("<POPULARITY URL=\"a.com.cn/\" TEXT=\"55\"/>"
                                 "<POPULARITY URL=\"ba.com/\" TEXT=\"56\"/>");
  EXPECT_EQ(ParseAlexaRankText(other, "a.com", failed), "0");
  EXPECT_FALSE(failed);

  EXPECT_EQ(ParseAlexaRankText("<RLS PREFIX=\"http://\" more=\"0\">", "a.com", failed), "0");
  EXPECT_FALSE(failed);

  // Markers are case-sensitive.
  EXPECT_EQ(ParseAlexaRankText("<popularity URL=\"a.com/\" TEXT=\"3\"/></ALEXA>", "a.com",
                               failed),
            "0");
  EXPECT_FALSE(failed);
}

TEST(ParseAlexaRank, BlockPageAndJunkFailAndAskForAnotherTry) {
  const std::string fail = Gbk("失败");
  bool failed = false;
  // The block page wins over the data end that follows it.
  EXPECT_EQ(ParseAlexaRankText("<html>Please click here to continue using Alexa</ALEXA></html>",
                               "a.com", failed),
            fail);
  EXPECT_TRUE(failed);
  failed = false;
  EXPECT_EQ(ParseAlexaRankText("<html>busy</html>", "a.com", failed), fail);
  EXPECT_TRUE(failed);
  failed = false;
  EXPECT_EQ(ParseAlexaRankText("", "a.com", failed), fail);
  EXPECT_TRUE(failed);
  // A cut-off data page (no closing element) is junk too.
  failed = false;
  EXPECT_EQ(ParseAlexaRankText("<ALEXA VER=\"0.9\"><SD>", "a.com", failed), fail);
  EXPECT_TRUE(failed);
}

TEST(ParseAlexaRank, DomainIsMatchedAsHeldBlanksIncluded) {
  bool failed = true;
  const std::string page = Page("<POPULARITY URL=\"a.com /\" TEXT=\"31\"/>");
  EXPECT_EQ(ParseAlexaRankText(page, "a.com ", failed), "31");
  EXPECT_FALSE(failed);
  // Without the blank the element is another domain's.
  EXPECT_EQ(ParseAlexaRankText(page, "a.com", failed), "0");
  // A GBK domain is matched byte for byte.
  const std::string cn = Gbk("中文.cn");
  EXPECT_EQ(ParseAlexaRankText("<POPULARITY URL=\"" + cn + "/\" TEXT=\"9\"/>", cn, failed), "9");
  EXPECT_FALSE(failed);
}

TEST(ParseAlexaRank, WorkerFailureClearsTheRowsFlagAndAsksForARetry) {
  ThreadControlStru job;
  job.Domains = {"a.com", "b.com"};
  job.Done = {1, 1};
  CAlexaInfoth worker(true, 0, job);
  EXPECT_EQ(worker.ParseAlexaRank("<POPULARITY URL=\"b.com/\" TEXT=\"4\"/>", "b.com", 1), "4");
  EXPECT_FALSE(worker.NeedRetry);
  EXPECT_EQ(job.Done[1], 1);

  EXPECT_EQ(worker.ParseAlexaRank("Please click here to continue using Alexa", "b.com", 1),
            Gbk("失败"));
  EXPECT_TRUE(worker.NeedRetry);
  EXPECT_EQ(job.Done[1], 0);
  EXPECT_EQ(job.Done[0], 1);
  // A row outside the flags changes none of them.
  EXPECT_EQ(worker.ParseAlexaRank("junk", "b.com", 7), Gbk("失败"));
  EXPECT_EQ(job.Done[0], 1);
}

}  // namespace
}  // namespace orlu
