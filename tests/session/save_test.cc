// Saving an open database: in place (only the modified tables, their index
// files removed) and to another folder (every table, index files copied or
// dropped, the folder switched only when everything was written).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "session/tav.h"
#include "support/test_support.h"

namespace tav {
namespace {

using Names = std::vector<std::string>;

struct stat statOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st;
}

// A database folder of three tables: CAT without an index file, EVT and PCT
// with one.  Every file carries an old modification time.
class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetStackTrace("test");
    write("CAT.DBF", DbfBuilder({{"CAT_ID", 'N', 4}}).addRecord({"3"}).bytes());
    write("EVT.DBF", DbfBuilder({{"EVT_ID", 'N', 4}}).addRecord({"2"}).bytes());
    write("PCT.DBF", DbfBuilder({{"PCT_ID", 'N', 4}, {"PCT_NAME", 'C', 10}})
                         .addRecord({"1", "Anna"})
                         .addRecord({"2", "Bob"}, true)
                         .bytes());
    write("EVT.CDX", "EVT index");
    write("PCT.CDX", "PCT index");
    ASSERT_TRUE(tav_.setDirectoryPath(dir_.path()));
    for (const char* handle : {"PCT", "EVT", "CAT"}) {
      ASSERT_TRUE(tav_.loadHandle(handle)) << getErrStr();
    }
  }

  void write(const std::string& name, const std::string& bytes) {
    test::writeFile(dir_.file(name), bytes);
    struct utimbuf times {};
    times.actime = times.modtime = 1000000000;
    ASSERT_EQ(::utime(dir_.file(name).c_str(), &times), 0);
    source_[name] = bytes;
  }

  void renamePerson(const std::string& name) {
    ASSERT_TRUE(tav_.updateHandleRecData("PCT", 0, {"PCT_NAME=" + name})) << getErrStr();
  }

  bool modified(const std::string& handle) {
    bool flag = false;
    EXPECT_TRUE(tav_.isHandleModified(handle, &flag));
    return flag;
  }

  bool indexPresent(const std::string& handle) {
    bool flag = false;
    EXPECT_TRUE(tav_.cdxHandleExists(handle, &flag));
    return flag;
  }

  std::string folder() {
    std::string path;
    tav_.getDirectoryPath(&path);
    return path;
  }

  // The PCT_NAME of record 0 as the file in `folder` holds it now.
  static std::string savedName(const std::string& folder) {
    CDbf pct;
    EXPECT_TRUE(pct.populate("PCT", folder)) << getErrStr();
    return std::string(pct.fieldText(0, 1));
  }

  test::TempDir dir_;
  CTav tav_;
  std::map<std::string, std::string> source_;  // file name -> bytes written
};

TEST_F(SaveTest, SaveInPlaceWritesModifiedTablesAndRemovesTheirIndexes) {
  const struct stat evtBefore = statOf(dir_.file("EVT.DBF"));
  const struct stat catBefore = statOf(dir_.file("CAT.DBF"));
  renamePerson("Anne");

  ASSERT_TRUE(tav_.saveAll()) << getErrStr();
  EXPECT_EQ(savedName(dir_.path()), "Anne");
  EXPECT_FALSE(modified("PCT"));
  EXPECT_FALSE(indexPresent("PCT"));
  EXPECT_TRUE(indexPresent("EVT"));
  EXPECT_EQ(test::folderEntries(dir_.path()), (Names{"CAT.DBF", "EVT.CDX", "EVT.DBF", "PCT.DBF"}));
  std::int64_t mtime = 0;
  ASSERT_TRUE(tav_.getHandleMtime("PCT", &mtime));
  EXPECT_EQ(mtime, static_cast<std::int64_t>(statOf(dir_.file("PCT.DBF")).st_mtime));

  // The tables that were not edited are not touched at all.
  for (const auto& [name, before] : {std::pair{"EVT.DBF", evtBefore}, {"CAT.DBF", catBefore}}) {
    const struct stat after = statOf(dir_.file(name));
    EXPECT_EQ(after.st_ino, before.st_ino) << name;
    EXPECT_EQ(after.st_mtime, 1000000000) << name;
  }
  EXPECT_EQ(test::readFile(dir_.file("EVT.CDX")), "EVT index");

  // Nothing modified: a second save deletes and writes nothing.
  const struct stat pctBefore = statOf(dir_.file("PCT.DBF"));
  ASSERT_TRUE(tav_.saveAll());
  EXPECT_EQ(test::folderEntries(dir_.path()), (Names{"CAT.DBF", "EVT.CDX", "EVT.DBF", "PCT.DBF"}));
  EXPECT_EQ(statOf(dir_.file("PCT.DBF")).st_ino, pctBefore.st_ino);
}

TEST_F(SaveTest, SaveInPlaceStopsAtTheFirstFailure) {
  renamePerson("Anne");
  ASSERT_TRUE(tav_.updateHandleRecData("CAT", 0, {"CAT_ID=4"}));
  // The file of CAT cannot be replaced; PCT comes after it in handle order.
  std::filesystem::remove(dir_.file("CAT.DBF"));
  std::filesystem::create_directories(dir_.file("CAT.DBF/inside"));
  resetStackTrace("test");
  EXPECT_FALSE(tav_.saveAll());
  EXPECT_NE(getErrStr().find("CAT_save: Unable to complete: " + dir_.file("CAT.DBF")),
            std::string::npos) << getErrStr();
  EXPECT_TRUE(modified("CAT"));
  EXPECT_TRUE(modified("PCT"));
  EXPECT_EQ(test::readFile(dir_.file("PCT.DBF")), source_["PCT.DBF"]);
  EXPECT_EQ(test::folderEntries(dir_.path()),
            (Names{"CAT.DBF", "EVT.CDX", "EVT.DBF", "PCT.CDX", "PCT.DBF"}));
}

