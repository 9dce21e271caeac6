// The two routines every result list shares: the selected row as one memo
// line, and the whole list as a CSV file.
#pragma once

#include <string>

namespace orlu {

class ListView;
class Memo;

// Adds the selected row of `list` to `memo` as one line of column captions
// and values ("ID: 3  域名: d  排名: 1200  "); nothing without a selection.
void ShowListViewItem(ListView& list, Memo& memo);

// Writes `list` to the file `fileName` (a file-system name): the quoted
// column captions, then one line per row; see CsvBuilder for the bytes.
// Raises FileError "Cannot create file %s" when the file cannot be written
// (an old file stays).
void ExportListViewCsv(const std::string& fileName, ListView& list);

}  // namespace orlu
