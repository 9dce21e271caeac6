// The recursive scan that collects word files under a folder.
//
// The folder is given as the file system spells it. Each file found is
// listed as GBK text like every text of the system (a name that is not UTF-8
// is shown byte for byte) and, when asked, also by its real path, which opens
// it whatever its name's bytes are. The scan never changes
// the process's current folder. Per folder it lists its regular files (no
// links, FIFOs or devices) in name order, then walks its sub-folders in name
// order, each whole tree before the next; sub-folders whose name starts with
// "." are skipped, a folder reached a second time (through a link) is not
// listed again, and a folder that cannot be listed is skipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orlu {

class FolderScan {
 public:
  // Running totals over every scan of this object: files found and their
  // bytes.
  int64_t ScanFileCount = 0;
  int64_t ScanTotalSize = 0;

  // Appends the shown path of every file of the tree under `folder` to
  // `list` (when given; null only counts) and its real path to `paths` (when
  // given). False when `folder` itself cannot be listed.
  bool CollectFilesRecursive(const std::string& folder, std::vector<std::string>* list,
                             std::vector<std::string>* paths = nullptr);
  // Collects the tree under `folder` and appends to `list` the shown paths
  // whose extension is ".txt" in any letter case, in the scan's order, and
  // the same files' real paths to `paths` (when given).
  void AddFolderTxtFiles(const std::string& folder, std::vector<std::string>& list,
                         std::vector<std::string>* paths = nullptr);
};

// True when the file name's extension (from its last "." on) is ".txt" in
// any letter case.
bool HasTxtExtension(const std::string& path);

}  // namespace orlu
