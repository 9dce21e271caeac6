// The keyword-file comparison: which domains' names occur as whole lines in
// a set of word files. The record `KeyWordFilter` holds one run (the domains,
// their names, the word files and an index of the names); workers of class
// `UintKeyWordTh` split the word files between them (worker k of N takes the
// files i with i mod N = k), read each of their files once and hand their
// hits to the window thread in batches, which appends one row per hit:
// caption (1, 2, 3 ... in order of arrival), the domain, the word file's name.
//
// Everything here is Qt-free; the result list is reached through RowStore,
// so the comparison runs the same with a list view or with plain rows.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/thread/thread.h"
#include "platform/text/rows.h"

namespace orlu {

inline constexpr int kMaxKeyWordThreads = 100;

// The domains whose name is a given text. Names are looked up as whole
// byte strings; an empty name is never indexed, so it matches nothing.
class KeyWordNameIndex {
 public:
  // Indexes `names` (kept by reference: they must outlive the index and stay
  // unchanged while it is used).
  void Build(const std::vector<std::string>& names);
  void Clear();
  // The first (lowest) domain index whose name is `name`; -1 when none.
  int Find(std::string_view name) const;
  // The next domain index after `domain` with the same name; -1 at the end.
  int Next(int domain) const { return next_[static_cast<size_t>(domain)]; }
  // Bytes of the longest name; a longer line can never match.
  size_t MaxLength() const { return maxLength_; }

 private:
  struct Slot {
    uint32_t hash;
    int32_t domain;  // -1: empty
  };
  const std::vector<std::string>* names_ = nullptr;
  std::vector<Slot> slots_;
  std::vector<int32_t> next_;
  uint64_t mask_ = 0;
  size_t maxLength_ = 0;
};

// Finds the domains whose name equals a whole line of a word file fed to it
// in pieces of any size. Lines end at CR, LF or CR LF; nothing is trimmed,
// decoded or case-folded, and a NUL byte is an ordinary byte.
class WordFileMatcher {
 public:
  explicit WordFileMatcher(const KeyWordNameIndex& index) : index_(index) {}
  void Feed(std::string_view bytes);
  // Ends the file: the matching domains in ascending order, each once
  // however often its name occurs; the matcher is then ready for the next
  // file.
  std::vector<int> Finish();

 private:
  void Line(std::string_view line);
  void Keep(std::string_view part);
  const KeyWordNameIndex& index_;
  std::string carry_;          // an unfinished line from the previous piece
  bool overlong_ = false;      // the unfinished line is longer than any name
  std::vector<int> firsts_;    // first domain of every name seen
};

// Worker k's share of `fileCount` word files in a group of `workers`: the
// indices i with i mod workers = k, ascending.
std::vector<int> WorkerFileShare(int k, int workers, int fileCount);

// The text after the last "/" of a path; the whole text when it holds none.
std::string ExtractNameAfterSlash(std::string_view path);

// Where the listed word files really are. A list line is GBK text; a file
// whose name has characters GBK lacks (shown with "?"), or is spelt in bytes
// that are not UTF-8 (shown as they are), does not open by that text
// converted back, so its real path is kept here as it is added.
class WordFilePaths {
 public:
  // A file listed as `shown` and found at `path` (the file system's bytes).
  void Add(const std::string& shown, const std::string& path);
  void Clear() { paths_.clear(); }
  // The path of each line: the n-th line with a kept text takes the n-th
  // path kept for that text (the last one when there are fewer); any other
  // line is its text converted for the file system.
  std::vector<std::string> Resolve(const std::vector<std::string>& lines) const;

 private:
  std::unordered_map<std::string, std::vector<std::string>> paths_;
};

class UintKeyWordTh;

struct ThreadKeyWordStru {
  ThreadKeyWordStru();
  // Ends the workers of the run (and waits for them) before the lists go.
  ~ThreadKeyWordStru();
  ThreadKeyWordStru(const ThreadKeyWordStru&) = delete;
  ThreadKeyWordStru& operator=(const ThreadKeyWordStru&) = delete;

  std::vector<std::string> Domains;      // domain lines, lower-cased and trimmed
  std::vector<std::string> DomainNames;  // each domain's text before its first "."
  std::vector<std::string> Files;        // word-file paths, as typed
  std::vector<std::string> FilePaths;    // the same files as the file system spells them
  RowStore* ResultView = nullptr;        // where hits go (not owned)
  int ThreadCount = 0;
  std::array<std::unique_ptr<UintKeyWordTh>, kMaxKeyWordThreads> Threads;

  KeyWordNameIndex Names;  // index of DomainNames
  // Called on the window thread once the last worker of a run has ended,
  // when some word files could not be read: their paths in file order.
  std::function<void(const std::vector<std::string>& paths)> OnUnreadFiles;

  // Window thread only: counts the starts (a worker's hand-over lands only in
  // the run it was started for), the workers of the run still going, and the
  // unreadable files they reported (file index, path).
  unsigned Generation = 0;
  int Running = 0;
  std::vector<std::pair<int, std::string>> UnreadFiles;
  // Set while a start waits for the previous run's workers to end.
  bool Starting = false;
};

// The process's comparison record.
extern ThreadKeyWordStru KeyWordFilter;

// Fills the record for a run: ThreadCount, Domains and DomainNames from the
// domain lines in order, Files from the word-file lines, FilePaths from
// `filePaths` (one per file line; when not given, each line converted for the
// file system), the name index and the result view.
void SetupKeyWordFilter(ThreadKeyWordStru& job, int threadCount,
                        const std::vector<std::string>& fileLines,
                        const std::vector<std::string>& domainLines, RowStore* view,
                        const std::vector<std::string>* filePaths = nullptr);

// The start button: the count text is converted first (ConvertError, and
// nothing else happens, when it is not a whole number); the workers of a
// previous run are stopped and waited for; the view is emptied; a count
// above 100 ends here; otherwise the record is set up and workers 0 .. count
// - 1 are started. A press while a start still waits for old workers is
// ignored.
void StartKeyWordCompare(ThreadKeyWordStru& job, const std::string& countText,
                         const std::vector<std::string>& fileLines,
                         const std::vector<std::string>& domainLines, RowStore* view,
                         const std::vector<std::string>* filePaths = nullptr);

// Stops every worker of the record and waits for it (serving its calls when
// on the window thread); what they have not handed over yet is dropped.
void EndKeyWordWorkers(ThreadKeyWordStru& job);

// True when no worker of the record is still running.
bool KeyWordWorkersEnded(const ThreadKeyWordStru& job);

class UintKeyWordTh : public Thread {
 public:
  UintKeyWordTh(bool CreateSuspended, int Index, ThreadKeyWordStru& job = KeyWordFilter);
  ~UintKeyWordTh() override;

  int Index;
  int FileIndex = 0;     // the word file in hand
  std::string FileName;  // its name after the last "/", lower-cased
  std::vector<int> Hits; // domains of the batch in hand, in domain order

  // Window thread: appends one row per hit of the batch in hand.
  void ShowKeyWordHit();

 protected:
  void Execute() override;

 private:
  // Reads one word file through the matcher; false when it cannot be read.
  bool ReadWordFile(const std::string& path, WordFileMatcher& matcher);
  void ReportEnd(const std::vector<std::pair<int, std::string>>& unread);

  ThreadKeyWordStru& job_;
  const unsigned generation_;
};

}  // namespace orlu
