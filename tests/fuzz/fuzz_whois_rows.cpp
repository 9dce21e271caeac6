// Domain lists as imported from any file: the rows the WHOIS page builds
// from their lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/text/gbk.h"
#include "platform/text/string_list.h"
#include "whois/whois_batch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = orlu::SplitLines(text);
  const std::vector<orlu::ListRow> rows = orlu::BuildWhoisRows(lines);
  if (rows.size() != lines.size() && rows.size() + 1 != lines.size()) std::abort();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].caption != std::to_string(i + 1)) std::abort();
    if (rows[i].cells.size() != static_cast<size_t>(orlu::kWhoisRowCells)) std::abort();
    if (rows[i].cells[0] != orlu::Trim(lines[i])) std::abort();
    for (int c = 1; c < orlu::kWhoisRowCells; ++c)
      if (rows[i].cells[c] != " ") std::abort();
  }
  return 0;
}
