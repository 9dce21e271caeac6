#include "domaintools/folder_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <utility>

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "platform/text/string_list.h"

namespace orlu {

namespace {

struct Entry {
  std::string name;  // as the file system spells it
  bool file = false;
  bool folder = false;
  int64_t size = 0;
};

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// A name the file system gives, as GBK text; a name that is not UTF-8 is
// taken byte for byte.
std::string Shown(const std::string& name) {
  std::string gbk = Utf8ToAnsi(name);
  return gbk.empty() ? name : gbk;
}

class Walker {
 public:
  Walker(FolderScan& totals, std::vector<std::string>* list, std::vector<std::string>* paths)
      : totals_(totals), list_(list), paths_(paths) {}

  // `path` as the file system spells it, `shown` the same in GBK.
  bool Walk(const std::string& path, const std::string& shown) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat self {};
    if (::fstat(fd, &self) != 0 || !visited_.insert({self.st_dev, self.st_ino}).second) {
      ::close(fd);
      return false;
    }
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
      ::close(fd);
      return false;
    }
    std::vector<Entry> entries;
    while (const dirent* d = ::readdir(dir)) {
      const std::string name = d->d_name;
      if (name == "." || name == "..") continue;
      Entry e{name};
      struct stat st {};
      if (::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      if (S_ISREG(st.st_mode)) {
        e.file = true;
        e.size = st.st_size;
      } else if (S_ISDIR(st.st_mode)) {
        e.folder = true;
      } else if (S_ISLNK(st.st_mode)) {
        // A link counts only as a way into a folder.
        e.folder = ::fstatat(::dirfd(dir), d->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
      }
      if (e.file || e.folder) entries.push_back(std::move(e));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });

    for (const Entry& e : entries) {
      if (!e.file) continue;
      ++totals_.ScanFileCount;
      totals_.ScanTotalSize += e.size;
      if (list_ != nullptr) list_->push_back(Join(shown, Shown(e.name)));
      if (paths_ != nullptr) paths_->push_back(Join(path, e.name));
    }
    for (const Entry& e : entries) {
      if (!e.folder || e.name[0] == '.') continue;
      // A folder that cannot be listed, or was listed already, is passed over.
      Walk(Join(path, e.name), Join(shown, Shown(e.name)));
    }
    return true;
  }

 private:
  FolderScan& totals_;
  std::vector<std::string>* list_;
  std::vector<std::string>* paths_;
  std::set<std::pair<dev_t, ino_t>> visited_;
};

}  // namespace

bool FolderScan::CollectFilesRecursive(const std::string& folder, std::vector<std::string>* list,
                                       std::vector<std::string>* paths) {
  Walker walker(*this, list, paths);
  return walker.Walk(folder, Shown(folder));
}

void FolderScan::AddFolderTxtFiles(const std::string& folder, std::vector<std::string>& list,
                                   std::vector<std::string>* paths) {
  std::vector<std::string> found, real;
  CollectFilesRecursive(folder, &found, &real);
  for (size_t i = 0; i < found.size(); ++i) {
    if (!HasTxtExtension(real[i])) continue;
    list.push_back(std::move(found[i]));
    if (paths != nullptr) paths->push_back(std::move(real[i]));
  }
}

bool HasTxtExtension(const std::string& path) {
  const std::string name = path.substr(path.rfind('/') + 1);
  const size_t dot = name.rfind('.');
  return dot != std::string::npos && LowerCase(name.substr(dot)) == ".txt";
}

}  // namespace orlu
