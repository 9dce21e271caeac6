#include "platform/text/string_list.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <limits>
#include <optional>
#include <string>

#include "platform/text/codepage.h"
#include "platform/text/errors.h"
#include "platform/text/gbk.h"

namespace orlu {

namespace {

size_t CountLines(std::string_view text) {
  size_t count = 0;
  ForEachLine(text, [&](size_t, size_t, size_t) { ++count; });
  return count;
}

// The lines of `text`, `count` of them, in a list sized once: a list grown
// line by line holds up to twice the room it needs, and both blocks at once
// while it moves.
std::vector<std::string> SplitCountedLines(std::string_view text, size_t count) {
  std::vector<std::string> lines;
  lines.reserve(count);
  ForEachLine(text, [&](size_t begin, size_t end, size_t) {
    lines.emplace_back(text.substr(begin, end - begin));
  });
  return lines;
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
  return SplitCountedLines(text, CountLines(text));
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd) {
  size_t size = 0;
  for (const auto& l : lines) size += l.size() + lineEnd.size();
  std::string out;
  out.reserve(size);
  for (const auto& l : lines) {
    out += l;
    out += lineEnd;
  }
  return out;
}

const std::string& StringList::Get(int index) const {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  return lines_[static_cast<size_t>(index)];
}

void StringList::Put(int index, std::string value) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  lines_[static_cast<size_t>(index)] = std::move(value);
}

void StringList::Insert(int index, std::string line) {
  if (index < 0 || index > Count()) throw ListIndexError(index);
  lines_.insert(lines_.begin() + index, std::move(line));
}

void StringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  lines_.erase(lines_.begin() + index);
}

long long ListMemory(long long lines, long long bytes) {
  long long cost = 0, memory = 0;
  if (__builtin_mul_overflow(lines, kLineCostBytes, &cost) ||
      __builtin_add_overflow(bytes, cost, &memory)) {
    return std::numeric_limits<long long>::max();
  }
  return memory;
}

void StringList::LoadFromFile(const std::string& fileName, long long limit) {
  // Read first, so that a failed load leaves the list as it was. The file is
  // held whole while its lines are made, so one larger than the limit is
  // not read at all; the lines are counted before any is made.
  const std::string name = DisplayFileName(fileName);
  const std::string text = ListFileToAnsi(ReadFileBytes(fileName, [&](long long size) {
    if (size > limit) {
      throw Error(Gbk("文件 ") + name + Gbk(" 有 ") + IntToStr(size) + Gbk(" 字节，超过导入上限 ") +
                  IntToStr(limit) + Gbk(" 字节，未导入。"));
    }
  }));
  const long long lines = static_cast<long long>(CountLines(text));
  const long long memory = ListMemory(lines, static_cast<long long>(text.size()));
  if (memory > limit) {
    throw Error(Gbk("文件 ") + name + Gbk(" 共有 ") + IntToStr(lines) + Gbk(" 行，约需内存 ") +
                IntToStr(memory) + Gbk(" 字节，超过上限 ") + IntToStr(limit) +
                Gbk(" 字节，未导入。"));
  }
  lines_ = SplitCountedLines(text, static_cast<size_t>(lines));
}

void StringList::SaveToFile(const std::string& fileName) const {
  WriteFileAtomically(fileName, Text());
}

std::string DisplayFileName(const std::string& fileName) { return Utf8ToAnsiLenient(fileName); }

std::string ReadFileBytes(const std::string& fileName,
                          const std::function<void(long long size)>& checkSize) {
  const FileError failure("Cannot open file " + DisplayFileName(fileName));
  // Without waiting: opening a FIFO for reading would wait for a writer.
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw failure;
  // Closed however the read ends (a refusal, a failure, no memory).
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) throw failure;
  if (checkSize) checkSize(static_cast<long long>(st.st_size));
  std::string data;
  if (st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t r = ::read(fd, buf, sizeof buf);
    if (r == 0) break;
    if (r < 0) {
      if (errno == EINTR) continue;
      throw failure;
    }
    data.append(buf, static_cast<size_t>(r));
  }
  return data;
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t w = ::write(fd, bytes.data(), bytes.size());
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(w));
  }
  return true;
}

// The file a name finally stands for: symbolic links followed (also one
// whose target does not exist yet); std::nullopt for a loop or an unreadable
// link.
std::optional<std::string> FinalTarget(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<size_t>(n) >= target.size()) return std::nullopt;
    target.resize(static_cast<size_t>(n));
    if (target.empty()) return std::nullopt;
    if (target.front() != '/') {
      const size_t slash = path.rfind('/');
      if (slash != std::string::npos) target = path.substr(0, slash + 1) + target;
    }
    path = std::move(target);
  }
  return std::nullopt;
}

}  // namespace

void WriteFileAtomically(const std::string& fileName, std::string_view bytes) {
  const FileError failure("Cannot create file " + DisplayFileName(fileName));
  if (fileName.empty()) throw failure;
  const std::optional<std::string> target = FinalTarget(fileName);
  if (!target) throw failure;
  const std::string& path = *target;

  // A file that is there must be one we may write: the rename would replace
  // a read-only file as well. The super-user passes every permission check,
  // so a file without any write bit counts as read-only too.
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists && (!S_ISREG(st.st_mode) || ::access(path.c_str(), W_OK) != 0 ||
                 (st.st_mode & 0222) == 0)) {
    throw failure;
  }

  // A fresh name beside the target: created with the usual mode (the umask
  // applies), so the renamed file looks like one written in place.
  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw failure;

  // An existing file keeps its permission bits.
  if (exists) ::fchmod(fd, st.st_mode & 07777);

  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw failure;
  }
}

}  // namespace orlu
