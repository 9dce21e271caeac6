// The single-site report without windows: one report of nineteen queries
// against substitute services that answer every request after 200 ms. The
// queries run side by side, so the report takes about one answer's time:
// elapsed seconds against that ideal bound.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "bench_util.h"
#include "platform/net/page_client.h"
#include "platform/text/gbk.h"
#include "sitequery/single_info.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"

int main() {
  using namespace std::chrono_literals;
  using orlu::bench::Clock;
  constexpr double kLatency = 0.200;

  orlu::InitNetwork();
  orlu::test::SubstituteHttpServer http;
  orlu::test::ScopedServices services(&http);
  // One page that every query can cut a figure from, for the services that
  // send GBK and for those that send UTF-8.
  const std::string utf8 = "Rank_1:1:3 大约 <b>1,200</b> 约有 <b>80</b> 找到相关网页约5,600条 "
                           "链向该地址的网页： 共 <strong>12</strong> 条 搜索到结果约 <B>900</B>";
  const std::string gbk = orlu::Gbk("<font color=#008000>site.com/ 12K 2009-6-1  </font> 搜狗评级:4&nbsp; "
                                    "找到相关网页约1,230篇 搜索到约77项 <POPULARITY URL=\"site.com/\" "
                                    "TEXT=\"4321\"/><td height=\"39\" align=\"center\" valign=\"top\" "
                                    "background=\"../v4/images/cr_bg25.gif\" class=\"y-n3\">99</td>");
  http.AddResponder([&](const orlu::test::HttpRequest& r) -> std::optional<orlu::test::HttpReply> {
    const std::string host = r.Host();
    const bool sendsUtf8 = (host == "www.google.cn" && r.Query().rfind("client=", 0) != 0) ||
                           host.find("yahoo") != std::string::npos || host == "www.youdao.com";
    return orlu::test::HttpReply::Ok(sendsUtf8 ? utf8 : gbk).Delay(200ms);
  });

  orlu::SingleInfoStore store;
  orlu::SingleInfoJob job(store);
  const auto t0 = Clock::now();
  job.Start("site.com");
  while (job.Running()) std::this_thread::sleep_for(1ms);
  const double secs = orlu::bench::SecondsSince(t0);

  int status = 0;
  for (int kind : orlu::kSingleInfoKinds) {
    const std::string answer = store.Read(kind);
    if (answer.empty() || answer == orlu::Gbk("失败")) {
      std::fprintf(stderr, "bench single_info_report: kind %d answered \"%s\"\n", kind, answer.c_str());
      status = 1;
    }
  }
  if (http.RequestCount() != orlu::kSingleInfoKinds.size()) status = 1;
  std::printf("bench single_info_report: %.3f s; ideal: %.3f s; ratio %.2f; target < 0.4\n", secs,
              kLatency, secs / kLatency);
  return status;
}
