// A settings file in the Windows profile format: "[section]" lines and
// "key=value" lines. Section and key names match case-insensitively (ASCII);
// values are GBK bytes; writing one value keeps every other byte of the file.
// Lines end in CR LF, LF or a lone CR. Only the first section of a name and,
// in it, the first line of a key count. A line without "=" is no key.
#pragma once

#include <string>
#include <utility>

namespace orlu {

class IniFile {
 public:
  explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}

  const std::string& FileName() const { return fileName_; }

  // The whole stored value, or `defaultValue` when the file, section or key
  // is missing (or the file cannot be read). Blanks around the value are
  // dropped, then one pair of double quotes around it.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // A "[section]" line of that name is present.
  bool SectionExists(const std::string& section) const;
  // The key has a line in the section, even one with an empty value.
  bool ValueExists(const std::string& section, const std::string& key) const;

  // Writes at once (temporary name, then rename); raises FileError
  // "Unable to write to %s" on failure and leaves the old file. An existing
  // key's line becomes "key=value" (the key as spelled in the file, its line
  // break kept); a new key goes after the last non-blank line of its
  // section, a new section at the end of the file; new lines end in CR LF.
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value);

 private:
  std::string fileName_;
};

}  // namespace orlu
