// Searching a loaded table: findFieldData, getFieldRecData and the cached
// record-number lookup getRecNo.
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
using Qualifiers = std::map<std::string, std::string>;

class QueryTest : public ::testing::Test {
 protected:
  void SetUp() override { resetStackTrace("test"); }

  // Writes `bytes` as PCT.DBF and loads it.
  void loadBytes(const std::string& bytes) {
    test::writeFile(dir_.file("PCT.DBF"), bytes);
    ASSERT_TRUE(pct_.populate("PCT", dir_.path())) << getErrStr();
    resetStackTrace("test");
  }
  void load(const DbfBuilder& table) { loadBytes(table.bytes()); }

  // getFieldRecData that must succeed.
  Values lines(const Values& names, const Qualifiers& qualifiers = {},
               const std::string& sortName = "", bool ignoreCase = false) {
    Values out;
    EXPECT_TRUE(pct_.getFieldRecData(names, qualifiers, sortName, ignoreCase, &out))
        << getErrStr();
    return out;
  }

  test::TempDir dir_;
  CDbf pct_;
};

// `bytes` with the deletion-flag byte of record `r` replaced.
std::string withFlag(std::string bytes, const DbfBuilder& table, int r, char flag) {
  bytes[table.headerLength() + r * table.recordLength()] = flag;
  return bytes;
}

TEST_F(QueryTest, FindFieldDataMatchesWholeFieldTextsOfActiveRecords) {
  DbfBuilder table({{"ID", 'N', 4}, {"NAME", 'C', 6}, {"CODE", 'C', 3}, {"OK", 'L', 1}});
  table.addRecord({"1", "Ann", "Ann", "T"})      // 0: two fields match
      .addRecord({"2", "Anna", "", "F"})          // 1: no field is exactly "Ann"
      .addRecord({"3", "Ann"}, true)              // 2: deleted
      .addRecord({"4", "Ann"})                    // 3: flag byte neither blank nor '*'
      .addRecord({"5", "", "Ann"});               // 4
  loadBytes(withFlag(table.bytes(), table, 3, 'X'));

  FieldMatches m;
  ASSERT_TRUE(pct_.findFieldData("Ann", &m));
  EXPECT_EQ(m.recordNumbers, (std::vector<int>{0, 0, 4}));
  EXPECT_EQ(m.fieldIndexes, (std::vector<int>{1, 2, 2}));
  EXPECT_EQ(m.fieldNames, (Values{"NAME", "CODE", "CODE"}));
  EXPECT_EQ(m.types, (std::vector<char>{'C', 'C', 'C'}));
  EXPECT_EQ(m.lengths, (std::vector<int>{6, 3, 3}));
  EXPECT_EQ(m.offsets, (std::vector<int>{5, 11, 11}));

  // Exact and case-sensitive; the search text is not trimmed.
  ASSERT_TRUE(pct_.findFieldData("ann", &m));
  EXPECT_EQ(m.size(), 0u);
  ASSERT_TRUE(pct_.findFieldData(" Ann", &m));
  EXPECT_EQ(m.size(), 0u);

  // A text longer than a field is not compared with it: "Anna" fits NAME only.
  ASSERT_TRUE(pct_.findFieldData("Anna", &m));
  EXPECT_EQ(m.fieldIndexes, (std::vector<int>{1}));
  ASSERT_TRUE(pct_.findFieldData("Annabel", &m));
  EXPECT_EQ(m.size(), 0u);

  // The empty text finds every empty field of the active records.
  ASSERT_TRUE(pct_.findFieldData("", &m));
  EXPECT_EQ(m.recordNumbers, (std::vector<int>{1, 4, 4}));
  EXPECT_EQ(m.fieldIndexes, (std::vector<int>{2, 1, 3}));
}

TEST_F(QueryTest, ScansStopAtTheSmallerOfHeaderCountAndRecordsHeld) {
  // The header claims two records; the file holds three.
  load(DbfBuilder({{"ID", 'N', 4}, {"NAME", 'C', 6}})
           .addRecord({"1", "Ann"})
           .addRecord({"2", "Bob"})
           .addRecord({"3", "Ann"})
           .overrideRecordCount(2));
  FieldMatches m;
  ASSERT_TRUE(pct_.findFieldData("Ann", &m));
  EXPECT_EQ(m.recordNumbers, (std::vector<int>{0}));
  EXPECT_EQ(lines({"recNo"}), (Values{"0", "1"}));
  EXPECT_EQ(pct_.getRecNo("NAME", "Ann"), 0);
  EXPECT_EQ(pct_.getRecNo("ID", "3"), -1);

  // The header claims five: the scans end with the three records held.
  CDbf more;
  ASSERT_TRUE(DbfBuilder({{"ID", 'N', 4}})
                  .addRecord({"1"})
                  .addRecord({"2"}, true)
                  .addRecord({"3"})
                  .overrideRecordCount(5)
                  .writeFile(dir_.file("EVT.DBF")));
  ASSERT_TRUE(more.populate("EVT", dir_.path()));
  Values out;
  ASSERT_TRUE(more.getFieldRecData({"ID"}, {}, "", false, &out));
  EXPECT_EQ(out, (Values{"1", "3"}));
  EXPECT_EQ(more.getNumDelRecs(), 1);
  EXPECT_EQ(more.getRecNo("ID", "3"), 2);
}

