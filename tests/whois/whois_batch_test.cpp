// The batch WHOIS workers against a substitute WHOIS server on loopback.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "support/plain_loop_test.h"
#include "whois/whois_batch.h"
#include "whois_test_util.h"

namespace orlu {
namespace {

using test::ScopedServices;
using test::SubstituteWhoisServer;
using test::Texts;
using test::WhoisReply;
using test::WhoisRequest;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<std::string> Blanks(std::vector<std::string> first, size_t total = 10) {
  first.resize(total, " ");
  return first;
}

class WhoisBatchTest : public test::PlainLoopTest {
 protected:
  void SetUp() override {
    saved_ = WhoisConfig;
    PlainLoopTest::SetUp();
    WhoisConfig.ListView = &rows_;
    // Pauses are settings; short ones keep the tests quick.
    WhoisConfig.Delays.fill(0);
  }
  void TearDown() override {
    batch_.Stop();
    WhoisConfig = saved_;
    PlainLoopTest::TearDown();
  }

  // Rows anew from the lines, of a generation of their own.
  void Fill(const Texts& lines) {
    rows_.Clear();
    rows_.AddRows(BuildWhoisRows(lines));
    rows_.NewGeneration();
  }
  // "查询": rows anew from the lines, then every worker.
  void Search(const Texts& lines) {
    batch_.Stop();
    Fill(lines);
    batch_.Start(lines);
  }
  Texts Cells(int row) const { return rows_.Row(row).cells; }
  // Serves the workers' row writes until the batch has ended.
  void RunToEnd(std::chrono::milliseconds limit = 20s) {
    ASSERT_TRUE(PumpUntil([this] { return !batch_.Running(); }, limit)) << "the batch did not end";
  }
  size_t Asked(const std::string& query) const {
    const Texts asked = server_.Queries();
    return static_cast<size_t>(std::count(asked.begin(), asked.end(), query));
  }

  WhoisSettings saved_;
  MemoryRows rows_;
  SubstituteWhoisServer server_;
  ScopedServices scope_{nullptr, &server_};
  WhoisBatch batch_;
};

TEST(WhoisRows, OneRowPerLineButAnEmptyLastLine) {
  const std::vector<ListRow> rows = BuildWhoisRows({" Abc.COM\t", "", "  ", "x.cn", " "});
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].cells, Blanks({"Abc.COM"}));
  EXPECT_EQ(rows[2].cells, Blanks({""}));
  EXPECT_EQ(rows[3].caption + " " + rows[3].cells[0], "4 x.cn");
  EXPECT_TRUE(BuildWhoisRows({""}).empty());
}

TEST_F(WhoisBatchTest, ComListIsSharedByTheFiveComWorkersWithTheirPauses) {
  WhoisConfig.Delays.fill(60000);
  // Every other worker walks past the com rows: a pause after a domain of
  // another group would hold the batch for minutes.
  WhoisConfig.Delays[kGroupCom] = 300;
  std::mutex m;
  std::map<std::string, Clock::time_point> askedAt;
  server_.AddResponder([&](const WhoisRequest& r) -> std::optional<WhoisReply> {
    {
      std::lock_guard lock(m);
      askedAt[r.query] = Clock::now();
    }
    return WhoisReply::Text("Domain Name: " + r.query + "\r\n").Delay(100ms);
  });
  Texts lines;
  for (int i = 0; i < 10; ++i) lines.push_back("s" + std::to_string(i) + ".com");
  Search(lines);
  RunToEnd();
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Asked(lines[i]), 1u);
  // Worker k takes rows k and k + 5, the second only after its pause.
  for (int k = 0; k < 5; ++k) EXPECT_GE(askedAt[lines[k + 5]] - askedAt[lines[k]], 300ms) << k;
}

TEST_F(WhoisBatchTest, EveryGroupEndsWithTheStateOfItsReply) {
  server_.On("xyz", WhoisReply::Text("domain: XYZ\r\nwhois server (port 43): whois.nic.xyz\r\n"));
  server_.On("zz", WhoisReply::Text("% This query returned 0 objects.\r\n"));
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"a.cn", "Domain Name: a.cn\r\nDomain Status: ok\r\n", WordRegistered()},
      {"b.com", "No match for \"B.COM\".\r\n", WordUnregistered()},
      {"c.org", "NOT FOUND\r\n", WordUnregistered()},
      {"d.cc", "Domain Name: D.CC\r\nRegistrar: CC REG\r\n", WordRegistered()},
      {"e.biz", "Domain Name: e.biz\r\n", WordRegistered()},
      {"f.info", "NOT FOUND\r\n", WordUnregistered()},
      {"g.name", "No match.\r\n", WordUnregistered()},
      {"h.tv", "Domain Name: H.TV\r\n", WordRegistered()},
      {"i.mobi", "NOT FOUND\r\n", WordUnregistered()},
      {"j.xyz", "Domain Name: J.XYZ\r\nCreation Date: 2020-01-01\r\n", WordRegistered()},
      {"k.zz", "Domain Name: K.ZZ\r\n", WordUnsupported()},
      {"retry.com", "", WordFailed()}};  // an empty reply: failed
  for (const auto& [domain, reply, state] : cases) server_.On(domain, WhoisReply::Text(reply));
  server_.On("mixed.com", WhoisReply::Text("No match for \"MIXED.COM\".\r\n"));
  // Blank lines have rows that are never asked; the query is lower-cased.
  Search({"a.cn", "b.com", "c.org", "d.cc", "e.biz", "f.info", "g.name", "h.tv", "i.mobi",
          "j.xyz", "k.zz", "retry.com", "", "   ", "  MiXeD.Com \t"});
  RunToEnd();
  EXPECT_EQ(Cells(14), Blanks({"MiXeD.Com", WordUnregistered()}));
  EXPECT_EQ(Asked("mixed.com"), 1u);
  for (int i : {12, 13}) EXPECT_EQ(Cells(i), Blanks({""})) << i;
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(rows_.Cell(i, kWhoisStatusCell), std::get<2>(cases[i])) << std::get<0>(cases[i]);
  // "后缀不支持" leaves the other cells as they were, and is asked no more.
  EXPECT_EQ(Cells(10), Blanks({"k.zz", WordUnsupported()}));
  EXPECT_EQ(Asked("zz"), 1u);
  EXPECT_EQ(Asked("retry.com"), 5u);
}

