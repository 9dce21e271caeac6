#include "domaintools/keyword_compare.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "platform/text/string_list.h"
#include "platform/thread/start_guard.h"
#include "platform/thread/worker_group.h"

namespace orlu {

ThreadKeyWordStru KeyWordFilter;

namespace {

// Hits handed to the window thread in one call at most.
constexpr size_t kHitBatch = 4096;
// Bytes read from a word file at a time; a stop request is seen between reads.
constexpr size_t kReadChunk = 1 << 18;

uint64_t HashBytes(std::string_view s) {
  constexpr uint64_t kMul = 0x9E3779B97F4A7C15ull;
  uint64_t h = s.size() * kMul;
  const char* p = s.data();
  size_t n = s.size();
  while (n >= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    h = (h ^ w) * kMul;
    h ^= h >> 29;
    p += 8;
    n -= 8;
  }
  uint64_t tail = 0;
  std::memcpy(&tail, p, n);
  h = (h ^ tail) * kMul;
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ull;
  h ^= h >> 32;
  return h;
}

}  // namespace

// ---------------------------------------------------------------------------

void KeyWordNameIndex::Clear() {
  names_ = nullptr;
  slots_.clear();
  next_.clear();
  mask_ = 0;
  maxLength_ = 0;
}

void KeyWordNameIndex::Build(const std::vector<std::string>& names) {
  names_ = &names;
  next_.assign(names.size(), -1);
  size_t size = 16;
  while (size < names.size() * 2) size *= 2;
  slots_.assign(size, Slot{0, -1});
  mask_ = size - 1;
  // From the last domain to the first, each one put in front of its name's
  // chain, so that every chain runs in ascending order.
  for (size_t j = names.size(); j-- > 0;) {
    const std::string& name = names[j];
    if (name.empty()) continue;
    maxLength_ = std::max(maxLength_, name.size());
    const uint64_t h = HashBytes(name);
    const auto tag = static_cast<uint32_t>(h >> 32);
    for (uint64_t at = h & mask_;; at = (at + 1) & mask_) {
      Slot& slot = slots_[at];
      if (slot.domain < 0) {
        slot = Slot{tag, static_cast<int32_t>(j)};
        break;
      }
      if (slot.hash == tag && names[static_cast<size_t>(slot.domain)] == name) {
        next_[j] = slot.domain;
        slot.domain = static_cast<int32_t>(j);
        break;
      }
    }
  }
}

int KeyWordNameIndex::Find(std::string_view name) const {
  if (names_ == nullptr || name.empty()) return -1;
  const uint64_t h = HashBytes(name);
  const auto tag = static_cast<uint32_t>(h >> 32);
  for (uint64_t at = h & mask_;; at = (at + 1) & mask_) {
    const Slot& slot = slots_[at];
    if (slot.domain < 0) return -1;
    if (slot.hash == tag && (*names_)[static_cast<size_t>(slot.domain)] == name) {
      return slot.domain;
    }
  }
}

// ---------------------------------------------------------------------------

void WordFileMatcher::Line(std::string_view line) {
  const int first = index_.Find(line);
  if (first >= 0) firsts_.push_back(first);
}

void WordFileMatcher::Feed(std::string_view bytes) {
  size_t start = 0;
  const size_t n = bytes.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    // CR LF gives an empty line between the two bytes; an empty line never
    // matches, so every CR and LF may simply end a line.
    if (overlong_) {
      overlong_ = false;
    } else if (carry_.empty()) {
      Line(bytes.substr(start, i - start));
    } else {
      carry_.append(bytes.data() + start, i - start);
      Line(carry_);
    }
    carry_.clear();
    start = i + 1;
  }
  Keep(bytes.substr(start));
}

void WordFileMatcher::Keep(std::string_view part) {
  // A line longer than every name is not kept, only followed to its end.
  if (overlong_) return;
  if (carry_.size() + part.size() > index_.MaxLength()) {
    overlong_ = true;
    carry_.clear();
    return;
  }
  carry_.append(part);
}

