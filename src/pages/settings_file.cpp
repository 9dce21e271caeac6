#include "pages/settings_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/text/ini_file.h"
#include "platform/text/string_list.h"

namespace orlu {

std::string JoinKeyWordValue(const std::vector<std::string>& lines) {
  return JoinLines(lines, ";");
}

std::vector<std::string> SplitKeyWordValue(std::string_view value) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    std::size_t semi = value.find(';', start);
    if (semi == std::string_view::npos) break;
    lines.emplace_back(value.substr(start, semi - start));
    start = semi + 1;
  }
  return lines;
}

std::string ChangeFileExt(std::string_view fileName, std::string_view ext) {
  std::size_t slash = fileName.rfind('/');
  std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::size_t dot = fileName.rfind('.');
  std::string result;
  if (dot != std::string_view::npos && dot >= nameStart) {
    result.assign(fileName.substr(0, dot));
  } else {
    result.assign(fileName);
  }
  result += ext;
  return result;
}

std::string ExtractFileDir(std::string_view fileName) {
  std::size_t slash = fileName.rfind('/');
  if (slash == std::string_view::npos) return std::string();
  if (slash == 0) return std::string("/");
  return std::string(fileName.substr(0, slash));
}

std::string ProgramFileName() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<std::size_t>(n) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(n));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string SettingsFileName(std::string_view programFile) {
  return ChangeFileExt(programFile, ".ini");
}

std::string SettingsFileName() { return SettingsFileName(ProgramFileName()); }

bool FileExists(const std::string& fileName) {
  struct stat st {};
  return stat(fileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::vector<std::string> ReadKeyWordList(const std::string& iniFileName,
                                         const std::string& section) {
  IniFile ini(iniFileName);
  return SplitKeyWordValue(ini.ReadString(section, kKeyWordKey, ""));
}

void WriteKeyWordList(const std::string& iniFileName, const std::string& section,
                      const std::vector<std::string>& lines) {
  std::string value = JoinKeyWordValue(lines);
  // The profile reader drops blanks at the start of a value; a value that
  // starts with one is stored in double quotes, which the reader takes off,
  // so a first line with leading blanks comes back as it was.
  if (!value.empty() && static_cast<unsigned char>(value.front()) <= 0x20) {
    value = '"' + value + '"';
  }
  IniFile ini(iniFileName);
  ini.WriteString(section, kKeyWordKey, value);
}

}  // namespace orlu
