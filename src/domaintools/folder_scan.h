// The recursive scan that collects word files under a folder.
//
// Folder and file names are GBK text like every text of the system; they are
// converted for the file system on the way in and out. The scan never changes
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

  // Appends the path of every file of the tree under `folder` to `list`
  // (when given; null only counts). False when `folder` itself cannot be
  // listed.
  bool CollectFilesRecursive(const std::string& folder, std::vector<std::string>* list);
  // Collects the tree under `folder` and appends to `list` the paths whose
  // extension is ".txt" in any letter case, in the scan's order.
  void AddFolderTxtFiles(const std::string& folder, std::vector<std::string>& list);
};

// True when the file name's extension (from its last "." on) is ".txt" in
// any letter case.
bool HasTxtExtension(const std::string& path);

}  // namespace orlu
