// The pinyin and English-word checks: whether a domain's name (its text
// before the first dot) reads as Chinese pinyin, judged by the words two
// search engines suggest for it, or is an English word, judged by two online
// dictionaries' translation sections.
//
// Each check has two engines, each with a group of workers and a result
// column of its own. Workers read a snapshot of the domain lines and their
// row's result cell from the row store (safe from any thread); every write to
// a row runs on the window thread through Synchronize, and lands only in rows
// of the generation the worker was started for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pages/fail_words.h"
#include "platform/text/rows.h"
#include "platform/thread/thread.h"
#include "platform/thread/worker_group.h"

namespace orlu {

class PageClient;

// --- Cuts of the services' pages (pages as GBK text) ---

// The word as the suggestion column shows it: trimmed, and in single quotes
// unless its pinyin (blanks removed) is `label`. An empty word stays empty.
std::string MarkPinyinWord(std::string_view word, std::string_view label);

// The suggestions of a search page, each marked and followed by "|"; "0"
// when there are none.
std::string CutGoogleSuggest(std::string_view page, std::string_view label);
std::string CutBaiduSuggest(std::string_view page, std::string_view label);

// The translation section of a dictionary page, starting with its own
// heading and stripped of tags; "0" when there is none.
std::string CutGoogleDict(std::string_view page);
std::string CutBaiduDict(std::string_view page);

// The text trimmed, then, while it holds both a "<" and a ">": a ">" that
// comes before every "<" is removed with everything before it; otherwise the
// first "<" is removed up to and including the first ">" after it. One pass
// over the text.
std::string StripTags(std::string_view text);

// --- Rows ---

// Row i for line i: caption i + 1, then its cells: the line trimmed as typed,
// and " " for the answers of engine 0 and engine 1. A blank last line gets
// no row; every other line does.
std::vector<ListRow> BuildWordCheckRows(const std::vector<std::string>& lines);

// The name of a domain: its text before the first "."; "" without a dot.
std::string GetDomainLabel(std::string_view domain);

// --- Settings and workers ---

struct WordCheckSettings {
  RowStore* ListView = nullptr;  // where results go, not owned
  int32_t Passes = 5;
  int32_t Engine0Threads = 5;
  int32_t Engine1Threads = 5;
};
using PinyinSettings = WordCheckSettings;
using EngWordSettings = WordCheckSettings;

extern PinyinSettings PinyinConfig;
extern EngWordSettings EngWordConfig;

// Addresses asked for a name: the service's fixed part, then the label as it
// is (the page client escapes on the wire what may not stand in an address).
std::string PinyinUrl(int engine, const std::string& label);
std::string EngWordUrl(int engine, const std::string& label);

using WordCheckLines = std::shared_ptr<const std::vector<std::string>>;

// What the two checks share: the walk over the rows and the client.
class CWordCheck : public Thread {
 public:
  ~CWordCheck() override;

  WordCheckLines Lines;
  int Count;
  int Index;
  uint8_t Engine;
  std::string Domain;  // the current domain, lower-cased and trimmed
  std::string Label;   // its text before the first dot
  std::string Result;  // the answer for the current row
  int Row = 0;

  // Read time-out of every client, and its connect time-out.
  static constexpr int kReadTimeoutMs = 30000;
  static constexpr int kConnectTimeoutMs = 30000;
  // Longest reply taken: the suggestion and dictionary pages are search
  // result pages of tens of KB; a longer reply is a failed fetch.
  static constexpr size_t kPageCap = 1u << 20;

 protected:
  CWordCheck(bool createSuspended, WordCheckLines lines, int count, int index, uint8_t engine,
             const WordCheckSettings& config);

  void Execute() override;
  // Aborts the fetch in progress, so a stop does not wait for a slow server.
  void OnTerminate() override;

  // The engine's fetch and cut for Label; sets Result.
  virtual void Query() = 0;
  // The page at `url`, converted from UTF-8 when `utf8`; false when the
  // fetch failed.
  bool Fetch(const std::string& url, bool utf8, std::string& page);
  // Window thread: Result into the engine's cell of Row.
  void ShowRow();

 private:
  RowStore* rows_;
  int passes_;
  uint64_t generation_;
  std::unique_ptr<PageClient> client_;
};

class CPinyin : public CWordCheck {
 public:
  CPinyin(bool createSuspended, WordCheckLines lines, int count, int index, uint8_t engine,
          const PinyinSettings& config = PinyinConfig)
      : CWordCheck(createSuspended, std::move(lines), count, index, engine, config) {}

 protected:
  void Query() override;
};

class CEngWord : public CWordCheck {
 public:
  CEngWord(bool createSuspended, WordCheckLines lines, int count, int index, uint8_t engine,
           const EngWordSettings& config = EngWordConfig)
      : CWordCheck(createSuspended, std::move(lines), count, index, engine, config) {}

 protected:
  void Query() override;
};

// The workers of one page. Window thread only.
class WordCheckJob {
 public:
  enum class Kind { Pinyin, EngWord };
  // Starts its workers with `config` (PinyinConfig or EngWordConfig).
  WordCheckJob(Kind kind, WordCheckSettings& config) : kind_(kind), config_(config) {}
  ~WordCheckJob();
  WordCheckJob(const WordCheckJob&) = delete;
  WordCheckJob& operator=(const WordCheckJob&) = delete;

  // Stops and joins workers still running, rebuilds the rows of the
  // settings' list from the lines, and starts both engines' workers over a
  // snapshot of the lines. A start made while another is stopping the old
  // workers is ignored.
  void Start(std::vector<std::string> lines);
  bool Running() const;
  // Tells every worker to stop (fetches aborted) and waits for them,
  // serving the window thread's queue meanwhile.
  void Stop();

 private:
  Kind kind_;
  WordCheckSettings& config_;
  WorkerGroup<CWordCheck> workers_;
  bool starting_ = false;
};

}  // namespace orlu
