// Text forms of a result list's rows: the one-line display of a selected row
// and the CSV file of a whole list. A row is its caption (shown in the first
// column) plus one cell for every further column.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orlu {

// "<caption 0>: <row caption>  <caption 1>: <cell 0>  ..." with two blanks
// after every value. Raises ListIndexError when the row has fewer cells than
// the list has further columns.
std::string RowDisplayLine(const std::vector<std::string>& columns,
                           std::string_view rowCaption,
                           const std::vector<std::string>& cells);

// Builds the bytes of a CSV file: every field is a double quote, the text (a
// double quote inside it doubled), a double quote and a comma; every line,
// the last included, ends with CR LF. No byte-order mark; text stays GBK.
// A value of any column (row caption, domain, or what the workers brought
// from outside) that starts with "=", "+", "-", "@", a tab or a CR gets a
// "'" in front, so that a spreadsheet shows it as text instead of running it
// as a formula. The header's captions are the program's own and stay as
// they are.
class CsvBuilder {
 public:
  explicit CsvBuilder(std::vector<std::string> columns);

  // One line for a row given as its caption followed by its cells; raises
  // ListIndexError when cells are missing (and adds nothing).
  void AddRowTexts(const std::vector<std::string>& texts);

  const std::string& Bytes() const { return out_; }
  std::string Take() { return std::move(out_); }

 private:
  std::size_t columnCount_;
  std::string out_;
};

// Writes `bytes` to the file (a file-system name) as WriteFileAtomically
// does. Raises FileError "Cannot create file %s" when that fails; the old
// file, if any, stays as it was.
void WriteCsvFile(const std::string& fileName, std::string_view bytes);

}  // namespace orlu
