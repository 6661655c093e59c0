// The table writer: stored forms of formatted values, save (what it writes
// and what it leaves alone), the file time and the structural self-check.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "dbf/dbf.h"
#include "support/test_support.h"

namespace tav {
namespace {

using Values = std::vector<std::string>;

// A table whose header and descriptors carry non-zero bytes in every place
// the reader only keeps (reserved bytes, flags, data addresses), so that a
// forced save shows whether they are written back.
std::string keptBytesTable() {
  DbfBuilder table({{"ID", 'N', 4}, {"NAME", 'C', 8}, {"BORN", 'D', 8}, {"OK", 'L', 1},
                    {"MEMO", 'M', 10}});
  table.setVersionByte(0x83).setDate(1999, 12, 31).setCodePage(0x57);
  table.addRecord({"1", "Anna", "19990101", "T", "0000000001"})
      .addRecord({"2", "Bob", "20000202", "F"}, true)
      .addRecord({"3", "Cid", "20010303", "?"});
  std::string bytes = table.bytes();
  for (int i = 12; i < 28; ++i) bytes[i] = static_cast<char>(i);
  bytes[28] = 0x01;
  bytes[30] = static_cast<char>(0xAB);
  bytes[31] = static_cast<char>(0xCD);
  for (int f = 0; f < 5; ++f) {
    char* descriptor = &bytes[32 + 32 * f];
    for (int i = 12; i < 16; ++i) descriptor[i] = static_cast<char>(0x40 + f);
    for (int i = 18; i < 32; ++i) descriptor[i] = static_cast<char>(0x60 + i);
  }
  return bytes;
}

struct stat statOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st;
}

void setMtime(const std::string& path, std::int64_t seconds) {
  struct utimbuf times {};
  times.actime = static_cast<time_t>(seconds);
  times.modtime = static_cast<time_t>(seconds);
  ASSERT_EQ(::utime(path.c_str(), &times), 0) << path;
}

class WriteTest : public ::testing::Test {
 protected:
  void SetUp() override { resetStackTrace("test"); }

  void loadBytes(const std::string& bytes) {
    test::writeFile(path(), bytes);
    ASSERT_TRUE(pct_.populate("PCT", dir_.path())) << getErrStr();
    resetStackTrace("test");
  }
  void load(const DbfBuilder& table) { loadBytes(table.bytes()); }
  std::string path() const { return dir_.file("PCT.DBF"); }
  std::string fileBytes() const { return test::readFile(path()); }

  test::TempDir dir_;
  CDbf pct_;
};

TEST_F(WriteTest, FormatRecordStoresEachTypeInItsFixedForm) {
  DbfBuilder table({{"C", 'C', 6}, {"N", 'N', 6}, {"D", 'D', 8}, {"L", 'L', 1}, {"F", 'F', 5}});
  table.addRecord({"x", "1", "20000101", "F", "9.5"});
  load(table);
  const std::size_t at = table.headerLength();
  const int length = table.recordLength();

  ASSERT_TRUE(pct_.updateRec(0, {"C=abc", "N=12", "D=20140228", "L=y", "F=1.25"}));
  ASSERT_TRUE(pct_.save(false, dir_.path()));
  // C left-aligned, N and F right-aligned (F has no decimals: 1.25 is
  // rounded to 1), D and L as given.
  EXPECT_EQ(fileBytes().substr(at, length), " abc       1220140228y    1");

  // A character value is cut to its field; a number never is.
  ASSERT_TRUE(pct_.updateRec(0, {"C=abcdefghi", "N=123456"}));
  EXPECT_FALSE(pct_.updateRec(0, {"N=1234567"}));
  ASSERT_TRUE(pct_.save(false, dir_.path()));
  EXPECT_EQ(fileBytes().substr(at, length), " abcdef12345620140228y    1");

  resetStackTrace("test");
  EXPECT_FALSE(pct_.formatRecord(0, {{-1, "x"}}));
  EXPECT_EQ(getErrStr(), "CDbf.formatRecord: PCT_formatRecord: Invalid field index: -1");
  EXPECT_FALSE(pct_.formatRecord(0, {{5, "x"}}));
  EXPECT_TRUE(pct_.formatRecord(0, {}));
  ASSERT_TRUE(pct_.save(true, dir_.path()));
  EXPECT_EQ(fileBytes().substr(at, length), " abcdef12345620140228y    1");
}

TEST_F(WriteTest, SaveOfAnUnmodifiedTableWithoutForceTouchesNoFile) {
  load(DbfBuilder({{"ID", 'N', 4}}).addRecord({"1"}));
  setMtime(path(), 1000000000);
  ASSERT_TRUE(pct_.updateMtime(dir_.path()));
  const struct stat before = statOf(path());

  test::TempDir other;
  EXPECT_TRUE(pct_.save(false, dir_.path()));
  EXPECT_TRUE(pct_.save(false, other.path()));
  const struct stat after = statOf(path());
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtime, 1000000000);
  EXPECT_EQ(test::folderEntries(other.path()), std::vector<std::string>{});
  EXPECT_EQ(pct_.getMtime(), 1000000000);
}