TEST_F(WhoisBatchTest, LaterAnswerReplacesAllNineCells) {
  WhoisConfig.Passes = 2;
  // An org record holds every field, each with a value of its own.
  server_.OnSequence("late.org",
                     {WhoisReply::Text(""),
                      WhoisReply::Text("Domain Name:LATE.ORG\nStatus:St\n"
                                       "Registrant Organization:Org\nRegistrant Name:Who\n"
                                       "Registrant Email:Mail\nSponsoring Registrar:Reg\n"
                                       "Name Server:Ns\nCreated On:2001\n"
                                       "Expiration Date:2031\n")});
  Search({"late.org"});
  RunToEnd();
  EXPECT_EQ(Cells(0), (Texts{"late.org", WordRegistered(), "org", "reg", "2001", "2031", "mail",
                              "st", "who", "ns"}));
}

TEST_F(WhoisBatchTest, RetryAsksOnlyTheRowsStillFailed) {
  server_.On("zz", WhoisReply::Text("no referral here\r\n"));
  server_.On("ok.com", WhoisReply::Text("Domain Name: OK.COM\r\n"));
  server_.On("free.org", WhoisReply::Text("NOT FOUND\r\n"));
  // down.com gets the fallback: the server closes without a word.
  Search({"k.zz", "down.com", "ok.com", "free.org"});
  RunToEnd();
  EXPECT_EQ(rows_.Cell(0, kWhoisStatusCell), WordUnsupported());
  EXPECT_EQ(rows_.Cell(1, kWhoisStatusCell), WordFailed());
  EXPECT_EQ(Asked("down.com"), 5u);

  // "失败重查": the same rows, workers only; a line without a row (the list
  // edited since) is skipped.
  server_.ClearRequests();
  batch_.Start({"k.zz", "down.com", "ok.com", "free.org", "extra.com"});
  RunToEnd();
  EXPECT_EQ(server_.Queries(), Texts(5, "down.com"));
  EXPECT_EQ(rows_.Cell(0, kWhoisStatusCell), WordUnsupported());
  EXPECT_EQ(rows_.Cell(2, kWhoisStatusCell), WordRegistered());
  EXPECT_EQ(rows_.Cell(3, kWhoisStatusCell), WordUnregistered());
}

TEST_F(WhoisBatchTest, AnAnswerForRowsRebuiltSinceItsStartIsDropped) {
  const auto lines = std::make_shared<const Texts>(Texts{"a.com"});
  Fill(*lines);
  CWhois old(true, lines, 1, 0, kGroupCom);
  Fill(*lines);
  CWhois current(true, lines, 1, 0, kGroupCom);
  for (CWhois* w : {&old, &current}) {
    w->Row = 0;
    w->State = WordRegistered();
  }
  old.ShowSuffixUnsupported();
  old.ShowWhoisRow();
  EXPECT_EQ(Cells(0), Blanks({"a.com"}));
  current.ShowWhoisRow();
  EXPECT_EQ(Cells(0), Blanks({"a.com", WordRegistered()}));
}

TEST_F(WhoisBatchTest, StoppingWorkersInPausesAndSlowQueriesIsQuick) {
  // The real pauses, and half of the servers never answer: those asked a
  // name that starts with "h" (six domains under each of ten suffixes).
  WhoisConfig = saved_;
  WhoisConfig.ListView = &rows_;
  server_.Fallback([](const WhoisRequest& r) {
    return r.query.starts_with("h")
               ? WhoisReply::Hang()
               : WhoisReply::Text("Domain Name: x\r\nwhois server (port 43): w.x\r\n");
  });
  Texts lines;
  for (const char* suffix : {"cn", "com", "org", "cc", "biz", "info", "name", "tv", "mobi", "xyz"})
    for (int i = 0; i < 6; ++i)
      lines.push_back((i % 2 ? "h" : "q") + std::to_string(i) + "." + suffix);
  Search(lines);
  EXPECT_EQ(batch_.WorkerCount(), 24);
  ASSERT_TRUE(server_.WaitForRequests(18, 10s)) << server_.RequestCount();
  const auto t = Clock::now();
  batch_.Stop();
  EXPECT_LT(Clock::now() - t, 2s);
  EXPECT_FALSE(batch_.Running());
}

}  // namespace
}  // namespace orlu
