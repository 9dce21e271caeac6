// A list of text lines with the load/save rules of the system's lists and
// memos: CR LF, LF or a lone CR end a line, a final line break adds no line;
// saving writes CR LF after every line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orlu {

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
// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

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

  // File names are GBK text; they are converted for the file system.
  // Load raises FileError "Cannot open file %s"; Save writes to a temporary
  // name beside the file and renames it, so a failed save leaves the old file,
  // and raises FileError "Cannot create file %s".
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  const std::vector<std::string>& Lines() const { return lines_; }
  std::vector<std::string>& Lines() { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// Whole-file helpers on GBK file names, with the same error rules.
std::string ReadFileBytes(const std::string& fileName);
void WriteFileAtomically(const std::string& fileName, std::string_view bytes);
// GBK file name to the name the file system uses (UTF-8).
std::string FileSystemName(const std::string& fileName);

}  // namespace orlu
