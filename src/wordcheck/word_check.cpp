#include "wordcheck/word_check.h"

#include <utility>

#include "platform/net/page_client.h"
#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "platform/thread/start_guard.h"
#include "wordcheck/hz_spell.h"

namespace orlu {

PinyinSettings PinyinConfig;
EngWordSettings EngWordConfig;

namespace {

constexpr size_t npos = std::string_view::npos;

// The markers as GBK bytes, made once.
struct Markers {
  std::string googleSuggest = Gbk("您是不是要找：");
  std::string baiduSuggest = Gbk("您要找的是不是: <span  class=\"jc\"><");
  std::string googleDictStart = Gbk("<h3>网络翻译</h3>");
  std::string googleDictEnd = Gbk("<h3>网络释义</h3>");
  std::string baiduDictStart = Gbk("词典解释");
  std::string baiduDictEnd = Gbk("网络释义");
  std::string baiduDictNoise = Gbk("以下结果来自互联网");
};

const Markers& M() {
  static const Markers markers;
  return markers;
}

// The section after `start` up to and including the first byte of the next
// `end`, trimmed ("" without an `end`); each word of it between `wordStart`
// and the next `wordEnd` marked and followed by "|".
std::string CutSuggest(std::string_view page, std::string_view start, std::string_view end,
                       std::string_view wordStart, std::string_view wordEnd,
                       std::string_view label) {
  std::string result;
  const size_t at = page.find(start);
  if (at != npos) {
    const std::string_view rest = page.substr(at + start.size());
    const size_t stop = rest.find(end);
    const std::string section = stop == npos ? std::string() : Trim(rest.substr(0, stop + 1));
    size_t p = 0;
    while ((p = section.find(wordStart, p)) != npos) {
      p += wordStart.size();
      std::string_view word;
      const size_t q = section.find(wordEnd, p);
      if (q != npos) {
        word = std::string_view(section).substr(p, q - p);
        p = q + wordEnd.size();
      }
      result += MarkPinyinWord(word, label);
      result += '|';
    }
  }
  result = Trim(result);
  return result.empty() ? "0" : result;
}

// The section from `start` (kept) up to the next `end`, stripped of tags;
// "" when either is missing.
std::string CutDict(std::string_view page, std::string_view start, std::string_view end) {
  const size_t at = page.find(start);
  if (at == npos) return std::string();
  const size_t stop = page.find(end, at + start.size());
  if (stop == npos) return std::string();
  return StripTags(page.substr(at, stop - at));
}

}  // namespace

std::string MarkPinyinWord(std::string_view word, std::string_view label) {
  std::string w = Trim(word);
  if (w.empty()) return w;
  std::string py = THzSpell::PyOfHz(w);
  std::erase(py, ' ');
  if (py == label) return w;
  std::string quoted;
  quoted.reserve(w.size() + 2);
  quoted += '\'';
  quoted += w;
  quoted += '\'';
  return quoted;
}

std::string CutGoogleSuggest(std::string_view page, std::string_view label) {
  return CutSuggest(page, M().googleSuggest, "<br><script>", "<em>", "</em>", label);
}

std::string CutBaiduSuggest(std::string_view page, std::string_view label) {
  return CutSuggest(page, M().baiduSuggest, "</span></strong><br></p>", "\">",
                    "</a>&nbsp&nbsp<", label);
}

std::string CutGoogleDict(std::string_view page) {
  std::string result = CutDict(page, M().googleDictStart, M().googleDictEnd);
  return result.empty() ? "0" : result;
}

std::string CutBaiduDict(std::string_view page) {
  const std::string text = CutDict(page, M().baiduDictStart, M().baiduDictEnd);
  const std::string_view noise = M().baiduDictNoise;
  std::string result;
  result.reserve(text.size());
  size_t from = 0;
  for (size_t at; (at = text.find(noise, from)) != npos; from = at + noise.size()) {
    result.append(text, from, at - from);
  }
  result.append(text, from);
  return result.empty() ? "0" : result;
}

std::string StripTags(std::string_view input) {
  const std::string text = Trim(input);
  // The text is what is kept so far (no "<" or ">" in it) followed by the
  // rest from `i`; lt and gt are the first "<" and ">" of the rest.
  std::string kept;
  size_t i = 0;
  size_t lt = text.find('<');
  size_t gt = text.find('>');
  while (lt != npos && gt != npos) {
    if (gt < lt) {
      kept.clear();
    } else {
      kept.append(text, i, lt - i);
      lt = text.find('<', gt + 1);
    }
    i = gt + 1;
    gt = text.find('>', i);
  }
  kept.append(text, i);
  return kept;
}

// --- Rows ---

std::vector<ListRow> BuildWordCheckRows(const std::vector<std::string>& lines) {
  return DomainListRows(lines, 3);
}

std::string GetDomainLabel(std::string_view domain) {
  const size_t dot = domain.find('.');
  return dot == npos ? std::string() : std::string(domain.substr(0, dot));
}

// --- Workers ---

std::string PinyinUrl(int engine, const std::string& label) {
  return (engine == 0 ? "http://www.google.cn/search?hl=zh-CN&aq=f&oq=&q="
                      : "http://www.baidu.com/s?wd=") +
         label;
}

std::string EngWordUrl(int engine, const std::string& label) {
  return (engine == 0
              ? "http://www.google.cn/dictionary?source=translation&hl=zh-CN&langpair=en|zh-CN&q="
              : "http://dict.baidu.com/s?tn=dict&wd=") +
         label;
}

CWordCheck::CWordCheck(bool createSuspended, WordCheckLines lines, int count, int index,
                       uint8_t engine, const WordCheckSettings& config)
    : Thread(createSuspended),
      Lines(std::move(lines)),
      Count(count),
      Index(index),
      Engine(engine),
      rows_(config.ListView),
      passes_(config.Passes),
      generation_(rows_ ? rows_->Generation() : 0),
      client_(std::make_unique<PageClient>()) {
  client_->UseBrowserHeaders();
  client_->ReadTimeout = kReadTimeoutMs;
  client_->ConnectTimeout = kConnectTimeoutMs;
  client_->MaxBody = kPageCap;
}

CWordCheck::~CWordCheck() {
  // Execute uses this object's members: end it while they still exist.
  client_->Abort();
  StopAndWait();
}

void CWordCheck::OnTerminate() { client_->Abort(); }

void CWordCheck::Execute() {
  const int n = Lines ? static_cast<int>(Lines->size()) : 0;
  if (rows_ == nullptr || Count <= 0 || Index < 0) return;
  const int cell = 1 + Engine;
  for (int pass = 0; pass < passes_; ++pass) {
    for (int i = Index; i < n; i += Count) {
      Domain = Trim(LowerCase((*Lines)[i]));
      if (Domain.empty()) continue;
      Label = GetDomainLabel(Domain);
      Row = i;
      // A line without a row (the rows were rebuilt from other lines) is
      // skipped; so is a row already answered.
      if (i >= rows_->RowCount()) continue;
      const std::string answer = rows_->Cell(i, cell);
      if (!(answer.empty() || answer == " " || answer == WordFail())) continue;
      if (!Checkpoint()) return;
      Query();
      // A fetch cut short by a stop is no answer.
      if (Terminated()) return;
      Synchronize([this] { ShowRow(); });
    }
  }
}

bool CWordCheck::Fetch(const std::string& url, bool utf8, std::string& page) {
  try {
    page = client_->Get(url);
  } catch (const std::exception&) {
    return false;
  }
  if (utf8) page = Utf8ToAnsiLenient(page);
  return true;
}

void CWordCheck::ShowRow() {
  if (rows_->Generation() != generation_ || Row >= rows_->RowCount()) return;
  rows_->SetCell(Row, 1 + Engine, Result);
}

void CPinyin::Query() {
  std::string page;
  if (!Fetch(PinyinUrl(Engine, Label), Engine == 0, page)) {
    Result = WordFail();
  } else {
    Result = Engine == 0 ? CutGoogleSuggest(page, Label) : CutBaiduSuggest(page, Label);
  }
}

void CEngWord::Query() {
  std::string page;
  if (!Fetch(EngWordUrl(Engine, Label), Engine == 0, page)) {
    Result = WordFail();
  } else {
    Result = Engine == 0 ? CutGoogleDict(page) : CutBaiduDict(page);
  }
}

// --- The job ---

WordCheckJob::~WordCheckJob() { Stop(); }

void WordCheckJob::Start(std::vector<std::string> lines) {
  // Stopping serves the window thread's queue: a second start arriving
  // meanwhile is ignored.
  if (starting_) return;
  StartGuard starting(starting_);
  Stop();
  RowStore* rows = config_.ListView;
  if (rows == nullptr) return;
  rows->Clear();
  rows->AddRows(BuildWordCheckRows(lines));
  rows->NewGeneration();
  InitNetwork();
  auto snapshot = std::make_shared<const std::vector<std::string>>(std::move(lines));
  for (uint8_t engine : {uint8_t{0}, uint8_t{1}}) {
    const int count = engine == 0 ? config_.Engine0Threads : config_.Engine1Threads;
    for (int k = 0; k < count; ++k) {
      if (kind_ == Kind::Pinyin) {
        workers_.Start(std::make_unique<CPinyin>(false, snapshot, count, k, engine, config_));
      } else {
        workers_.Start(std::make_unique<CEngWord>(false, snapshot, count, k, engine, config_));
      }
    }
  }
}

bool WordCheckJob::Running() const { return workers_.Running(); }

void WordCheckJob::Stop() { workers_.Stop(); }

}  // namespace orlu
