// A list of text lines with the load/save rules of the system's lists and
// memos: CR LF, LF or a lone CR end a line, a final line break adds no line;
// saving writes CR LF after every line.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orlu {

// What a line held in a list takes in memory beyond its text and break, at
// most: the string that holds it and, for a text too long to sit inside it,
// the heap block's header and rounding.
inline constexpr long long kLineCostBytes = static_cast<long long>(sizeof(std::string)) + 24;
// The most memory a list loaded or made for a memo may take.
inline constexpr long long kMaxListBytes = 1LL << 30;
// The memory `lines` lines take whose text with a break after each is
// `bytes` bytes long; at the largest value rather than wrapping.
long long ListMemory(long long lines, long long bytes);

// Walks the lines of `text` by the rules above, calling
// `line(begin, end, next)` for each: its text is [begin, end), its line
// break [end, next).
template <typename F>
void ForEachLine(std::string_view text, F&& line) {
  const size_t n = text.size();
  size_t start = 0;
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    const size_t next = (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? i + 2 : i + 1;
    line(start, i, next);
    start = next;
    i = next - 1;
  }
  if (start < n) line(start, n, n);
}

// Splits text into lines by the rules above.
std::vector<std::string> SplitLines(std::string_view text);
// Every line followed by `lineEnd`.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd = "\r\n");

class StringList {
 public:
  StringList() = default;
  explicit StringList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  int Count() const { return static_cast<int>(lines_.size()); }
  // Bounds-checked access; raises ListIndexError("List index out of bounds (%d)").
  const std::string& Get(int index) const;
  void Put(int index, std::string value);
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void Insert(int index, std::string line);
  void Delete(int index);
  void Clear() { lines_.clear(); }

  std::string Text() const { return JoinLines(lines_); }
  void SetText(std::string_view text) { lines_ = SplitLines(text); }

  // File names are the file system's bytes, used as they are. Load reads a
  // regular file only, takes a UTF-8 file to GBK (ListFileToAnsi) and raises
  // FileError "Cannot open file %s". A file of more than `limit` bytes is
  // refused before it is read, and one whose lines would take more than
  // `limit` bytes of memory (ListMemory) before they are made: both raise
  // Error with a message that says so. A refused or failed load leaves the
  // list as it was. Save is WriteFileAtomically.
  void LoadFromFile(const std::string& fileName, long long limit = kMaxListBytes);
  void SaveToFile(const std::string& fileName) const;

  const std::vector<std::string>& Lines() const { return lines_; }
  std::vector<std::string>& Lines() { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// Whole-file helpers. File names are the file system's bytes; the messages
// name the file in its display form (DisplayFileName).
// Reads a regular file whole; anything else (a folder, a FIFO, a device)
// raises FileError "Cannot open file %s" without waiting on it. `checkSize`,
// when given, is told the file's size before anything is read and may raise
// to refuse it.
std::string ReadFileBytes(const std::string& fileName,
                          const std::function<void(long long size)>& checkSize = nullptr);
// Writes to a temporary name beside the file and renames it over the file,
// so a failed write leaves the old file. A symbolic link is written through:
// its final target is replaced, the link stays. A file we may not write, or
// one marked read-only for everyone, is refused. Every failure raises
// FileError "Cannot create file %s".
void WriteFileAtomically(const std::string& fileName, std::string_view bytes);
// A file name as GBK text for messages and boxes: UTF-8 converted, a
// character GBK cannot hold and a byte that is not UTF-8 shown as "?".
std::string DisplayFileName(const std::string& fileName);

}  // namespace orlu
