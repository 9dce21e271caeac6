// The settings file: the program file's path with the extension ".ini",
// holding the two keyword lists as "KeyWord" in "Filter Key" and
// "SiteInfo Key". A list is stored as one value: every line followed by ";".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orlu {

inline constexpr const char* kFilterKeySection = "Filter Key";
inline constexpr const char* kSiteInfoKeySection = "SiteInfo Key";
inline constexpr const char* kKeyWordKey = "KeyWord";

// Lines a, b and an empty line give "a;b;;".
std::string JoinKeyWordValue(const std::vector<std::string>& lines);
// The pieces before each ";" in order; text after the last ";" is dropped,
// so a value without ";" gives no line. The whole value is read.
std::vector<std::string> SplitKeyWordValue(std::string_view value);

// Replaces the extension of a file name (the text from the last "." after the
// last "/") with `ext`; a name without one gets `ext` appended.
std::string ChangeFileExt(std::string_view fileName, std::string_view ext);
// The folder part of a file name, without a final "/" ("" when there is none).
std::string ExtractFileDir(std::string_view fileName);

// Full path of the running program (from /proc/self/exe). Like every file
// name here, it is the file system's bytes, not GBK text.
std::string ProgramFileName();
// The settings file of `programFile`: ChangeFileExt(programFile, ".ini").
std::string SettingsFileName(std::string_view programFile);
std::string SettingsFileName();

// True when a file exists (not a folder).
bool FileExists(const std::string& fileName);

// Reads one keyword list from an existing settings file: an empty list when
// the section or key is missing. Callers check that the file exists first.
std::vector<std::string> ReadKeyWordList(const std::string& iniFileName,
                                         const std::string& section);
// Writes one keyword list, creating the file or the section when missing and
// keeping every other byte of the file. Raises FileError
// "Unable to write to %s" when the file cannot be written; the old file stays.
void WriteKeyWordList(const std::string& iniFileName, const std::string& section,
                      const std::vector<std::string>& lines);

}  // namespace orlu
