// Field lookup, field text and reading single records of a loaded table.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "dbf/dbf.h"
#include "support/test_support.h"

namespace tav {
namespace {

using Values = std::vector<std::string>;

class FieldsTest : public ::testing::Test {
 protected:
  void SetUp() override { resetStackTrace("test"); }

  // Writes `table` as PCT.DBF and loads it.
  void load(const DbfBuilder& table) {
    ASSERT_TRUE(table.writeFile(dir_.file("PCT.DBF")));
    ASSERT_TRUE(pct_.populate("PCT", dir_.path())) << getErrStr();
    resetStackTrace("test");
  }

  // The field text of every field of record `r`, by index.
  Values texts(int r) {
    Values out;
    for (int f = 0; f < pct_.getNumFields(); ++f) out.emplace_back(pct_.fieldText(r, f));
    return out;
  }

  test::TempDir dir_;
  CDbf pct_;
};

TEST_F(FieldsTest, FieldLookupUsesTrimmedNamesAndKeepsTheLaterDuplicate) {
  load(DbfBuilder({{"ID", 'N', 6},
                   {"NAME  ", 'C', 20},   // stored with trailing blanks
                   {"DUP", 'C', 3},
                   {"DUP", 'N', 4},
                   {"ABCDEFGHIJK", 'C', 2}}));  // 11 bytes, no NUL stored

  EXPECT_EQ(pct_.getFieldIndex("ID"), 0);
  EXPECT_EQ(pct_.getFieldIndex("NAME"), 1);
  EXPECT_EQ(pct_.getFieldIndex("DUP"), 3);
  EXPECT_EQ(pct_.getFieldIndex("ABCDEFGHIJK"), 4);

  // The lookup is exact: case counts and the caller's blanks are not trimmed.
  resetStackTrace("test");
  EXPECT_EQ(pct_.getFieldIndex("NAME  "), -1);
  EXPECT_EQ(getErrStr(), "PCT_CDbf.getFieldIndex: PCT_getFieldIndex: Invalid field name: NAME  ");
  EXPECT_EQ(pct_.getFieldIndex("id"), -1);

  // Names read out are the stored ones, duplicates included.
  Values names;
  ASSERT_TRUE(pct_.getFieldNames(&names));
  EXPECT_EQ(names, (Values{"ID", "NAME  ", "DUP", "DUP", "ABCDEFGHIJK"}));

  std::vector<int> indexes;
  ASSERT_TRUE(pct_.getFieldIndexes({"DUP", "ID"}, &indexes));
  EXPECT_EQ(indexes, (std::vector<int>{3, 0}));
  EXPECT_FALSE(pct_.getFieldIndexes({"ID", "NOPE", "NAME"}, &indexes));
  EXPECT_TRUE(test::keptErrorHas("PCT_getFieldIndexes: Invalid field name: NOPE"));
}

TEST_F(FieldsTest, FieldParamsGiveStoredNameTypeLengthAndOffset) {
  load(DbfBuilder({{"ID", 'N', 6}, {"NAME  ", 'C', 20}, {"BORN", 'D', 8}}));
  std::string name;
  char type = 0;
  int length = 0, offset = 0;
  ASSERT_TRUE(pct_.getFieldParams(1, &name, &type, &length, &offset));
  EXPECT_EQ(name, "NAME  ");
  EXPECT_EQ(type, 'C');
  EXPECT_EQ(length, 20);
  EXPECT_EQ(offset, 7);
  ASSERT_TRUE(pct_.getFieldParams(2, &name, &type, &length, &offset));
  EXPECT_EQ(offset, 27);

  // The message keeps its historical spelling.
  for (int bad : {-1, 3}) {
    resetStackTrace("test");
    EXPECT_FALSE(pct_.getFieldParams(bad, &name, &type, &length, &offset));
    EXPECT_EQ(getErrStr(), "PCT_CDbf.getFieldParams: PCT_getFieldPrams: Invalid field index: " +
                               std::to_string(bad));
  }
}

TEST_F(FieldsTest, FieldTextTrimsBlanksTabsAndNulsAndEndsAtAnInnerNul) {
  load(DbfBuilder({{"A", 'C', 10}, {"B", 'C', 10}, {"C", 'C', 10}, {"D", 'C', 10},
                   {"E", 'C', 10}, {"F", 'N', 8}, {"G", 'D', 8}, {"H", 'L', 1}})
           .addRecord({std::string("\0\0 ab c\t", 8),   // leading NULs and blank
                       std::string("ab\0cd", 5),        // ends at the inner NUL
                       std::string("ab \0 cd", 7),      // ... then trailing blank
                       "\t\t",                          // nothing but tabs
                       "a\tb",                          // inner tab stays
                       "12.50", "20140229", "T"})
           .addRecord({}));
  EXPECT_EQ(texts(0), (Values{"ab c", "ab", "ab", "", "a\tb", "12.50", "20140229", "T"}));
  EXPECT_EQ(texts(1), (Values{"", "", "", "", "", "", "", ""}));
}

TEST_F(FieldsTest, MapRecDataReadsOneRecordByStoredName) {
  load(DbfBuilder({{"ID", 'N', 4}, {"NAME  ", 'C', 10}, {"DUP", 'C', 3}, {"DUP", 'C', 3}})
           .addRecord({"7", "Anna", "one", "two"})
           .addRecord({"8", "Bob"}, true));
  bool deleted = true;
  std::map<std::string, std::string> values;
  ASSERT_TRUE(pct_.getMapRecData(0, &deleted, &values));
  EXPECT_FALSE(deleted);
  // The earlier of two equal names keeps its entry.
  EXPECT_EQ(values, (std::map<std::string, std::string>{
                        {"ID", "7"}, {"NAME  ", "Anna"}, {"DUP", "one"}}));
  ASSERT_TRUE(pct_.getMapRecData(1, &deleted, &values));
  EXPECT_TRUE(deleted);
  EXPECT_EQ(values["NAME  "], "Bob");

  for (int bad : {-1, 2}) {
    resetStackTrace("test");
    EXPECT_FALSE(pct_.getMapRecData(bad, &deleted, &values));
    EXPECT_EQ(getErrStr(), "PCT_CDbf.getMapRecData: PCT_getMapRecData: Invalid record number: " +
                               std::to_string(bad));
  }
}

TEST_F(FieldsTest, SingleRecDataListsFieldsOrTheWholeRecord) {
  load(DbfBuilder({{"ID", 'N', 4}, {"NAME", 'C', 10}, {"SEX", 'C', 1}, {"KIND", 'N', 1},
                   {"FLAG", 'C', 1}})
           .addRecord({"7", "Anna", "", "", "F"})
           .addRecord({"8", "Bob", "M", "1", "\xE9"}, true));
  bool deleted = true;
  Values values;

  // Named or indexed fields read their plain field text, in the order asked.
  ASSERT_TRUE(pct_.getSingleRecData(0, Values{"NAME", "ID", "SEX"}, 0, &deleted, &values));
  EXPECT_EQ(values, (Values{"Anna", "7", ""}));
  EXPECT_FALSE(deleted);
  ASSERT_TRUE(pct_.getSingleRecData(0, std::vector<int>{2}, 1, &deleted, &values));
  EXPECT_EQ(values, (Values{""}));

  // The whole record: an empty one-character text field reads as a blank,
  // and mode 1 shows one-character text fields as their character code.
  ASSERT_TRUE(pct_.getSingleRecData(0, Values{}, 0, &deleted, &values));
  EXPECT_EQ(values, (Values{"7", "Anna", " ", "", "F"}));
  ASSERT_TRUE(pct_.getSingleRecData(0, std::vector<int>{}, 1, &deleted, &values));
  EXPECT_EQ(values, (Values{"7", "Anna", "(32)", "", "(70)"}));
  ASSERT_TRUE(pct_.getSingleRecData(1, Values{}, 1, &deleted, &values));
  EXPECT_EQ(values, (Values{"8", "Bob", "(77)", "1", "(233)"}));
  EXPECT_TRUE(deleted);

  // An index from no lookup is refused rather than read outside the record.
  resetStackTrace("test");
  EXPECT_FALSE(pct_.getSingleRecData(0, std::vector<int>{1, 5}, 0, &deleted, &values));
  EXPECT_TRUE(test::keptErrorHas("PCT_getSingleRecData: Invalid field index: 5"));
  resetStackTrace("test");
  EXPECT_FALSE(pct_.getSingleRecData(0, Values{"ID", "NOPE"}, 0, &deleted, &values));
  EXPECT_TRUE(test::keptErrorHas("PCT_getFieldIndexes: Invalid field name: NOPE"));
  for (int bad : {-1, 2}) {
    resetStackTrace("test");
    EXPECT_FALSE(pct_.getSingleRecData(bad, std::vector<int>{}, 0, &deleted, &values));
    EXPECT_EQ(getErrStr(),
              "PCT_CDbf.getSingleRecData: PCT_getSingleRecData: Invalid record number: " +
                  std::to_string(bad));
  }
}

TEST_F(FieldsTest, SingleRecordReadsAreBoundedByTheRecordsHeld) {
  // The header claims three records, the file holds two.
  load(DbfBuilder({{"ID", 'N', 4}}).addRecord({"1"}).addRecord({"2"}).overrideRecordCount(3));
  bool deleted = false;
  Values values;
  std::map<std::string, std::string> map;
  EXPECT_TRUE(pct_.getSingleRecData(1, std::vector<int>{}, 0, &deleted, &values));
  EXPECT_FALSE(pct_.getSingleRecData(2, std::vector<int>{}, 0, &deleted, &values));
  EXPECT_FALSE(pct_.getMapRecData(2, &deleted, &map));

  // The header claims one record: the second one held can still be read.
  CDbf fewer;
  ASSERT_TRUE(DbfBuilder({{"ID", 'N', 4}})
                  .addRecord({"1"})
                  .addRecord({"2"})
                  .overrideRecordCount(1)
                  .writeFile(dir_.file("EVT.DBF")));
  ASSERT_TRUE(fewer.populate("EVT", dir_.path()));
  ASSERT_TRUE(fewer.getMapRecData(1, &deleted, &map));
  EXPECT_EQ(map["ID"], "2");
}

}  // namespace
}  // namespace tav