TEST_F(WriteTest, ForcedSaveOfAWellFormedTableIsByteIdentical) {
  const std::string source = keptBytesTable();
  loadBytes(source);
  setMtime(path(), 1000000000);

  ASSERT_TRUE(pct_.save(true, dir_.path())) << getErrStr();
  EXPECT_EQ(fileBytes(), source);
  EXPECT_FALSE(pct_.isModified());
  // The file time is that of the file just written.
  EXPECT_EQ(pct_.getMtime(), static_cast<std::int64_t>(statOf(path()).st_mtime));
  EXPECT_NE(pct_.getMtime(), 1000000000);

  test::TempDir other;
  ASSERT_TRUE(pct_.save(true, other.path()));
  EXPECT_EQ(test::readFile(other.file("PCT.DBF")), source);
  EXPECT_EQ(test::folderEntries(other.path()), std::vector<std::string>{"PCT.DBF"});

  // A table without records as well.
  const std::string empty = DbfBuilder({{"EVT_ID", 'N', 4}}).bytes();
  test::writeFile(dir_.file("EVT.DBF"), empty);
  CDbf evt;
  ASSERT_TRUE(evt.populate("EVT", dir_.path()));
  ASSERT_TRUE(evt.save(true, other.path()));
  EXPECT_EQ(test::readFile(other.file("EVT.DBF")), empty);
}

TEST_F(WriteTest, SaveKeepsDeletedRecordsUntilTheTableIsCompressed) {
  DbfBuilder table({{"ID", 'N', 4}});
  table.setDate(1999, 12, 31).addRecord({"1"}).addRecord({"2"}).addRecord({"3"});
  load(table);
  const std::size_t at = table.headerLength();
  const int length = table.recordLength();

  ASSERT_TRUE(pct_.deleteRec(1));
  ASSERT_TRUE(pct_.save(false, dir_.path()));
  std::string bytes = fileBytes();
  EXPECT_EQ(bytes.substr(at, 3 * length), "    1*   2    3");
  EXPECT_EQ(bytes[4], 3);

  ASSERT_TRUE(pct_.compressRecs());
  ASSERT_TRUE(pct_.save(false, dir_.path()));
  bytes = fileBytes();
  EXPECT_EQ(bytes.size(), at + 2 * length + 1);
  EXPECT_EQ(bytes.substr(at), "    1    3\x1A");
  EXPECT_EQ(bytes[4], 2);
  // The date of last update is written back as read, not stamped.
  EXPECT_EQ(bytes.substr(1, 3), "\x63\x0C\x1F");
  EXPECT_FALSE(pct_.isModified());
}

TEST_F(WriteTest, SaveWritesTheHeaderGapAsZeros) {
  DbfBuilder table({{"ID", 'N', 4}});
  table.setHeaderGap(5).addRecord({"1"});
  std::string source = table.bytes();
  const std::size_t gap = 32 + 32 + 1;
  source.replace(gap, 5, "QQQQQ");
  loadBytes(source);
  ASSERT_TRUE(pct_.save(true, dir_.path()));
  std::string expected = source;
  expected.replace(gap, 5, std::string(5, '\0'));
  EXPECT_EQ(fileBytes(), expected);
}

TEST_F(WriteTest, SaveWritesTheCountedRecordsOnly) {
  // The header counts one of the two records held.
  DbfBuilder table({{"ID", 'N', 4}});
  table.addRecord({"1"}).addRecord({"2"}).overrideRecordCount(1);
  load(table);
  ASSERT_TRUE(pct_.save(true, dir_.path()));
  DbfBuilder expected({{"ID", 'N', 4}});
  expected.addRecord({"1"});
  EXPECT_EQ(fileBytes(), expected.bytes());

  // Repaired, the count covers both.
  CDbf repaired;
  ASSERT_TRUE(table.writeFile(dir_.file("EVT.DBF")));
  ASSERT_TRUE(repaired.populate("EVT", dir_.path()));
  ASSERT_EQ(repaired.verify(true), 1);
  ASSERT_TRUE(repaired.save(false, dir_.path()));
  EXPECT_EQ(test::readFile(dir_.file("EVT.DBF")),
            DbfBuilder({{"ID", 'N', 4}}).addRecord({"1"}).addRecord({"2"}).bytes());
}