std::vector<int> WordFileMatcher::Finish() {
  if (!overlong_ && !carry_.empty()) Line(carry_);
  carry_.clear();
  overlong_ = false;
  std::sort(firsts_.begin(), firsts_.end());
  firsts_.erase(std::unique(firsts_.begin(), firsts_.end()), firsts_.end());
  std::vector<int> domains;
  for (int first : firsts_) {
    for (int j = first; j >= 0; j = index_.Next(j)) domains.push_back(j);
  }
  firsts_.clear();
  std::sort(domains.begin(), domains.end());
  return domains;
}

std::vector<int> WorkerFileShare(int k, int workers, int fileCount) {
  std::vector<int> share;
  if (workers <= 0 || k < 0 || k >= workers) return share;
  for (int i = k; i < fileCount; i += workers) share.push_back(i);
  return share;
}

std::string ExtractNameAfterSlash(std::string_view path) {
  const size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// ---------------------------------------------------------------------------

void WordFilePaths::Add(const std::string& shown, const std::string& path) {
  // A name that converts back to itself needs nothing kept.
  if (AnsiToUtf8(shown) != path) paths_[shown].push_back(path);
}

std::vector<std::string> WordFilePaths::Resolve(const std::vector<std::string>& lines) const {
  std::vector<std::string> out;
  out.reserve(lines.size());
  std::unordered_map<std::string, size_t> seen;
  for (const std::string& line : lines) {
    const auto kept = paths_.find(line);
    if (kept == paths_.end()) {
      out.push_back(AnsiToUtf8(line));
      continue;
    }
    const size_t n = seen[line]++;
    out.push_back(kept->second[std::min(n, kept->second.size() - 1)]);
  }
  return out;
}

// ---------------------------------------------------------------------------

ThreadKeyWordStru::ThreadKeyWordStru() = default;

ThreadKeyWordStru::~ThreadKeyWordStru() { EndKeyWordWorkers(*this); }

void SetupKeyWordFilter(ThreadKeyWordStru& job, int threadCount,
                        const std::vector<std::string>& fileLines,
                        const std::vector<std::string>& domainLines, RowStore* view,
                        const std::vector<std::string>* filePaths) {
  job.ThreadCount = threadCount;
  job.Names.Clear();
  job.Domains.clear();
  job.DomainNames.clear();
  job.Domains.reserve(domainLines.size());
  job.DomainNames.reserve(domainLines.size());
  for (const std::string& line : domainLines) {
    std::string domain = Trim(LowerCase(line));
    const size_t dot = domain.find('.');
    job.DomainNames.push_back(dot == std::string::npos ? std::string() : domain.substr(0, dot));
    job.Domains.push_back(std::move(domain));
  }
  job.Files = fileLines;
  job.FilePaths = filePaths != nullptr && filePaths->size() == fileLines.size()
                      ? *filePaths
                      : WordFilePaths().Resolve(fileLines);
  job.ResultView = view;
  job.Names.Build(job.DomainNames);
}

void EndKeyWordWorkers(ThreadKeyWordStru& job) {
  // Whatever the old workers still hand over belongs to no run any more.
  ++job.Generation;
  job.Running = 0;
  job.UnreadFiles.clear();
  for (auto& slot : job.Threads) {
    if (slot) slot->Terminate();
  }
  JoinSlots(job.Threads);
}

bool KeyWordWorkersEnded(const ThreadKeyWordStru& job) {
  for (const auto& slot : job.Threads) {
    if (slot && !slot->Finished()) return false;
  }
  return true;
}

void StartKeyWordCompare(ThreadKeyWordStru& job, const std::string& countText,
                         const std::vector<std::string>& fileLines,
                         const std::vector<std::string>& domainLines, RowStore* view,
                         const std::vector<std::string>* filePaths) {
  if (job.Starting) return;
  const int count = StrToInt(countText);
  {
    // Ending the old workers serves the window's events; a second press
    // meanwhile is ignored.
    StartGuard starting(job.Starting);
    EndKeyWordWorkers(job);
  }
  if (view != nullptr) view->Clear();
  if (count > kMaxKeyWordThreads) return;

  SetupKeyWordFilter(job, count, fileLines, domainLines, view, filePaths);
  for (int k = 0; k < count; ++k) {
    job.Threads[static_cast<size_t>(k)] = std::make_unique<UintKeyWordTh>(false, k, job);
  }
  job.Running = std::max(count, 0);
  for (int k = 0; k < count; ++k) job.Threads[static_cast<size_t>(k)]->Start();
}

// ---------------------------------------------------------------------------

UintKeyWordTh::UintKeyWordTh(bool CreateSuspended, int Index, ThreadKeyWordStru& job)
    : Thread(CreateSuspended), Index(Index), job_(job), generation_(job.Generation) {}

UintKeyWordTh::~UintKeyWordTh() { StopAndWait(); }

bool UintKeyWordTh::ReadWordFile(const std::string& path, WordFileMatcher& matcher) {
  // Regular files only: a FIFO or a device would never end (or never open).
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  std::string buffer(kReadChunk, '\0');
  bool ok = true;
  while (!Terminated()) {
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    matcher.Feed(std::string_view(buffer.data(), static_cast<size_t>(got)));
  }
  ::close(fd);
  return ok;
}

void UintKeyWordTh::Execute() {
  WordFileMatcher matcher(job_.Names);
  std::vector<std::pair<int, std::string>> unread;
  const int fileCount = static_cast<int>(job_.Files.size());
  for (const int i : WorkerFileShare(Index, job_.ThreadCount, fileCount)) {
    if (Terminated()) break;
    FileIndex = i;
    const std::string& path = job_.Files[static_cast<size_t>(i)];
    const bool read = ReadWordFile(job_.FilePaths[static_cast<size_t>(i)], matcher);
    std::vector<int> found = matcher.Finish();
    if (Terminated()) break;
    if (!read) {
      unread.emplace_back(i, path);
      continue;
    }
    FileName = LowerCase(ExtractNameAfterSlash(path));
    for (size_t from = 0; from < found.size() && !Terminated(); from += kHitBatch) {
      const size_t to = std::min(found.size(), from + kHitBatch);
      Hits.assign(found.begin() + static_cast<std::ptrdiff_t>(from),
                  found.begin() + static_cast<std::ptrdiff_t>(to));
      Synchronize([this] { ShowKeyWordHit(); });
    }
  }
  Hits.clear();
  Synchronize([this, &unread] { ReportEnd(unread); });
}

void UintKeyWordTh::ShowKeyWordHit() {
  RowStore* view = job_.ResultView;
  if (generation_ != job_.Generation || view == nullptr) return;
  // Captions count the rows of the list after each append.
  const int before = view->RowCount();
  std::vector<ListRow> rows;
  rows.reserve(Hits.size());
  for (const int j : Hits) {
    rows.push_back(ListRow{IntToStr(before + static_cast<int>(rows.size()) + 1),
                           {job_.Domains[static_cast<size_t>(j)], FileName}});
  }
  view->AddRows(std::move(rows));
}

void UintKeyWordTh::ReportEnd(const std::vector<std::pair<int, std::string>>& unread) {
  if (generation_ != job_.Generation) return;
  job_.UnreadFiles.insert(job_.UnreadFiles.end(), unread.begin(), unread.end());
  if (--job_.Running > 0 || job_.UnreadFiles.empty()) return;
  std::sort(job_.UnreadFiles.begin(), job_.UnreadFiles.end());
  std::vector<std::string> paths;
  for (auto& f : job_.UnreadFiles) paths.push_back(std::move(f.second));
  job_.UnreadFiles.clear();
  if (job_.OnUnreadFiles) job_.OnUnreadFiles(paths);
}

}  // namespace orlu
