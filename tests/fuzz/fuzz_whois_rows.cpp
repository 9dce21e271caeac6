// The rows the WHOIS page builds from the lines of any imported domain list.
#include "fuzz_input.h"
#include "platform/text/gbk.h"
#include "platform/text/string_list.h"
#include "whois/whois_batch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> lines = orlu::SplitLines(fuzz::Text(data, size));
  const std::vector<orlu::ListRow> rows = orlu::BuildWhoisRows(lines);
  FUZZ_CHECK(rows.size() == lines.size() || rows.size() + 1 == lines.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    std::vector<std::string> cells(orlu::kWhoisRowCells, " ");
    cells[0] = orlu::Trim(lines[i]);
    FUZZ_CHECK(rows[i].caption == std::to_string(i + 1) && rows[i].cells == cells);
  }
  return 0;
}
