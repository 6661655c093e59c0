// File helpers: path joining, file times, and SafeFileWriter, which replaces
// a file only once the new content is complete and on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "dbf/file_io.h"
#include "support/test_support.h"

namespace tav {
namespace {

mode_t permissionsOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// Writes `bytes` to `target` through a SafeFileWriter and commits.
bool replaceWith(const std::string& target, const std::string& bytes) {
  SafeFileWriter out;
  return out.open(target) && out.write(bytes.data(), bytes.size()) && out.commit();
}

TEST(FileIoTest, JoinPathAndFileTimes) {
  EXPECT_EQ(joinPath("/data/db", "PCT.DBF"), "/data/db/PCT.DBF");
  EXPECT_EQ(joinPath("/data/db/", "PCT.DBF"), "/data/db/PCT.DBF");
  // "\\" separates only on Windows; elsewhere it is part of a name.
  EXPECT_EQ(joinPath("C:\\data\\db\\", "PCT.DBF"),
            test::systemText("C:\\data\\db\\/PCT.DBF", "C:\\data\\db\\PCT.DBF"));
  EXPECT_EQ(joinPath("C:\\data\\db", "PCT.DBF"), "C:\\data\\db/PCT.DBF");

  test::TempDir dir;
  std::int64_t mtime = -1;
  EXPECT_FALSE(fileExists(dir.file("PCT.DBF")));
  EXPECT_FALSE(fileMtime(dir.file("PCT.DBF"), &mtime));
  EXPECT_EQ(mtime, -1);
  test::writeFile(dir.file("PCT.DBF"), "x");
  struct utimbuf times {};
  times.actime = times.modtime = 1234567890;
  ASSERT_EQ(::utime(dir.file("PCT.DBF").c_str(), &times), 0);
  EXPECT_TRUE(fileExists(dir.file("PCT.DBF")));
  ASSERT_TRUE(fileMtime(dir.file("PCT.DBF"), &mtime));
  EXPECT_EQ(mtime, 1234567890);

  errno = ENOENT;
  EXPECT_EQ(errnoText(), "No such file or directory");
}

// Windows has no permission bits to keep (its read-only flag makes a file
// that cannot be replaced at all), so there only the content is checked.
TEST(FileIoTest, CommitReplacesTheFileAndKeepsItsPermissions) {
  test::TempDir dir;
  const std::string target = dir.file("PCT.DBF");
  const bool bits = !test::onWindows();
  for (mode_t mode : {0600, 0640, 0755, 0444}) {
    test::writeFile(target, "old content");
    if (bits) {
      ASSERT_EQ(::chmod(target.c_str(), mode), 0);
    }
    ASSERT_TRUE(replaceWith(target, std::string("new\0content", 11)));
    EXPECT_EQ(test::readFile(target), std::string("new\0content", 11));
    if (bits) {
      EXPECT_EQ(permissionsOf(target), mode);
    }
    EXPECT_EQ(test::folderEntries(dir.path()), std::vector<std::string>{"PCT.DBF"});
  }

  // A new file gets the usual permissions for the process's file mask.
  const mode_t mask = ::umask(027);
  const bool written = replaceWith(dir.file("EVT.DBF"), "");
  ::umask(mask);
  ASSERT_TRUE(written);
  if (bits) {
    EXPECT_EQ(permissionsOf(dir.file("EVT.DBF")), 0640);
  }
  EXPECT_EQ(test::readFile(dir.file("EVT.DBF")), "");

  SafeFileWriter zeros;
  ASSERT_TRUE(zeros.open(target));
  ASSERT_TRUE(zeros.write("a", 1));
  ASSERT_TRUE(zeros.writeZeros(10000));
  ASSERT_TRUE(zeros.commit());
  EXPECT_EQ(test::readFile(target), "a" + std::string(10000, '\0'));
}

TEST(FileIoTest, UncommittedWriterLeavesTheTargetAndNoTemporaryFile) {
  test::TempDir dir;
  const std::string target = dir.file("PCT.DBF");
  test::writeFile(target, "original");
  {
    SafeFileWriter out;
    ASSERT_TRUE(out.open(target));
    ASSERT_TRUE(out.write("partial", 7));
    EXPECT_EQ(test::folderEntries(dir.path()).size(), 2u);  // the target and the new file
  }
  EXPECT_EQ(test::readFile(target), "original");
  EXPECT_EQ(test::folderEntries(dir.path()), std::vector<std::string>{"PCT.DBF"});

  SafeFileWriter out;
  ASSERT_TRUE(out.open(target));
  ASSERT_TRUE(out.open(target));  // opening again drops the first attempt
  ASSERT_TRUE(out.write("partial", 7));
  out.discard();
  EXPECT_EQ(test::folderEntries(dir.path()), std::vector<std::string>{"PCT.DBF"});
  errno = 0;
  EXPECT_FALSE(out.commit());
  EXPECT_EQ(errno, EBADF);
  EXPECT_EQ(test::readFile(target), "original");
}

TEST(FileIoTest, FailuresLeaveErrnoAndNothingBehind) {
  test::TempDir dir;
  SafeFileWriter out;
  errno = 0;
  EXPECT_FALSE(out.open(dir.file("missing/PCT.DBF")));
  EXPECT_EQ(errno, ENOENT);

  // The target is a folder with content: the rename fails, the new file goes.
  std::filesystem::create_directories(dir.file("PCT.DBF/inside"));
  ASSERT_TRUE(out.open(dir.file("PCT.DBF")));
  ASSERT_TRUE(out.write("data", 4));
  errno = 0;
  EXPECT_FALSE(out.commit());
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(test::folderEntries(dir.path()), std::vector<std::string>{"PCT.DBF"});
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("PCT.DBF/inside")));
}

// A reader holding the target open (a browser on a page, a scanner on a new
// table): POSIX replaces the name under it at once; Windows refuses the
// rename while the reader holds the file, so the writer waits for it a
// moment, and a reader that does not let go fails the commit with nothing
// left behind.
TEST(FileIoTest, TargetHeldOpenByAReader) {
  test::TempDir dir;
  const std::string target = dir.file("index.html");
  test::writeFile(target, "old");

  std::FILE* reader = std::fopen(target.c_str(), "rb");
  ASSERT_NE(reader, nullptr);
  std::thread letGo([reader] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::fclose(reader);
  });
  EXPECT_TRUE(replaceWith(target, "new"));
  letGo.join();
  EXPECT_EQ(test::readFile(target), "new");

  reader = std::fopen(target.c_str(), "rb");
  ASSERT_NE(reader, nullptr);
  errno = 0;
  const bool replaced = replaceWith(target, "newer");
  std::fclose(reader);
  EXPECT_EQ(replaced, !test::onWindows());
  if (!replaced) EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(test::readFile(target), test::systemText("newer", "new"));
  EXPECT_EQ(test::folderEntries(dir.path()), std::vector<std::string>{"index.html"});
}

}  // namespace
}  // namespace tav
