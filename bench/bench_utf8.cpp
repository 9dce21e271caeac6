// Utf8ToAnsi on a 10 MB page (mostly Chinese text in ASCII markup) against a
// single iconv call over the same buffer.
#include <iconv.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "bench_util.h"
#include "platform/text/codepage.h"

namespace {

using orlu::bench::SecondsSince;

std::string MakePage(size_t size) {
  std::mt19937 rng(936);
  std::uniform_int_distribution<int> lead(0xB0, 0xD7), trail(0xA1, 0xFE), len(4, 40);
  std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>page</title></head><body>\n";
  int row = 0;
  while (page.size() < size) {
    std::string gbk;
    const int n = len(rng);
    for (int i = 0; i < n; ++i) {
      gbk += static_cast<char>(lead(rng));
      gbk += static_cast<char>(trail(rng));
    }
    ++row;
    page += "<tr><td class=\"r\">" + std::to_string(row) + "</td><td><a href=\"http://www.example" +
            std::to_string(row % 97) + ".cn/\">" + orlu::AnsiToUtf8(gbk) + "</a></td></tr>\n";
  }
  page.resize(size);
  // Cut back to the end of the last whole line so the page stays well-formed.
  page.resize(page.rfind('\n') + 1);
  return page;
}

}  // namespace

int main() {
  const std::string page = MakePage(10 * 1000 * 1000);
  const double mb = static_cast<double>(page.size()) / 1e6;

  std::string ours;
  double bestOurs = 1e9;
  orlu::Utf8ToAnsi("\xE4\xB8\xAD");  // the tables are built before timing
  for (int i = 0; i < 5; ++i) {
    const auto t0 = orlu::bench::Clock::now();
    ours = orlu::Utf8ToAnsi(page);
    bestOurs = std::min(bestOurs, SecondsSince(t0));
  }

  std::string peer;
  double bestPeer = 1e9;
  for (int i = 0; i < 5; ++i) {
    const auto t0 = orlu::bench::Clock::now();
    iconv_t cd = iconv_open("GBK//", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
      std::perror("iconv_open");
      return 1;
    }
    peer.assign(page.size(), '\0');
    char* in = const_cast<char*>(page.data());
    char* out = peer.data();
    size_t inLeft = page.size(), outLeft = peer.size();
    iconv(cd, &in, &inLeft, &out, &outLeft);
    peer.resize(peer.size() - outLeft);
    iconv_close(cd);
    bestPeer = std::min(bestPeer, SecondsSince(t0));
  }

  if (ours != peer) std::fprintf(stderr, "bench_utf8: outputs differ (%zu vs %zu bytes)\n", ours.size(), peer.size());
  const double oursRate = mb / bestOurs, peerRate = mb / bestPeer;
  std::printf("bench utf8_to_ansi: %.1f MB/s; iconv: %.1f MB/s; ratio %.2f; target >= 0.5\n", oursRate,
              peerRate, oursRate / peerRate);
  return 0;
}
