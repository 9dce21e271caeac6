// The ranking detail report for one domain: two workers per query, one
// asking the ranking service's site information page, the other its
// detailed XML data; each cuts its fields out of the answer and writes them
// into the page's controls on the window thread.
//
// The controls are reached through AlexaDetailView, a record of small
// interfaces the page fills before every query, so the workers and their
// writers build and run without a window.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/rows.h"
#include "platform/net/transfer_abort.h"
#include "platform/thread/thread.h"
#include "platform/thread/worker_group.h"

namespace orlu {

class PageClient;

// Everything cut from one answer. Every text starts empty.
struct CAlexaDetailInfo {
  std::string SiteTitle;
  std::string SiteDomain;
  std::string Email;
  std::string Rank;
  std::string RankChange;
  std::string Created;
  std::string Country;
  std::string Encoding;
  std::string Speed;
  std::string AdultRating;
  std::string LinksIn;
  std::string Phone;
  std::string Address;
  std::string Description;
  // Yesterday, trend, 7-day average, trend, 1-month average, trend,
  // 3-month average, 3-month change.
  std::array<std::string, 8> RankStats;
  // Entry i of the names belongs to entry i of the shares; the shares may
  // hold one entry more.
  std::vector<std::string> SubSiteNames;
  std::vector<std::string> SubSiteShares;
  std::string IpEstimate;
  std::string PvEstimate;
  std::vector<std::string> CountryNames;
  std::vector<std::string> CountryShares;
};

// --- Addresses (hosts as the program names them; services.h maps them) ---

// The domain as the workers query it: blanks and control bytes trimmed at
// both ends, A-Z lower-cased, then every "http://" removed in one pass.
std::string NormalizeDetailDomain(std::string_view typed);
// The site information page and the detailed XML data of a domain.
std::string AlexaSiteInfoUrl(const std::string& domain);
std::string AlexaDetailDataUrl(const std::string& domain);
// The traffic chart of `range` ("6m", "3m", "1m", "15.0m", "7d") for the
// domain as typed.
std::string AlexaChartUrl(const std::string& range, const std::string& domain);
// Pages of the site host opened in the browser: `path` then the domain.
std::string AlexaSitePageUrl(const std::string& path, const std::string& domain);

// --- Cuts ---

// The site page's title, domain and rank change.
void ParseSitePageHead(std::string_view page, const std::string& domain, CAlexaDetailInfo& info);
// The fields of the XML data.
void ParseDetailXmlFields(std::string_view xml, CAlexaDetailInfo& info);
void ParseRankStats(std::string_view page, CAlexaDetailInfo& info);
void ParseSubDomains(std::string_view page, CAlexaDetailInfo& info);
void ParseCountries(std::string_view page, CAlexaDetailInfo& info);
void ParseReachPv(std::string_view page, CAlexaDetailInfo& info);

// A number as the estimates write it: the general decimal form with at most
// 15 significant digits, no trailing zeros, the exponent form ("1.5E-6",
// "1E20") only below 0.00001 or from 16 integer digits on.
std::string FormatGeneralFloat(double value);
// A decimal number with "." as the point (sign, digits, fraction, exponent);
// false for anything else.
bool ReadDecimal(std::string_view text, long double& value);

// --- The controls the writers fill ---

// One control as the writers see it: its text (an edit's text, a label's or
// button's caption) and, for the button, whether it is enabled.
class DetailField {
 public:
  virtual ~DetailField() = default;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetEnabled(bool enabled) { (void)enabled; }
};

struct TAlexaDetailView {
  std::array<DetailField*, 14> Edits{};     // edtAD1 .. edtAD14
  std::array<DetailField*, 8> RankEdits{};  // edtADL1 .. edtADL8
  RowStore* TrafficLv = nullptr;
  DetailField* IpEdit = nullptr;
  DetailField* PvEdit = nullptr;
  RowStore* CountryLv = nullptr;
  DetailField* QueryButton = nullptr;
  DetailField* FailLabel = nullptr;
  // The query whose workers may write; a worker of an earlier one writes
  // nothing. Counted up by each start.
  unsigned Generation = 0;
};

// Window thread only.
extern TAlexaDetailView AlexaDetailView;

// --- The worker ---

class CAlexaDetail : public Thread {
 public:
  // PageFlag 0: the site information page; 1: the XML data. The worker
  // belongs to the query AlexaDetailView.Generation names when it is made.
  CAlexaDetail(bool CreateSuspended, const std::string& Domain, int PageFlag);
  ~CAlexaDetail() override;

  std::string Domain;
  int PageFlag;
  CAlexaDetailInfo Result;

  // Cuts the fetched texts into Result: the head fields of its own text,
  // and for the site page the rank table, the lists and the estimates.
  void ParseAlexaDetail(std::string_view page, std::string_view xml);
  void ParseDetailXml(std::string_view page, std::string_view xml);

  // Window thread (through Synchronize): write Result into the controls of
  // AlexaDetailView, or the failure text. Nothing is written for a worker
  // of an earlier query.
  void ShowAlexaDetail();
  void ShowAlexaDetailFail();

  // Aborts the transfer in flight and every later one (any thread).
  void AbortTransfer();

 protected:
  void Execute() override;
  void OnTerminate() override { AbortTransfer(); }

 private:
  const unsigned generation_;
  TransferAbort transfer_;
};

// The workers of the queries started so far, kept so that they can be ended
// and joined. Window thread only.
class AlexaDetailJob {
 public:
  AlexaDetailJob() = default;
  // Ends every worker (transfers aborted) and waits for it.
  ~AlexaDetailJob();
  AlexaDetailJob(const AlexaDetailJob&) = delete;
  AlexaDetailJob& operator=(const AlexaDetailJob&) = delete;

  // A new query: AlexaDetailView.Generation counted up, the workers of
  // earlier queries told to stop (their transfers aborted; finished ones
  // released), and the two workers of `typedDomain` started.
  void Start(const std::string& typedDomain);
  void EndAll();
  // Workers kept now (running, or ended but not yet released).
  size_t Kept() const { return workers_.Size(); }
  bool Running() const;

 private:
  WorkerGroup<CAlexaDetail> workers_;
};

}  // namespace orlu
