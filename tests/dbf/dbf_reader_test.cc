// Reading a table file into memory: the file layout the reader accepts, every
// message of a refused file (with the call trace it leaves), the checks that
// keep a hostile layout from reaching outside a record, and the header
// queries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/failure_record.h"
#include "dbf/dbf.h"
#include "dbf/file_io.h"
#include "support/test_support.h"

namespace tav {
namespace {

using test::TempDir;

const char kStatHint[] = "\nPlease run OmfCalcFs on this database and try again.";

// A folder with one table file and the result of reading it.
class ReaderTest : public ::testing::Test {
 protected:
  // Writes `bytes` as PCT.DBF and reads it back; the trace starts at "cmd".
  bool load(const std::string& bytes) {
    test::writeFile(dir_.file("PCT.DBF"), bytes);
    return populate();
  }
  bool load(const DbfBuilder& builder) { return load(builder.bytes()); }
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

  TempDir dir_;
  CDbf table_;
};

DbfBuilder twoFields() { return DbfBuilder({{"PCT_ID", 'N', 6}, {"PCT_NAME", 'C', 10}}); }

// The 32-byte table header alone, with the given header and record lengths.
std::string headerBytes(int headerLength, int recordLength, unsigned count = 0) {
  std::string h(32, '\0');
  h[0] = 0x03;
  h[4] = static_cast<char>(count & 0xFF);
  h[8] = static_cast<char>(headerLength & 0xFF);
  h[9] = static_cast<char>((headerLength >> 8) & 0xFF);
  h[10] = static_cast<char>(recordLength & 0xFF);
  h[11] = static_cast<char>((recordLength >> 8) & 0xFF);
  return h;
}

std::string descriptorBytes(const char* name, char type, int length) {
  std::string d(32, '\0');
  std::memcpy(&d[0], name, std::strlen(name));
  d[11] = type;
  d[16] = static_cast<char>(length);
  return d;
}

// ---- Well-formed files -----------------------------------------------------

TEST_F(ReaderTest, LoadsHeaderFieldsAndRecordsAsStored) {
  DbfBuilder b = twoFields();
  b.addRecord({"1", "Anna"}).addRecord({"2", "Bob"}, true).addRecord({"3", "Cleo"});
  b.setVersionByte(0x30).setCodePage(0x57);
  ASSERT_TRUE(load(b)) << getErrStr();
  EXPECT_EQ(getStackTrace(), "cmd ");

  EXPECT_EQ(table_.code(), "PCT");
  EXPECT_EQ(table_.getNumRecs(), 3u);
  EXPECT_EQ(table_.numRecordsHeld(), 3u);
  EXPECT_EQ(table_.getNumFields(), 2);
  EXPECT_EQ(table_.getNumDelRecs(), 1);
  EXPECT_FALSE(table_.isModified());
  EXPECT_EQ(table_.header().version, 0x30);
  EXPECT_EQ(table_.header().codePage, 0x57);
  EXPECT_EQ(table_.header().headerLength, 32 + 2 * 32 + 1);
  EXPECT_EQ(table_.header().recordLength, 17);

  const DbfField& id = table_.fields()[0];
  const DbfField& name = table_.fields()[1];
  EXPECT_EQ(id.storedName(), "PCT_ID");
  EXPECT_EQ(id.type, 'N');
  EXPECT_EQ(id.length, 6);
  EXPECT_EQ(id.offset, 1u);
  EXPECT_EQ(name.offset, 7u);  // 1 + the length of PCT_ID

  EXPECT_EQ(table_.fieldText(0, 0), "1");
  EXPECT_EQ(table_.fieldText(0, 1), "Anna");
  EXPECT_TRUE(table_.isDeleted(1));
  EXPECT_TRUE(table_.isActive(2));
  EXPECT_EQ(table_.fieldText(2, 1), "Cleo");

  std::int64_t mtime = 0;
  ASSERT_TRUE(fileMtime(dir_.file("PCT.DBF"), &mtime));
  EXPECT_EQ(table_.getMtime(), mtime);
}

TEST_F(ReaderTest, TableWithoutRecordsLoadsEmpty) {
  ASSERT_TRUE(load(twoFields())) << getErrStr();
  EXPECT_EQ(table_.getNumRecs(), 0u);
  EXPECT_EQ(table_.numRecordsHeld(), 0u);
  EXPECT_EQ(table_.getNumFields(), 2);
}

TEST_F(ReaderTest, RecordsStartAtTheHeaderLengthAfterAGap) {
  DbfBuilder b = twoFields();
  b.addRecord({"7", "Gap"}).setHeaderGap(263);
  ASSERT_TRUE(load(b)) << getErrStr();
  EXPECT_EQ(table_.header().headerLength, 32 + 64 + 1 + 263);
  ASSERT_EQ(table_.numRecordsHeld(), 1u);
  EXPECT_EQ(table_.fieldText(0, 0), "7");
  EXPECT_EQ(table_.fieldText(0, 1), "Gap");
}

// Bytes read past the header terminator inside the same 32-byte read do not
// matter: records are found through the header length.
TEST_F(ReaderTest, TerminatorMayEndAShortLastRead) {
  std::string bytes = headerBytes(32 + 32 + 1, 4, 1) + descriptorBytes("A", 'C', 3);
  bytes += "\x0D";
  bytes += " abc\x1A";
  ASSERT_TRUE(load(bytes)) << getErrStr();
  ASSERT_EQ(table_.numRecordsHeld(), 1u);
  EXPECT_EQ(table_.fieldText(0, 0), "abc");
}

TEST_F(ReaderTest, AcceptsAnyVersionByteAndFieldType) {
  DbfBuilder b({{"MEMO", 'M', 10}, {"FLAG", 'L', 1}, {"WHEN", 'D', 8}});
  b.addRecord({"0000000001", "T", "20141105"}).setVersionByte(0xF5);
  ASSERT_TRUE(load(b)) << getErrStr();
  EXPECT_EQ(table_.fields()[0].type, 'M');
  EXPECT_EQ(table_.fieldText(0, 2), "20141105");
}

TEST_F(ReaderTest, FieldNamesAreFoundTrimmedAndTheLaterDuplicateWins) {
  DbfBuilder b({{"NAME   ", 'C', 4}, {" PAD\t", 'C', 2}, {"DUP", 'C', 1}, {"DUP", 'C', 1},
                {"ELEVENCHARS", 'C', 1}});
  b.addRecord({"abcd", "xy", "1", "2", "z"});
  ASSERT_TRUE(load(b)) << getErrStr();
  EXPECT_EQ(table_.findField("NAME"), 0);
  EXPECT_EQ(table_.findField("NAME   "), -1);
  EXPECT_EQ(table_.findField("PAD"), 1);
  EXPECT_EQ(table_.findField("DUP"), 3);
  EXPECT_EQ(table_.findField("ELEVENCHARS"), 4);
  EXPECT_EQ(table_.fields()[0].storedName(), "NAME   ");  // stored bytes kept
  EXPECT_EQ(table_.getNumFields(), 5);
}

TEST_F(ReaderTest, HeaderDateIsMonthDayYear) {
  struct Case {
    int year, month, day;
    const char* expected;
  };
  const Case cases[] = {{2014, 11, 5, "11-05-14"},
                        {2009, 1, 2, "01-02-09"},
                        {2000, 12, 31, "12-31-00"},
                        {1999, 6, 7, "06-07-99"}};  // year byte 99: its own digits
  for (const Case& c : cases) {
    DbfBuilder b = twoFields();
    b.setDate(c.year, c.month, c.day);
    ASSERT_TRUE(load(b)) << getErrStr();
    std::string date;
    resetStackTrace("cmd");
    EXPECT_TRUE(table_.getHdate(&date));
    EXPECT_EQ(date, c.expected);
    EXPECT_EQ(getStackTrace(), "cmd ");
  }
}

// Deleted records are counted among the header's record count only; the
// header count is kept as read, whatever the number of records held.
TEST_F(ReaderTest, DeletedRecordsAreCountedWithinTheHeaderCount) {
  DbfBuilder b = twoFields();
  b.addRecord({"1"}, true).addRecord({"2"}).addRecord({"3"}, true).addRecord({"4"}, true);
  b.overrideRecordCount(2);
  ASSERT_TRUE(load(b)) << getErrStr();
  EXPECT_EQ(table_.getNumRecs(), 2u);
  EXPECT_EQ(table_.numRecordsHeld(), 4u);
  EXPECT_EQ(table_.getNumDelRecs(), 1);

  b.overrideRecordCount(10);
  ASSERT_TRUE(load(b)) << getErrStr();
  EXPECT_EQ(table_.getNumRecs(), 10u);
  EXPECT_EQ(table_.numRecordsHeld(), 4u);
  EXPECT_EQ(table_.getNumDelRecs(), 3);
}

// A table without fields has one-byte records, which cannot be told from the
// file terminator by their size: the first 0x1A flag byte ends the records.
TEST_F(ReaderTest, OneByteRecordsEndAtTheFirstTerminatorByte) {
  DbfBuilder b({});
  ASSERT_TRUE(load(b)) << getErrStr();
  EXPECT_EQ(table_.numRecordsHeld(), 0u);

  b.addRecord({}).addRecord({}, true);
  ASSERT_TRUE(load(b)) << getErrStr();
  EXPECT_EQ(table_.numRecordsHeld(), 2u);
  EXPECT_EQ(table_.getNumDelRecs(), 1);

  ASSERT_FALSE(load(b.setTerminator(false)));
  EXPECT_EQ(getErrStr(),
            "CDbf.readRecords: PCT_readRecords: Unable to read enough record data: Success  "
            "count=0  rsize=1");
  expectEmpty();
}

TEST_F(ReaderTest, LargestLengthsLoad) {
  // A record of 65535 bytes holding 256 fields of 255 bytes (and 254 spare
  // bytes), behind a header of 65535 bytes.
  std::vector<DbfFieldDef> fields;
  for (int i = 0; i < 256; ++i) fields.push_back({"F" + std::to_string(i), 'C', 255});
  DbfBuilder b(fields);
  b.addRecord({"first"});
  b.setHeaderGap(65535 - b.headerLength());
  b.overrideRecordLength(65535);
  std::string bytes = b.bytes();
  bytes.insert(bytes.size() - 1, std::string(254, '#'));  // the record's unused bytes
  ASSERT_TRUE(load(bytes)) << getErrStr();
  EXPECT_EQ(table_.header().headerLength, 65535);
  EXPECT_EQ(table_.header().recordLength, 65535);
  ASSERT_EQ(table_.numRecordsHeld(), 1u);
  EXPECT_EQ(table_.fieldText(0, 0), "first");
  EXPECT_EQ(table_.fields()[255].offset, 1u + 255 * 255);
}

// ---- Files that cannot be read ---------------------------------------------

TEST_F(ReaderTest, EmptyFolderIsRefused) {
  resetStackTrace("cmd");
  ASSERT_FALSE(table_.populate("PCT", ""));
  EXPECT_EQ(getErrStr(), "PCT_CDbf.populate: PCT_populate: Empty path.");
  EXPECT_TRUE(isErrFatal());
  EXPECT_EQ(getStackTrace(), "cmd PCT_CDbf.populate ");
  expectEmpty();
}

TEST_F(ReaderTest, MissingFileAsksForTheScoringProgramWithoutPrefix) {
  ASSERT_FALSE(populate());
  EXPECT_EQ(getErrStr(), "Unable to stat: " + dir_.file("PCT.DBF") + kStatHint);
  EXPECT_TRUE(isErrFatal());
  EXPECT_EQ(getStackTrace(), "cmd PCT_CDbf.populate ");
  expectEmpty();
}

TEST_F(ReaderTest, FolderPathIsJoinedWithOneSlash) {
  resetStackTrace("cmd");
  ASSERT_FALSE(table_.populate("PCT", dir_.path() + "/"));
  EXPECT_EQ(getErrStr(), "Unable to stat: " + dir_.file("PCT.DBF") + kStatHint);
}

TEST_F(ReaderTest, ShortHeaderIsRefused) {
  for (std::size_t size : {0, 1, 31}) {
    ASSERT_FALSE(load(std::string(size, ' ')));
    EXPECT_EQ(getErrStr(), "CDbf.readHeader: PCT_readHeader: Unable to read header: Success");
    EXPECT_EQ(getStackTrace(), "cmd PCT_CDbf.populate CDbf.readHeader ");
    expectEmpty();
  }
}

TEST_F(ReaderTest, EndOfFileWhereADescriptorShouldBeIsRefused) {
  // Right after the header, and after one complete descriptor.
  for (const std::string& bytes :
       {headerBytes(65, 4), headerBytes(65, 4) + descriptorBytes("A", 'C', 3)}) {
    ASSERT_FALSE(load(bytes));
    EXPECT_EQ(getErrStr(),
              "CDbf.readHeader: PCT_readHeader: Unable to read any field data: Success");
    EXPECT_EQ(getStackTrace(), "cmd PCT_CDbf.populate CDbf.readHeader ");
    expectEmpty();
  }
}

TEST_F(ReaderTest, ShortDescriptorIsRefused) {
  ASSERT_FALSE(load(headerBytes(65, 4) + descriptorBytes("A", 'C', 3).substr(0, 20)));
  EXPECT_EQ(getErrStr(),
            "CDbf.readHeader: PCT_readHeader: Unable to read enough field data: Success");
  EXPECT_EQ(getStackTrace(), "cmd PCT_CDbf.populate CDbf.readHeader ");
  expectEmpty();
}

TEST_F(ReaderTest, RecordCutShortIsRefusedWithItsLength) {
  DbfBuilder b = twoFields();
  b.addRecord({"1", "Anna"}).addRecord({"2", "Bob"});
  std::string bytes = b.bytes();
  bytes.resize(bytes.size() - 1 - 5);  // no terminator, last record 12 of 17 bytes
  ASSERT_FALSE(load(bytes));
  EXPECT_EQ(getErrStr(),
            "CDbf.readRecords: PCT_readRecords: Unable to read enough record data: Success  "
            "count=12  rsize=17");
  EXPECT_EQ(getStackTrace(), "cmd PCT_CDbf.populate CDbf.readRecords ");
  expectEmpty();
}

TEST_F(ReaderTest, FileEndingWithoutTerminatorIsRefusedWithCountZero) {
  DbfBuilder b = twoFields();
  b.addRecord({"1", "Anna"}).setTerminator(false);
  ASSERT_FALSE(load(b));
  EXPECT_EQ(getErrStr(),
            "CDbf.readRecords: PCT_readRecords: Unable to read enough record data: Success  "
            "count=0  rsize=17");
  expectEmpty();

  // Also when the records should start beyond the end of the file.
  ASSERT_FALSE(load(twoFields().setHeaderGap(40).bytes().substr(0, 100)));
  EXPECT_EQ(getErrStr(),
            "CDbf.readRecords: PCT_readRecords: Unable to read enough record data: Success  "
            "count=0  rsize=17");
}

// The terminator must be the last byte: whatever follows it is read as
// records, and a short rest is a short record.
TEST_F(ReaderTest, BytesAfterTheTerminator) {
  DbfBuilder b = twoFields();
  b.addRecord({"1", "Anna"});
  ASSERT_FALSE(load(b.bytes() + "xyz"));
  EXPECT_EQ(getErrStr(),
            "CDbf.readRecords: PCT_readRecords: Unable to read enough record data: Success  "
            "count=4  rsize=17");
  expectEmpty();

  // Exactly one more record length after the terminator: one more record.
  ASSERT_TRUE(load(b.bytes() + std::string(16, 'q') + "\x1A")) << getErrStr();
  ASSERT_EQ(table_.numRecordsHeld(), 2u);
  EXPECT_EQ(table_.getNumRecs(), 1u);
  EXPECT_EQ(table_.fieldText(1, 0), "qqqqqq");
}

// ---- Layouts that would let a field reach outside its record ----------------

TEST_F(ReaderTest, RecordLengthZeroIsRefused) {
  DbfBuilder b = twoFields();
  b.addRecord({"1", "Anna"}).overrideRecordLength(0);
  ASSERT_FALSE(load(b));
  EXPECT_EQ(getErrStr(), "CDbf.readHeader: PCT_readHeader: Invalid record length: 0");
  EXPECT_EQ(getStackTrace(), "cmd PCT_CDbf.populate CDbf.readHeader ");
  expectEmpty();
}

TEST_F(ReaderTest, FieldsLongerThanTheRecordAreRefused) {
  DbfBuilder b = twoFields();
  b.addRecord({"1", "Anna"}).overrideRecordLength(16);  // needs 17
  ASSERT_FALSE(load(b));
  EXPECT_EQ(getErrStr(),
            "CDbf.readHeader: PCT_readHeader: Fields do not fit in the record: fsize=17  rsize=16");
  expectEmpty();

  // Many wide fields: their sum overflows no counter on the way.
  std::vector<DbfFieldDef> wide(300, DbfFieldDef{"W", 'C', 255});
  DbfBuilder w(wide);
  w.overrideRecordLength(65535);
  ASSERT_FALSE(load(w));
  EXPECT_EQ(getErrStr(), "CDbf.readHeader: PCT_readHeader: Fields do not fit in the record: "
                         "fsize=76501  rsize=65535");
  expectEmpty();
}

TEST_F(ReaderTest, HeaderLengthCuttingIntoTheDescriptorsIsRefused) {
  DbfBuilder b = twoFields();
  b.addRecord({"1", "Anna"});
  for (int hsize : {0, 32, 64, 96}) {
    b.overrideHeaderLength(hsize);
    ASSERT_FALSE(load(b));
    EXPECT_EQ(getErrStr(),
              "CDbf.readHeader: PCT_readHeader: Header length too small for the field "
              "descriptors: hsize=" + std::to_string(hsize));
    EXPECT_EQ(getStackTrace(), "cmd PCT_CDbf.populate CDbf.readHeader ");
    expectEmpty();
  }
}

// Descriptors that never end: the header length stops the reading, or the
// end of the file does.
TEST_F(ReaderTest, DescriptorsWithoutTerminatorAreRefused) {
  std::string bytes = headerBytes(200, 40);
  for (int i = 0; i < 100; ++i) bytes += descriptorBytes("X", 'C', 1);
  ASSERT_FALSE(load(bytes));
  EXPECT_EQ(getErrStr(), "CDbf.readHeader: PCT_readHeader: Header length too small for the "
                         "field descriptors: hsize=200");
  expectEmpty();

  bytes = headerBytes(65535, 65535);
  for (int i = 0; i < 10; ++i) bytes += descriptorBytes("X", 'C', 1);
  ASSERT_FALSE(load(bytes));
  EXPECT_EQ(getErrStr(),
            "CDbf.readHeader: PCT_readHeader: Unable to read any field data: Success");
  expectEmpty();
}

TEST_F(ReaderTest, HugeLengthsBeyondTheFileAreRefused) {
  DbfBuilder b = twoFields();
  b.addRecord({"1", "Anna"}).addRecord({"2", "Bob"});
  b.overrideHeaderLength(65535);
  ASSERT_FALSE(load(b));
  EXPECT_EQ(getErrStr(),
            "CDbf.readRecords: PCT_readRecords: Unable to read enough record data: Success  "
            "count=0  rsize=17");
  expectEmpty();

  DbfBuilder r = twoFields();
  r.addRecord({"1", "Anna"}).addRecord({"2", "Bob"}).overrideRecordLength(65535);
  r.overrideRecordCount(0xFFFFFFFF);
  ASSERT_FALSE(load(r));
  EXPECT_EQ(getErrStr(),
            "CDbf.readRecords: PCT_readRecords: Unable to read enough record data: Success  "
            "count=35  rsize=65535");
  expectEmpty();
}

// A second read of the same object replaces everything the first one held.
TEST_F(ReaderTest, ReadingAgainReplacesTheTable) {
  DbfBuilder b = twoFields();
  b.addRecord({"1", "Anna"}).addRecord({"2", "Bob"});
  ASSERT_TRUE(load(b)) << getErrStr();
  table_.setModified();
  ASSERT_TRUE(load(DbfBuilder({{"OTHER", 'C', 3}}).addRecord({"abc"}))) << getErrStr();
  EXPECT_FALSE(table_.isModified());
  EXPECT_EQ(table_.getNumFields(), 1);
  EXPECT_EQ(table_.findField("PCT_ID"), -1);
  EXPECT_EQ(table_.findField("OTHER"), 0);
  ASSERT_EQ(table_.numRecordsHeld(), 1u);
  EXPECT_EQ(table_.fieldText(0, 0), "abc");

  ASSERT_FALSE(load(b.setTerminator(false)));
  expectEmpty();
  EXPECT_EQ(table_.findField("OTHER"), -1);
}

}  // namespace
}  // namespace tav
