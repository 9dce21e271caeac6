#include "platform/text/string_list.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "platform/text/codepage.h"
#include "platform/text/errors.h"

namespace orlu {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&](size_t begin, size_t end, size_t) {
    lines.emplace_back(text.substr(begin, end - begin));
  });
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  size_t size = 0;
  for (const auto& l : lines) size += l.size() + 2;
  std::string out;
  out.reserve(size);
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
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

void StringList::LoadFromFile(const std::string& fileName) {
  // Read first, so that a failed load leaves the list as it was.
  lines_ = SplitLines(ReadFileBytes(fileName));
}

void StringList::SaveToFile(const std::string& fileName) const {
  WriteFileAtomically(fileName, Text());
}

std::string FileSystemName(const std::string& fileName) { return AnsiToUtf8(fileName); }

std::string ReadFileBytes(const std::string& fileName) {
  const std::string path = FileSystemName(fileName);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError("Cannot open file " + fileName);
  std::string data;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
    data.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t r = ::read(fd, buf, sizeof buf);
    if (r == 0) break;
    if (r < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      throw FileError("Cannot open file " + fileName);
    }
    data.append(buf, static_cast<size_t>(r));
  }
  ::close(fd);
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

}  // namespace

void WriteFileAtomically(const std::string& fileName, std::string_view bytes) {
  const std::string path = FileSystemName(fileName);
  const FileError failure("Cannot create file " + fileName);
  if (path.empty()) throw failure;

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
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);

  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw failure;
  }
}

}  // namespace orlu
