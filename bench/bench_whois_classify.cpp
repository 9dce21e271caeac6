// Reading registry replies: classify and cut 100,000 real replies (the
// stored fixtures repeated), against a plain byte search of the same replies
// for their registry's not-found text in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply.h"

namespace {

namespace fs = std::filesystem;
using orlu::bench::Clock;
using orlu::bench::SecondsSince;

constexpr size_t kReplies = 100000;

struct Reply {
  int group;
  std::string raw;       // as a server sends it (CR LF)
  std::string prepared;  // converted and lower-cased
  const char* notFound;  // the group's not-found text
};

fs::path FixtureDir() {
  if (const char* env = std::getenv("ORLU_FIXTURE_DIR")) return fs::path(env) / "whois-replies";
  return fs::path(ORLU_FIXTURE_DIR) / "whois-replies";
}

std::vector<Reply> LoadReplies() {
  const std::map<std::string, int> groups = {
      {"whois.cnnic.cn", orlu::kGroupCn},          {"whois.verisign-grs.com", orlu::kGroupCom},
      {"whois.pir.org", orlu::kGroupOrg},          {"ccwhois.verisign-grs.com", orlu::kGroupCc},
      {"whois.biz", orlu::kGroupBiz},              {"whois.afilias.net", orlu::kGroupInfo},
      {"whois.nic.name", orlu::kGroupName},        {"tvwhois.verisign-grs.com", orlu::kGroupTv},
      {"whois.dotmobiregistry.net", orlu::kGroupMobi},
  };
  const char* notFound[orlu::kWhoisGroupCount] = {"no matching record", "no match for", "not found",
                                                  "no match for", "not found", "not found",
                                                  "no match", "no match for", "not found",
                                                  "not found"};
  std::vector<Reply> out;
  for (const auto& entry : fs::recursive_directory_iterator(FixtureDir())) {
    if (!entry.is_regular_file() || entry.path().extension() != ".txt") continue;
    const std::string server =
        entry.path().parent_path().parent_path().parent_path().filename().string();
    const auto g = groups.find(server);
    if (g == groups.end()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    Reply r;
    r.group = g->second;
    for (char c : ss.str()) {
      if (c == '\n') r.raw += '\r';
      r.raw += c;
    }
    r.prepared = orlu::PrepareWhoisReply(r.raw);
    r.notFound = notFound[r.group];
    out.push_back(std::move(r));
  }
  return out;
}

}  // namespace

int main() {
  const std::vector<Reply> replies = LoadReplies();
  if (replies.empty()) {
    std::fprintf(stderr, "no fixtures under %s\n", FixtureDir().c_str());
    return 1;
  }
  size_t sink = 0;
  const std::string& registered = orlu::WordRegistered();

  // Peer: one plain byte search per reply for its not-found text.
  auto search = [&] {
    for (size_t i = 0; i < kReplies; ++i) {
      const Reply& r = replies[i % replies.size()];
      sink += memmem(r.prepared.data(), r.prepared.size(), r.notFound, std::strlen(r.notFound)) != nullptr;
    }
  };
  // Classify and, for registered names, cut the fields.
  auto parse = [&] {
    for (size_t i = 0; i < kReplies; ++i) {
      const Reply& r = replies[i % replies.size()];
      const std::string state = orlu::ClassifyWhoisReply(r.group, r.prepared);
      if (state == registered) {
        orlu::WhoisFields fields;
        orlu::CutWhoisFields(r.group, r.prepared, fields);
        sink += fields.Registrar.size();
      }
      sink += state.size();
    }
  };
  // The same with the preparation of each reply (conversion, lower-casing).
  auto full = [&] {
    for (size_t i = 0; i < kReplies; ++i) {
      const Reply& r = replies[i % replies.size()];
      const std::string prepared = orlu::PrepareWhoisReply(r.raw);
      const std::string state = orlu::ClassifyWhoisReply(r.group, prepared);
      if (state == registered) {
        orlu::WhoisFields fields;
        orlu::CutWhoisFields(r.group, prepared, fields);
        sink += fields.Registrar.size();
      }
    }
  };
  // The runs take turns, and each keeps its best time, so a busy machine
  // slows the peer and the parser alike.
  auto timed = [](auto&& run) {
    const auto t0 = Clock::now();
    run();
    return SecondsSince(t0);
  };
  double searchSecs = 1e9, parseSecs = 1e9, fullSecs = 1e9;
  for (int round = 0; round < 5; ++round) {
    searchSecs = std::min(searchSecs, timed(search));
    parseSecs = std::min(parseSecs, timed(parse));
    fullSecs = std::min(fullSecs, timed(full));
  }

  const double searchRate = kReplies / searchSecs;
  const double parseRate = kReplies / parseSecs;
  const double fullRate = kReplies / fullSecs;
  std::printf(
      "bench whois_classify: %.0f replies/s; plain not-found search: %.0f replies/s; ratio %.2f; "
      "target <= 5\n",
      parseRate, searchRate, searchRate / parseRate);
  std::printf(
      "bench whois_prepare_classify: %.0f replies/s; plain not-found search: %.0f replies/s; "
      "ratio %.2f\n",
      fullRate, searchRate, searchRate / fullRate);
  if (sink == 42) std::printf("\n");
  return 0;
}
