// The index companion: loading a .CDX file as opaque bytes, keeping it in
// place, copying it to another folder and removing it once its table changed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "dbf/cdx.h"
#include "support/test_support.h"

namespace tav {
namespace {

// Index bytes with every awkward byte value in them.
std::string indexBytes() {
  std::string bytes;
  for (int i = 0; i < 3 * 256; ++i) bytes += static_cast<char>(i * 7);
  return bytes;
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

class CdxTest : public ::testing::Test {
 protected:
  void SetUp() override { resetStackTrace("test"); }

  test::TempDir dir_;
  test::TempDir other_;
  CCdx cdx_;
};

TEST_F(CdxTest, MissingIndexFileMeansNoIndexMarkedForRemoval) {
  ASSERT_TRUE(cdx_.load("PCT", dir_.path())) << getErrStr();
  EXPECT_TRUE(cdx_.isValid());
  EXPECT_FALSE(cdx_.isPresent());

  // Saving in place removes an index that appeared since; saving elsewhere
  // removes a stale one lying there and writes nothing.
  test::writeFile(dir_.file("PCT.CDX"), "stale");
  test::writeFile(other_.file("PCT.CDX"), "stale");
  test::writeFile(other_.file("EVT.CDX"), "other table");
  ASSERT_TRUE(cdx_.save(false, dir_.path()));
  EXPECT_FALSE(exists(dir_.file("PCT.CDX")));
  ASSERT_TRUE(cdx_.save(true, other_.path()));
  EXPECT_EQ(test::folderEntries(other_.path()), std::vector<std::string>{"EVT.CDX"});
  // With nothing left to remove the saves still succeed.
  EXPECT_TRUE(cdx_.save(false, dir_.path()));
  EXPECT_TRUE(cdx_.save(true, other_.path()));
}

TEST_F(CdxTest, LoadedIndexStaysInPlaceUntilFlaggedForRemoval) {
  test::writeFile(dir_.file("PCT.CDX"), indexBytes());
  ASSERT_TRUE(cdx_.load("PCT", dir_.path()));
  EXPECT_TRUE(cdx_.isPresent());
  struct stat before {};
  ASSERT_EQ(::stat(dir_.file("PCT.CDX").c_str(), &before), 0);

  ASSERT_TRUE(cdx_.save(false, dir_.path()));
  struct stat after {};
  ASSERT_EQ(::stat(dir_.file("PCT.CDX").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtime, before.st_mtime);
  EXPECT_TRUE(cdx_.isPresent());

  ASSERT_TRUE(cdx_.setRemove());
  EXPECT_TRUE(cdx_.isPresent());  // flagged, not yet removed
  ASSERT_TRUE(cdx_.save(false, dir_.path()));
  EXPECT_FALSE(exists(dir_.file("PCT.CDX")));
  EXPECT_FALSE(cdx_.isPresent());
  EXPECT_TRUE(cdx_.save(false, dir_.path()));
}

TEST_F(CdxTest, SaveWithCopyWritesTheBytesUnchanged) {
  test::writeFile(dir_.file("PCT.CDX"), indexBytes());
  ASSERT_TRUE(cdx_.load("PCT", dir_.path()));
  ASSERT_TRUE(cdx_.save(true, other_.path()));
  EXPECT_EQ(test::readFile(other_.file("PCT.CDX")), indexBytes());

  // An older index of the same code in that folder is replaced.
  test::TempDir third;
  test::writeFile(third.file("PCT.CDX"), "older index");
  ASSERT_TRUE(cdx_.save(true, third.path() + "/"));
  EXPECT_EQ(test::readFile(third.file("PCT.CDX")), indexBytes());
  EXPECT_EQ(test::folderEntries(third.path()), std::vector<std::string>{"PCT.CDX"});
  EXPECT_EQ(test::readFile(dir_.file("PCT.CDX")), indexBytes());

  // An empty index file is carried as an empty file.
  CCdx empty;
  test::writeFile(dir_.file("EVT.CDX"), "");
  ASSERT_TRUE(empty.load("EVT", dir_.path()));
  EXPECT_TRUE(empty.isPresent());
  ASSERT_TRUE(empty.save(true, other_.path()));
  EXPECT_TRUE(exists(other_.file("EVT.CDX")));
  EXPECT_EQ(test::readFile(other_.file("EVT.CDX")), "");

  // Once flagged, the copy becomes a removal there.
  ASSERT_TRUE(cdx_.setRemove());
  ASSERT_TRUE(cdx_.save(true, third.path()));
  EXPECT_FALSE(exists(third.file("PCT.CDX")));
  EXPECT_TRUE(exists(dir_.file("PCT.CDX")));
}

TEST_F(CdxTest, FailuresAreReportedWithTheTableCode) {
  resetStackTrace("test");
  EXPECT_FALSE(cdx_.load("PCT", ""));
  EXPECT_EQ(getErrStr(), "PCT_CCdx.load: PCT_load: Empty path.");
  resetStackTrace("test");
  EXPECT_FALSE(cdx_.save(true, ""));
  EXPECT_EQ(getErrStr(), "PCT_CCdx.save: PCT_save: Empty path.");

  test::writeFile(dir_.file("PCT.CDX"), indexBytes());
  ASSERT_TRUE(cdx_.load("PCT", dir_.path()));
  const std::string missing = dir_.file("missing");
  resetStackTrace("test");
  EXPECT_FALSE(cdx_.save(true, missing));
  EXPECT_EQ(getErrStr(), "PCT_CCdx.save: PCT_save: Unable to open: " + missing +
                             "/PCT.CDX - No such file or directory");

  // A removal that the file system refuses keeps the companion present.
  std::filesystem::create_directories(other_.file("PCT.CDX/inside"));
  ASSERT_TRUE(cdx_.setRemove());
  resetStackTrace("test");
  EXPECT_FALSE(cdx_.save(true, other_.path()));
  EXPECT_EQ(getErrStr(), "PCT_CCdx.save: PCT_save: Unable to remove: " +
                             other_.file("PCT.CDX") + " - " +
                             test::systemText("Directory not empty", "Permission denied"));
  EXPECT_TRUE(cdx_.isPresent());
}

TEST_F(CdxTest, CompanionWhoseLoadFailedRefusesEverySave) {
  // Something that exists but is no readable index file.
  std::filesystem::create_directories(dir_.file("PCT.CDX"));
  resetStackTrace("test");
  EXPECT_FALSE(cdx_.load("PCT", dir_.path()));
  // POSIX opens a folder and fails to read it; Windows does not open it.
  EXPECT_EQ(getErrStr(),
            test::systemText("PCT_CCdx.load: PCT_load: Unable to read file data: Is a directory",
                             "PCT_CCdx.load: PCT_load: Unable to open: " + dir_.file("PCT.CDX") +
                                 " - Permission denied"));
  EXPECT_FALSE(cdx_.isValid());
  for (bool copy : {false, true}) {
    resetStackTrace("test");
    EXPECT_FALSE(cdx_.save(copy, other_.path()));
    EXPECT_EQ(getErrStr(), "PCT_CCdx.save: PCT_save: CDX data is not valid.");
  }
  EXPECT_EQ(test::folderEntries(other_.path()), std::vector<std::string>{});

  // The same after a reload fails: the bytes of the earlier load are not
  // carried on as if they were still the index.
  CCdx reloaded;
  test::writeFile(other_.file("EVT.CDX"), indexBytes());
  ASSERT_TRUE(reloaded.load("EVT", other_.path()));
  std::filesystem::remove(other_.file("EVT.CDX"));
  std::filesystem::create_directories(other_.file("EVT.CDX"));
  EXPECT_FALSE(reloaded.load("EVT", other_.path()));
  test::TempDir target;
  resetStackTrace("test");
  EXPECT_FALSE(reloaded.save(true, target.path()));
  EXPECT_EQ(getErrStr(), "EVT_CCdx.save: EVT_save: CDX data is not valid.");
  EXPECT_EQ(test::folderEntries(target.path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace tav
