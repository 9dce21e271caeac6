// A settings file in the Windows profile format: "[section]" lines and
// "key=value" lines. Section and key names match case-insensitively; values
// are GBK bytes; writing one value keeps every other byte of the file.
#pragma once

#include <string>

namespace orlu {

class IniFile {
 public:
  explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}

  const std::string& FileName() const { return fileName_; }

  // The whole stored value, or `defaultValue` when the file, section or key
  // is missing.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  // Writes at once (temporary name, then rename); raises FileError
  // "Unable to write to %s" on failure and leaves the old file.
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value);

 private:
  std::string fileName_;
};

}  // namespace orlu