TEST_F(QueryTest, FieldRecDataBuildsLinesWithBracesAndRecordNumbers) {
  DbfBuilder table({{"ID", 'N', 4}, {"NAME", 'C', 12}, {"SEX", 'C', 1}, {"CLUB", 'C', 6},
                    {"KIND", 'N', 1}});
  table.addRecord({"1", "Anna Bell", "F", "SC A", "2"})
      .addRecord({"2", "Bob", "", "", ""})
      .addRecord({"3", "Gone"}, true)
      .addRecord({"4", "Odd"});
  loadBytes(withFlag(table.bytes(), table, 3, '\0'));

  // One column: a value with blanks stays bare.
  EXPECT_EQ(lines({"NAME"}), (Values{"Anna Bell", "Bob"}));
  // Several columns: values with blanks are braced, empty values are "{ }"
  // for one-character text fields and "{}" for the others.
  EXPECT_EQ(lines({"recNo", "NAME", "SEX", "CLUB", "KIND"}),
            (Values{"0 {Anna Bell} F {SC A} 2", "1 Bob { } {} {}"}));
  EXPECT_EQ(lines({"SEX"}, {{"ID", "2"}}), (Values{"{ }"}));
  EXPECT_EQ(lines({"CLUB"}, {{"ID", "2"}}), (Values{"{}"}));
  // Qualifiers must all match.
  EXPECT_EQ(lines({"ID"}, {{"SEX", "F"}, {"KIND", "2"}}), (Values{"1"}));
  EXPECT_EQ(lines({"ID"}, {{"SEX", "F"}, {"KIND", "1"}}), (Values{}));
  EXPECT_EQ(lines({"ID"}, {{"NAME", "Gone"}}), (Values{}));

  Values out;
  EXPECT_FALSE(pct_.getFieldRecData({}, {}, "", false, &out));
  EXPECT_EQ(getErrStr(), "PCT_CDbf.getFieldRecData: PCT_getFieldRecData: Empty field name: ");
  for (const auto& [names, qualifiers, sortName] :
       std::vector<std::tuple<Values, Qualifiers, std::string>>{
           {{"ID", "NOPE"}, {}, ""}, {{"ID"}, {{"NOPE", "1"}}, ""}, {{"ID"}, {}, "NOPE"},
           {{"ID"}, {}, "recNo"}}) {
    resetStackTrace("test");
    EXPECT_FALSE(pct_.getFieldRecData(names, qualifiers, sortName, false, &out));
    EXPECT_TRUE(test::keptErrorHas("PCT_getFieldIndex: Invalid field name: "));
  }
}

TEST_F(QueryTest, FieldRecDataIgnoresCaseOnTheFieldSideOnly) {
  load(DbfBuilder({{"ID", 'N', 4}, {"NAME", 'C', 10}})
           .addRecord({"1", "Anna"})
           .addRecord({"2", "aNNa"})
           .addRecord({"3", "Bob"}));
  EXPECT_EQ(lines({"ID", "NAME"}, {{"NAME", "ANNA"}}, "", true), (Values{"1 Anna", "2 aNNa"}));
  // The qualifier value is taken as given: lower case never matches.
  EXPECT_EQ(lines({"ID"}, {{"NAME", "anna"}}, "", true), (Values{}));
  EXPECT_EQ(lines({"ID"}, {{"NAME", "ANNA"}}, "", false), (Values{}));
  EXPECT_EQ(lines({"ID"}, {{"NAME", "Anna"}}, "", false), (Values{"1"}));
}