TEST_F(SaveTest, SaveAsWritesEveryTableAndCarriesOrDropsIndexes) {
  test::TempDir target;
  test::writeFile(target.file("PCT.CDX"), "stale PCT index");
  test::writeFile(target.file("CAT.CDX"), "stale CAT index");
  test::writeFile(target.file("XYZ.CDX"), "another table's index");
  renamePerson("Anne");

  ASSERT_TRUE(tav_.saveAsAll(target.path())) << getErrStr();
  EXPECT_EQ(folder(), target.path());
  EXPECT_EQ(test::folderEntries(target.path()),
            (Names{"CAT.DBF", "EVT.CDX", "EVT.DBF", "PCT.DBF", "XYZ.CDX"}));
  EXPECT_EQ(test::readFile(target.file("EVT.CDX")), "EVT index");
  EXPECT_EQ(test::readFile(target.file("EVT.DBF")), source_["EVT.DBF"]);
  EXPECT_EQ(test::readFile(target.file("CAT.DBF")), source_["CAT.DBF"]);
  EXPECT_EQ(savedName(target.path()), "Anne");
  EXPECT_FALSE(modified("PCT"));

  // The old folder is left as it was.
  for (const auto& [name, bytes] : source_) {
    EXPECT_EQ(test::readFile(dir_.file(name)), bytes) << name;
  }

  // Later saves go to the new folder.
  ASSERT_TRUE(tav_.updateHandleRecData("EVT", 0, {"EVT_ID=5"}));
  ASSERT_TRUE(tav_.saveAll());
  EXPECT_EQ(test::folderEntries(target.path()), (Names{"CAT.DBF", "EVT.DBF", "PCT.DBF", "XYZ.CDX"}));
  EXPECT_EQ(test::readFile(dir_.file("EVT.CDX")), "EVT index");
  EXPECT_EQ(test::readFile(dir_.file("EVT.DBF")), source_["EVT.DBF"]);
}

// Windows users type folders with "\\"; the tables are read from and
// saved to such a folder like any other.  On POSIX "\\" is part of a name,
// so the test is skipped there.
TEST_F(SaveTest, FolderGivenWithBackslashesOpensAndSaves) {
  if (!test::onWindows()) GTEST_SKIP() << "\\ separates folders only on Windows";
  CTav other;
  ASSERT_TRUE(other.setDirectoryPath(test::withBackslashes(dir_.path()) + "\\"));
  ASSERT_TRUE(other.loadHandle("PCT")) << getErrStr();
  ASSERT_TRUE(other.updateHandleRecData("PCT", 0, {"PCT_NAME=Anne"})) << getErrStr();
  ASSERT_TRUE(other.saveAll()) << getErrStr();
  EXPECT_EQ(savedName(dir_.path()), "Anne");

  test::TempDir target;
  ASSERT_TRUE(other.saveAsAll(test::withBackslashes(target.path()))) << getErrStr();
  EXPECT_EQ(test::folderEntries(target.path()), (Names{"PCT.DBF"}));
  EXPECT_EQ(savedName(test::withBackslashes(target.path())), "Anne");
}

TEST_F(SaveTest, SaveAsToAFolderThatCannotBeWrittenChangesNothing) {
  renamePerson("Anne");
  // A plain file where the folder should be.
  test::writeFile(dir_.file("not-a-folder"), "");
  const std::string target = dir_.file("not-a-folder");
  resetStackTrace("test");
  EXPECT_FALSE(tav_.saveAsAll(target));
  EXPECT_EQ(getErrStr(),
            "CAT_CDbf.save: CAT_save: Unable to open: " + target + "/CAT.DBF - Not a directory");
  EXPECT_EQ(folder(), dir_.path());
  EXPECT_TRUE(modified("PCT"));
  EXPECT_FALSE(modified("CAT"));
  EXPECT_TRUE(indexPresent("PCT"));
}

TEST_F(SaveTest, SaveAsThatStopsHalfWayPutsBackTheModifiedMarks) {
  renamePerson("Anne");
  ASSERT_TRUE(tav_.updateHandleRecData("EVT", 0, {"EVT_ID=5"}));
  // CAT and EVT come before PCT, whose stale index there cannot be removed.
  test::TempDir target;
  std::filesystem::create_directories(target.file("PCT.CDX/inside"));
  resetStackTrace("test");
  EXPECT_FALSE(tav_.saveAsAll(target.path()));
  EXPECT_EQ(getErrStr(), "PCT_CCdx.save: PCT_save: Unable to remove: " +
                             target.file("PCT.CDX") + " - " +
                             test::systemText("Directory not empty", "Permission denied"));
  EXPECT_EQ(folder(), dir_.path());
  // What was written stays written ...
  EXPECT_EQ(test::folderEntries(target.path()), (Names{"CAT.DBF", "EVT.DBF", "PCT.CDX"}));
  // ... but the database is still the old folder, so its edits are still due.
  EXPECT_TRUE(modified("EVT"));
  EXPECT_TRUE(modified("PCT"));
  EXPECT_FALSE(modified("CAT"));

  ASSERT_TRUE(tav_.saveAll()) << getErrStr();
  EXPECT_EQ(savedName(dir_.path()), "Anne");
  CDbf evt;
  ASSERT_TRUE(evt.populate("EVT", dir_.path()));
  EXPECT_EQ(evt.fieldText(0, 0), "5");
  EXPECT_EQ(test::folderEntries(dir_.path()), (Names{"CAT.DBF", "EVT.DBF", "PCT.DBF"}));
}

}  // namespace
}  // namespace tav
