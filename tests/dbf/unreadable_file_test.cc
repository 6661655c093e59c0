// Reading a table file that exists but cannot be read as one: a socket, a
// file without read permission, a folder.  These need POSIX file kinds and
// permission bits, so this file is left out of the Windows build of the
// units (tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "base/failure_record.h"
#include "dbf/dbf.h"
#include "support/test_support.h"

namespace tav {
namespace {

class ReaderTest : public ::testing::Test {
 protected:
  bool populate() {
    resetStackTrace("cmd");
    clearErrStr();
    return table_.populate("PCT", dir_.path());
  }

  // A refused file leaves no fields and no records behind.
  void expectEmpty() const {
    EXPECT_EQ(table_.getNumFields(), 0);
    EXPECT_EQ(table_.numRecordsHeld(), 0u);
    EXPECT_EQ(table_.getNumRecs(), 0u);
    EXPECT_FALSE(table_.isModified());
  }

  test::TempDir dir_;
  CDbf table_;
};

DbfBuilder twoFields() { return DbfBuilder({{"PCT_ID", 'N', 6}, {"PCT_NAME", 'C', 10}}); }

// A path that exists but cannot be opened for reading.  A socket cannot be
// opened even by root, so this works whoever runs the tests.
TEST_F(ReaderTest, FileThatCannotBeOpenedIsRefused) {
  const std::string path = dir_.file("PCT.DBF");
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, path.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

  ASSERT_FALSE(populate());
  ::close(fd);
  EXPECT_EQ(getErrStr(), "PCT_CDbf.populate: PCT_populate: Unable to open: " + path +
                             " - No such device or address");
  EXPECT_EQ(getStackTrace(), "cmd PCT_CDbf.populate ");
  expectEmpty();
}

TEST_F(ReaderTest, UnreadableFileIsRefusedWhenPermissionsApply) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  test::writeFile(dir_.file("PCT.DBF"), twoFields().bytes());
  ASSERT_EQ(::chmod(dir_.file("PCT.DBF").c_str(), 0), 0);
  ASSERT_FALSE(populate());
  EXPECT_EQ(getErrStr(), "PCT_CDbf.populate: PCT_populate: Unable to open: " +
                             dir_.file("PCT.DBF") + " - Permission denied");
}

// A folder in place of the file opens but cannot be read.
TEST_F(ReaderTest, FolderInPlaceOfTheFileIsRefused) {
  ASSERT_EQ(::mkdir(dir_.file("PCT.DBF").c_str(), 0755), 0);
  ASSERT_FALSE(populate());
  EXPECT_EQ(getErrStr().rfind("CDbf.readHeader: PCT_readHeader: Unable to read header: ", 0), 0u)
      << getErrStr();
  expectEmpty();
}

}  // namespace
}  // namespace tav
