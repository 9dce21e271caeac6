#include "pages/result_rows.h"

#include "platform/text/errors.h"
#include "platform/text/string_list.h"

namespace orlu {

namespace {

// The value of column `c`: the row caption for the first column, else the
// cell c - 1, which must exist.
std::string_view ColumnValue(std::size_t c, std::string_view caption,
                             const std::vector<std::string>& cells) {
  if (c == 0) return caption;
  if (c - 1 >= cells.size()) throw ListIndexError(static_cast<long long>(c - 1));
  return cells[c - 1];
}

// Appends one quoted field followed by a comma.
void AppendCsvField(std::string& out, std::string_view value) {
  out += '"';
  std::size_t start = 0;
  for (;;) {
    std::size_t quote = value.find('"', start);
    if (quote == std::string_view::npos) {
      out.append(value.substr(start));
      break;
    }
    out.append(value.substr(start, quote + 1 - start));
    out += '"';
    start = quote + 1;
  }
  out += "\",";
}

// A text a spreadsheet would take for a formula.
bool LooksLikeFormula(std::string_view text) {
  return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

}  // namespace

std::string RowDisplayLine(const std::vector<std::string>& columns,
                           std::string_view rowCaption,
                           const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    std::string_view value = ColumnValue(c, rowCaption, cells);
    line += columns[c];
    line += ": ";
    line += value;
    line += "  ";
  }
  return line;
}

CsvBuilder::CsvBuilder(std::vector<std::string> columns) : columnCount_(columns.size()) {
  for (const auto& caption : columns) AppendCsvField(out_, caption);
  out_ += "\r\n";
}

void CsvBuilder::AddRowTexts(const std::vector<std::string>& texts) {
  if (texts.size() < columnCount_) {
    throw ListIndexError(static_cast<long long>(texts.empty() ? 0 : texts.size() - 1));
  }
  for (std::size_t c = 0; c < columnCount_; ++c) {
    if (LooksLikeFormula(texts[c])) {
      AppendCsvField(out_, "'" + texts[c]);
    } else {
      AppendCsvField(out_, texts[c]);
    }
  }
  out_ += "\r\n";
}

void WriteCsvFile(const std::string& fileName, std::string_view bytes) {
  try {
    WriteFileAtomically(fileName, bytes);
  } catch (const Error&) {
    throw FileError("Cannot create file " + DisplayFileName(fileName));
  }
}

}  // namespace orlu
