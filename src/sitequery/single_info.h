// The single-site report: nineteen questions about one site (page rank,
// ratings, traffic ranks, the search snapshot date and five engines' page
// and link counts), each asked by a worker of its own that publishes its
// answer into the slot of its kind in a store the page reads every second.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/net/transfer_abort.h"
#include "platform/thread/thread.h"
#include "platform/thread/worker_group.h"

namespace orlu {

class PageClient;

inline constexpr int kSingleInfoSlots = 21;

// The kinds a report asks, in the order it starts them (17 and 18 have no
// query).
inline constexpr std::array<int, 19> kSingleInfoKinds = {0,  1,  2,  3,  4,  5,  6,  7,  8, 9,
                                                         10, 11, 12, 13, 14, 15, 16, 19, 20};

// Twenty-one texts, slot k holding the latest answer of kind k. Every
// publish and read hands a whole text over under the store's lock. Each
// report opens a generation; an answer published for an older generation
// is dropped, so a late answer never shows under a newer report's domain.
// Nothing clears the slots: a new report's answer replaces the old one when
// it arrives.
class SingleInfoStore {
 public:
  // Opens the next report's generation and returns it.
  unsigned NextGeneration();
  unsigned Generation() const;
  // Replaces the slot's text when `generation` is the current one. A slot
  // outside 0-20 is ignored.
  void Publish(int slot, std::string text, unsigned generation);
  // A copy of the slot's text; "" for a slot outside 0-20.
  std::string Read(int slot) const;

 private:
  mutable std::mutex mutex_;
  unsigned generation_ = 0;
  std::array<std::string, kSingleInfoSlots> slots_;
};

// The process's store; it outlives every window and worker.
extern SingleInfoStore SingleInfoResults;

// The address asked for `kind` and `domain`: the service's prefix, the
// domain exactly as held and the kind's tail (for kind 0 "&ch=" and the
// page-rank checksum of the domain). The page client escapes on the wire
// what may not stand in an address. "" for a kind without a query.
std::string SingleInfoAddress(int kind, const std::string& domain);

class CSingleDomainInfo : public Thread {
 public:
  // Asks `Kind` about `Domain` and publishes into `store` under the store's
  // generation at the time the worker is made.
  CSingleDomainInfo(bool CreateSuspended, std::string Domain, int Kind,
                    SingleInfoStore& store = SingleInfoResults);
  ~CSingleDomainInfo() override;

  std::string Domain;  // as the page prepared it: not trimmed, not lower-cased
  int Kind;            // the query, and the slot it publishes into
  std::string Result;  // the answer of the current try
  int Tries = 3;

  // The queries, run by Execute by Kind. Each tries up to Tries times while
  // the answer is "失败" and publishes every answer into its slot.
  void QueryPr();
  void QuerySogouRank();
  void QueryAlexaRank();
  void QueryChinaRank();
  void QueryBaiduSnapshot();
  void QueryBaiduDomain();
  void QueryBaiduSiteDays(int days);  // 1, 7, 30, 360: slots 6 to 9
  void QueryBaiduSite();
  void QueryGoogleSite();
  void QueryGoogleLink();
  void QueryYahooSite();
  void QueryYahooLink();
  void QueryYoudaoSite();
  void QueryYoudaoLink();
  void QuerySosoSite();
  void QuerySosoLink();

  // The answers cut out of a page as the query leaves it (GBK).
  std::string ParsePr(const std::string& page) const;
  std::string ParseSogouRank(const std::string& page) const;
  std::string ParseAlexaRank(const std::string& page) const;
  std::string ParseChinaRank(const std::string& page) const;
  std::string ParseBaiduSnapshot(const std::string& page) const;
  std::string ParseBaiduDomain(const std::string& page) const;
  std::string ParseBaiduSiteDays(const std::string& page) const;
  std::string ParseBaiduSite(const std::string& page) const;
  std::string ParseGoogleSite(const std::string& page) const;
  std::string ParseGoogleLink(const std::string& page) const;
  std::string ParseYahooSite(const std::string& page) const;
  std::string ParseYahooLink(const std::string& page) const;
  std::string ParseYoudaoSite(const std::string& page) const;
  std::string ParseYoudaoLink(const std::string& page) const;
  std::string ParseSosoSite(const std::string& page) const;
  std::string ParseSosoLink(const std::string& page) const;

  // Aborts the transfer in flight and every later one (any thread); the
  // worker then ends without publishing again.
  void AbortTransfer();

 protected:
  void Execute() override;
  void OnTerminate() override { AbortTransfer(); }

 private:
  using Parser = std::string (CSingleDomainInfo::*)(const std::string&) const;
  // The tries of the query of `slot`: its address, the page converted from
  // UTF-8 where its service sends UTF-8, cut by `parse`, published into
  // `slot`.
  void Ask(int slot, Parser parse);
  bool Aborted();

  SingleInfoStore& store_;
  const unsigned generation_;
  TransferAbort transfer_;  // the query's client
};

// The workers of the latest report, kept so that a new report and the end of
// the program end them (transfers aborted) and wait for them.
class SingleInfoJob {
 public:
  explicit SingleInfoJob(SingleInfoStore& store = SingleInfoResults) : store_(store) {}
  ~SingleInfoJob() { End(); }
  SingleInfoJob(const SingleInfoJob&) = delete;
  SingleInfoJob& operator=(const SingleInfoJob&) = delete;

  // Opens a new generation of the store, ends the earlier report's workers
  // and starts one worker per kind of kSingleInfoKinds for `domain`.
  void Start(const std::string& domain);
  // Aborts every kept worker and waits for it.
  void End();
  // True while a worker of the latest report runs.
  bool Running() const;

 private:
  SingleInfoStore& store_;
  WorkerGroup<CSingleDomainInfo> workers_;
};

}  // namespace orlu
