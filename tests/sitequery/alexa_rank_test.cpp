// Cutting the rank out of the ranking service's data page.
#include "sitequery/alexa_rank.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/gbk.h"

namespace orlu {
namespace {

std::string Page(const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
         "<ALEXA VER=\"0.9\" URL=\"x/\" HOME=\"0\" AID=\"=\">\r\n" +
         inner + "\r\n</ALEXA>";
}

TEST(ParseAlexaRank, Pages) {
  const std::string fail = Gbk("失败");
  struct Case {
    std::string page, domain, rank;
  };
  const Case cases[] = {
      // The text between the start marker and the first end after it.
      {Page("<SD><POPULARITY URL=\"example.com/\" TEXT=\"1200\"/><REACH RANK=\"99\"/></SD>"), "example.com",
       "1200"},
      // The first element for the domain wins; the answer is not checked to be a number.
      {"<POPULARITY URL=\"a.cn/\" TEXT=\"7 x\"/><POPULARITY URL=\"a.cn/\" TEXT=\"8\"/>", "a.cn", "7 x"},
      // The start marker without an end after it (one before it): empty,
      // counted as an answer.
      {"\"/><POPULARITY URL=\"a.com/\" TEXT=\"5", "a.com", ""},
      {"<POPULARITY URL=\"a.com/\" TEXT=\"\"/>", "a.com", ""},
      // Another domain's element: the marker ends in "/" after the domain, so
      // "a.com" matches neither "a.com.cn" nor "ba.com"; the data end gives "0".
      {Page("<POPULARITY URL=\"a.com.cn/\" TEXT=\"55\"/><POPULARITY URL=\"ba.com/\" TEXT=\"56\"/>"), "a.com",
       "0"},
      {"<RLS PREFIX=\"http://\" more=\"0\">", "a.com", "0"},
      {"<popularity URL=\"a.com/\" TEXT=\"3\"/></ALEXA>", "a.com", "0"},  // markers are case-sensitive
      // The domain is matched as held, blanks included.
      {Page("<POPULARITY URL=\"a.com /\" TEXT=\"31\"/>"), "a.com ", "31"},
      // The block page (also before a data end) and a cut-off data page fail
      // and ask for another try.
      {"<html>Please click here to continue using Alexa</ALEXA></html>", "a.com", fail},
      {"<ALEXA VER=\"0.9\"><SD>", "a.com", fail},
  };
  for (const Case& c : cases) {
    bool failed = c.rank != fail;
    EXPECT_EQ(ParseAlexaRankText(c.page, c.domain, failed), c.rank) << c.page;
    EXPECT_EQ(failed, c.rank == fail) << c.page;
  }
}

TEST(ParseAlexaRank, AWorkersFailureOfARowOutsideTheFlagsChangesNoneOfThem) {
  ThreadControlStru job;
  job.Domains = {"a.com", "b.com"};
  job.Done = {1, 1};
  CAlexaInfoth worker(true, 0, job);
  EXPECT_EQ(worker.ParseAlexaRank("junk", "b.com", 7), Gbk("失败"));
  EXPECT_TRUE(worker.NeedRetry);
  EXPECT_EQ(job.Done, (std::vector<unsigned char>{1, 1}));
}

}  // namespace
}  // namespace orlu