TEST_F(WriteTest, FailedSaveReportsAndKeepsTheTableModified) {
  load(DbfBuilder({{"ID", 'N', 4}}).addRecord({"1"}));
  ASSERT_TRUE(pct_.updateRec(0, {"ID=2"}));

  resetStackTrace("test");
  EXPECT_FALSE(pct_.save(true, ""));
  EXPECT_EQ(getErrStr(), "PCT_CDbf.save: PCT_save: Empty path.");

  const std::string missing = dir_.file("missing");
  resetStackTrace("test");
  EXPECT_FALSE(pct_.save(false, missing));
  EXPECT_EQ(getErrStr(), "PCT_CDbf.save: PCT_save: Unable to open: " + missing +
                             "/PCT.DBF - No such file or directory");
  EXPECT_TRUE(pct_.isModified());

  // The new file cannot take the place of the target: nothing is left behind.
  test::TempDir other;
  std::filesystem::create_directories(other.file("PCT.DBF/inside"));
  resetStackTrace("test");
  EXPECT_FALSE(pct_.save(false, other.path()));
  EXPECT_EQ(getErrStr(), "PCT_CDbf.save: PCT_save: Unable to complete: " +
                             other.file("PCT.DBF") + " - Is a directory");
  EXPECT_EQ(test::folderEntries(other.path()), std::vector<std::string>{"PCT.DBF"});
  EXPECT_TRUE(pct_.isModified());

  // The folder path may end in a slash.
  ASSERT_TRUE(pct_.save(false, dir_.path() + "/"));
  EXPECT_FALSE(pct_.isModified());
  EXPECT_EQ(test::folderEntries(dir_.path()), std::vector<std::string>{"PCT.DBF"});
}

TEST_F(WriteTest, ATableThatWasNeverReadIsNotWritten) {
  test::writeFile(dir_.file("PCT.DBF"), "short");
  CDbf refused;
  ASSERT_FALSE(refused.populate("PCT", dir_.path()));
  test::TempDir other;
  resetStackTrace("test");
  EXPECT_FALSE(refused.save(true, other.path()));
  EXPECT_EQ(getErrStr(), "PCT_CDbf.save: PCT_save: No table loaded.");
  EXPECT_TRUE(test::folderEntries(other.path()).empty());
}

TEST_F(WriteTest, UpdateMtimeRecordsTheFileTimeOrZero) {
  load(DbfBuilder({{"ID", 'N', 4}}));
  setMtime(path(), 1234567890);
  EXPECT_NE(pct_.getMtime(), 1234567890);
  ASSERT_TRUE(pct_.updateMtime(dir_.path()));
  EXPECT_EQ(pct_.getMtime(), 1234567890);

  test::TempDir empty;
  ASSERT_TRUE(pct_.updateMtime(empty.path()));
  EXPECT_EQ(pct_.getMtime(), 0);

  resetStackTrace("test");
  EXPECT_FALSE(pct_.updateMtime(""));
  EXPECT_EQ(getErrStr(), "PCT_CDbf.updateMtime: PCT_updateMtime: Empty path.");
}

TEST_F(WriteTest, VerifyReportsAndRepairsTheHeader) {
  DbfBuilder sound({{"ID", 'N', 4}, {"OK", 'L', 1}});
  sound.addRecord({"1", "T"}).addRecord({"2", "F"});
  load(sound);
  EXPECT_EQ(pct_.verify(false), 1);
  EXPECT_FALSE(pct_.isModified());

  // A count that differs from the records held: reported, or repaired.
  DbfBuilder wrongCount = sound;
  wrongCount.overrideRecordCount(5).setHeaderGap(1);
  load(wrongCount);
  EXPECT_EQ(pct_.verify(false), -1);
  EXPECT_EQ(pct_.getNumRecs(), 5u);
  EXPECT_FALSE(pct_.isModified());
  EXPECT_EQ(pct_.verify(true), 1);  // repaired; no further checks
  EXPECT_EQ(pct_.getNumRecs(), 2u);
  EXPECT_TRUE(pct_.isModified());
  EXPECT_EQ(pct_.verify(false), -2);  // the gap is found on the next check

  DbfBuilder gap = sound;
  load(gap.setHeaderGap(3));
  EXPECT_EQ(pct_.verify(true), -2);
  EXPECT_FALSE(pct_.isModified());

  load(DbfBuilder({{"ID", 'N', 4}, {"PIC", 'G', 10}}).addRecord({"1"}));
  EXPECT_EQ(pct_.verify(true), -3);
}

}  // namespace
}  // namespace tav