TEST_F(QueryTest, FieldRecDataSortsNumericFieldsByValueAndOthersByText) {
  load(DbfBuilder({{"ID", 'N', 3}, {"SCORE", 'N', 6, 2}, {"CODE", 'C', 4}})
           .addRecord({"1", "10", "10"})
           .addRecord({"2", "9", "9"})
           .addRecord({"3", "12.50", "b"})
           .addRecord({"4", "", "B"})
           .addRecord({"5", "12", "10"})
           .addRecord({"6", "-3", ""})
           .addRecord({"7", "1"}, true));
  // 12.50 sorts as 12 (after 10, level with 12, record order kept), empty as 0.
  EXPECT_EQ(lines({"ID"}, {}, "SCORE"), (Values{"6", "4", "2", "1", "3", "5"}));
  // Text order is byte-wise: "" < "10" < "9" < "B" < "b"; equal keys keep
  // record order.
  EXPECT_EQ(lines({"ID", "CODE"}, {}, "CODE"),
            (Values{"6 {}", "1 10", "5 10", "2 9", "4 B", "3 b"}));
  // Sorting and qualifiers together.
  EXPECT_EQ(lines({"recNo"}, {{"CODE", "10"}}, "SCORE"), (Values{"0", "4"}));
}

TEST_F(QueryTest, RecNoAnswersTheHighestRecordAndCachesPerField) {
  load(DbfBuilder({{"ID", 'N', 4}, {"NAME", 'C', 8}})
           .addRecord({"1", "Ann"})
           .addRecord({"2", "Bob"})
           .addRecord({"2", "Cid"})
           .addRecord({"2", "Dan"}, true)
           .addRecord({"3", "Eve"})
           .overrideRecordCount(4));
  // The highest active record wins, when the cache is built and afterwards.
  EXPECT_EQ(pct_.getRecNo("ID", "2"), 2);
  EXPECT_EQ(pct_.getRecNo("ID", "2"), 2);
  EXPECT_EQ(pct_.getRecNo("ID", "1"), 0);

  resetStackTrace("test");
  EXPECT_EQ(pct_.getRecNo("ID", "3"), -1);  // beyond the header's count
  EXPECT_EQ(getErrStr(), "PCT_CDbf.getRecNo: PCT_getRecNo: Not in cache: 3");
  resetStackTrace("test");
  EXPECT_EQ(pct_.getRecNo("NOPE", "1"), -1);
  EXPECT_TRUE(test::keptErrorHas("PCT_getFieldIndex: Invalid field name: NOPE"));

  // Repairing the count does not touch the cache: the ID entry, built over
  // four records, still does not know record 4; a field looked up for the
  // first time is scanned over the repaired count.
  ASSERT_EQ(pct_.verify(true), 1);
  EXPECT_EQ(pct_.getRecNo("ID", "3"), -1);
  EXPECT_EQ(pct_.getRecNo("NAME", "Eve"), 4);
}

TEST_F(QueryTest, EditsKeepTheRecNoCacheInStep) {
  load(DbfBuilder({{"ID", 'N', 4}, {"NAME", 'C', 4}})
           .addRecord({"1", "Ann"})
           .addRecord({"2", "Bob"})
           .addRecord({"2", "Cid"}));
  ASSERT_EQ(pct_.getRecNo("ID", "2"), 2);
  ASSERT_EQ(pct_.getRecNo("NAME", "Ann"), 0);

  // An update drops the entries of the fields it changed.
  ASSERT_TRUE(pct_.updateRec(0, {"ID=7"}));
  EXPECT_EQ(pct_.getRecNo("ID", "7"), 0);
  EXPECT_EQ(pct_.getRecNo("ID", "1"), -1);

  // An addition extends the cached fields with the new record's stored text,
  // fields not in the assignment included, and the new record wins ties.
  int added = -1;
  ASSERT_TRUE(pct_.addRec(Values{"ID=  7", "NAME=Annabel"}, &added));
  ASSERT_EQ(added, 3);
  EXPECT_EQ(pct_.getRecNo("ID", "7"), 3);
  EXPECT_EQ(pct_.getRecNo("NAME", "Anna"), 3);
  ASSERT_TRUE(pct_.addRec(Values{"ID=8"}, &added));
  EXPECT_EQ(pct_.getRecNo("NAME", ""), 4);

  // A deletion empties the cache: the lookup is rebuilt without the record.
  ASSERT_TRUE(pct_.deleteRec(3));
  EXPECT_EQ(pct_.getRecNo("ID", "7"), 0);
  ASSERT_TRUE(pct_.deleteRec(2));
  EXPECT_EQ(pct_.getRecNo("ID", "2"), 1);

  // A compression renumbers; the cache follows.
  ASSERT_TRUE(pct_.compressRecs());
  EXPECT_EQ(pct_.getRecNo("ID", "8"), 2);
  // Clearing leaves nothing to find.
  ASSERT_TRUE(pct_.clearRecs());
  EXPECT_EQ(pct_.getRecNo("ID", "8"), -1);
}

}  // namespace
}  // namespace tav
