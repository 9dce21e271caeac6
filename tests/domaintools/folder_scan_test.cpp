// The recursive word-file scan on a real folder tree.
#include "domaintools/folder_scan.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_files.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;

TEST(FolderScan, FilesBeforeSubFoldersInNameOrderWithoutLoopsOrSpecialFiles) {
  test::TempDir dir;
  const auto& root = dir.path();
  for (const char* sub : {"sub", "sub/deep", ".dot", "zz", "locked"})
    ASSERT_EQ(mkdir((root / sub).c_str(), 0755), 0);
  for (const char* f : {"b.txt", "a.TXT", "c.txt.bak", ".h.txt", "sub/deep/e.txt", "sub/d.txt",
                        ".dot/x.txt", "zz/h.txt", "locked/g.txt", "noext"})
    test::Spit(dir / f, "w\n");
  ASSERT_EQ(mkfifo((dir / "f.txt").c_str(), 0644), 0);
  ASSERT_EQ(symlink(root.c_str(), (dir / "sub/loop").c_str()), 0);  // leads back up
  ASSERT_EQ(symlink((dir / "b.txt").c_str(), (dir / "link.txt").c_str()), 0);
  ASSERT_EQ(chmod((dir / "locked").c_str(), 0), 0);

  const auto before = std::filesystem::current_path();

  // Root lists any folder: the scan runs as an ordinary user then.
  const uid_t uid = geteuid();
  if (uid == 0) {
    ASSERT_EQ(chmod(root.c_str(), 0755), 0);
    ASSERT_EQ(seteuid(65534), 0);
  }
  FolderScan scan;
  Lines txt;
  scan.AddFolderTxtFiles(root.string(), txt);
  ASSERT_TRUE(uid != 0 || seteuid(0) == 0);
  const std::string r = root.string() + "/";
  const Lines expected = {r + ".h.txt",    r + "a.TXT",          r + "b.txt",
                          r + "sub/d.txt", r + "sub/deep/e.txt", r + "zz/h.txt"};
  EXPECT_EQ(txt, expected);

  EXPECT_EQ(std::filesystem::current_path(), before);
  chmod((dir / "locked").c_str(), 0755);
  EXPECT_EQ(scan.ScanFileCount, static_cast<int64_t>(expected.size()) + 2);  // c.txt.bak, noext
}

TEST(FolderScan, CountsBytesBeyondFourGigabytesAndReportsAnUnlistableFolder) {
  test::TempDir dir;
  const int fd = ::open((dir / "big").c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  const int64_t big = 5LL << 30;  // sparse
  ASSERT_EQ(ftruncate(fd, big), 0);
  ::close(fd);
  FolderScan scan;
  Lines all;
  EXPECT_TRUE(scan.CollectFilesRecursive(dir.path().string() + "/", &all));
  EXPECT_EQ(all, Lines{dir / "big"});
  EXPECT_EQ(scan.ScanTotalSize, big);
  EXPECT_FALSE(scan.CollectFilesRecursive(dir / "missing", nullptr));
  EXPECT_EQ(scan.ScanFileCount, 1);
}

}  // namespace
}  // namespace orlu
