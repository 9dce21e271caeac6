#include "platform/text/ini_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/text/errors.h"
#include "platform/text/string_list.h"

namespace orlu {
namespace {

// One line of the file: its text is [begin, end), its line break [end, next).
struct Line {
  size_t begin, end, next;
};

std::vector<Line> LinesOf(std::string_view data) {
  std::vector<Line> lines;
  ForEachLine(data, [&lines](size_t begin, size_t end, size_t next) {
    lines.push_back({begin, end, next});
  });
  return lines;
}

// Blanks as the profile reader skips them (0x1A is the old end-of-file mark).
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == 0x1A;
}

std::string_view Strip(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

// "[name]": the name runs from the "[" to the last "]" of the line.
std::optional<std::string_view> SectionName(std::string_view text) {
  text = Strip(text);
  if (text.empty() || text.front() != '[') return std::nullopt;
  const size_t close = text.rfind(']');
  if (close == std::string_view::npos || close == 0) return std::nullopt;
  return text.substr(1, close - 1);
}

struct KeyValue {
  std::string_view key, value;
};

std::optional<KeyValue> KeyLine(std::string_view text) {
  text = Strip(text);
  const size_t eq = text.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyValue{Strip(text.substr(0, eq)), Strip(text.substr(eq + 1))};
}

// Where a section and a key sit in the file. Only the first section of a name
// counts, and in it the first line of the key.
struct Place {
  bool section = false;
  size_t lastContent = 0;  // index of the section's last non-blank line
  std::optional<size_t> keyLine;
  std::string_view key;    // the key as spelled in the file
  std::string_view value;
};

Place Find(std::string_view data, const std::vector<Line>& lines, std::string_view section,
           std::string_view key) {
  Place place;
  bool inside = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view text = data.substr(lines[i].begin, lines[i].end - lines[i].begin);
    if (auto name = SectionName(text)) {
      if (inside) break;
      if (SameName(*name, section)) {
        inside = place.section = true;
        place.lastContent = i;
      }
      continue;
    }
    if (!inside) continue;
    if (!Strip(text).empty()) place.lastContent = i;
    if (!place.keyLine) {
      if (auto kv = KeyLine(text); kv && SameName(kv->key, key)) {
        place.keyLine = i;
        place.key = kv->key;
        place.value = kv->value;
      }
    }
  }
  return place;
}

std::optional<std::string> ReadAll(const std::string& fileName) {
  try {
    return ReadFileBytes(fileName);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

}  // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  const auto data = ReadAll(fileName_);
  if (!data) return defaultValue;
  const auto lines = LinesOf(*data);
  const Place place = Find(*data, lines, section, key);
  if (!place.keyLine) return defaultValue;
  std::string_view v = place.value;
  // One pair of double quotes around the value is taken off.
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  return std::string(v);
}

bool IniFile::SectionExists(const std::string& section) const {
  const auto data = ReadAll(fileName_);
  if (!data) return false;
  for (const Line& l : LinesOf(*data)) {
    auto name = SectionName(std::string_view(*data).substr(l.begin, l.end - l.begin));
    if (name && SameName(*name, section)) return true;
  }
  return false;
}

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
  const auto data = ReadAll(fileName_);
  if (!data) return false;
  return Find(*data, LinesOf(*data), section, key).keyLine.has_value();
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  const FileError failure("Unable to write to " + DisplayFileName(fileName_));
  std::string data;
  try {
    data = ReadFileBytes(fileName_);
  } catch (const FileError&) {
    // Only a file that is not there yet starts empty; one that cannot be read
    // must not be replaced.
    struct stat st {};
    if (::stat(fileName_.c_str(), &st) == 0 || errno != ENOENT) throw failure;
  }

  const auto lines = LinesOf(data);
  const Place place = Find(data, lines, section, key);
  std::string out;
  if (place.keyLine) {
    const Line& l = lines[*place.keyLine];
    out.reserve(data.size() + value.size() + key.size());
    out.append(data, 0, l.begin);
    out.append(place.key);
    out += '=';
    out += value;
    out.append(data, l.end, std::string::npos);
  } else if (place.section) {
    const Line& l = lines[place.lastContent];
    out.append(data, 0, l.next);
    if (l.next == l.end) out += "\r\n";  // the last line of the file had no break
    out += key + "=" + value + "\r\n";
    out.append(data, l.next, std::string::npos);
  } else {
    out = data;
    if (!out.empty() && out.back() != '\r' && out.back() != '\n') out += "\r\n";
    out += "[" + section + "]\r\n" + key + "=" + value + "\r\n";
  }

  try {
    WriteFileAtomically(fileName_, out);
  } catch (const FileError&) {
    throw failure;
  }
}

}  // namespace orlu
