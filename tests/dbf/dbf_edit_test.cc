// Editing a loaded table: updateRec, addRec, deleteRec, clearRecs and
// compressRecs, with their messages and modified-flag rules.
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

// ID N 4, NAME C 8, BORN D 8, OK L 1, with three records (the second deleted).
DbfBuilder personTable() {
  DbfBuilder table({{"ID", 'N', 4}, {"NAME", 'C', 8}, {"BORN", 'D', 8}, {"OK", 'L', 1}});
  table.addRecord({"1", "Anna", "19990101", "T"})
      .addRecord({"2", "Bob", "20000202", "F"}, true)
      .addRecord({"3", "Cid", "20010303", "T"});
  return table;
}

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override { resetStackTrace("test"); }

  void load(const DbfBuilder& table) {
    source_ = table.bytes();
    test::writeFile(dir_.file("PCT.DBF"), source_);
    ASSERT_TRUE(pct_.populate("PCT", dir_.path())) << getErrStr();
    resetStackTrace("test");
  }

  // The table as the writer would store it now.
  std::string savedBytes() {
    test::TempDir out;
    EXPECT_TRUE(pct_.save(true, out.path())) << getErrStr();
    return test::readFile(out.file("PCT.DBF"));
  }

  Values record(int r) {
    Values out;
    for (int f = 0; f < pct_.getNumFields(); ++f) out.emplace_back(pct_.fieldText(r, f));
    return out;
  }

  // Runs a refused update and returns the kept error text.
  std::string refusedUpdate(int r, const Values& assignments) {
    resetStackTrace("test");
    EXPECT_FALSE(pct_.updateRec(r, assignments));
    return getErrStr();
  }

  test::TempDir dir_;
  CDbf pct_;
  std::string source_;
};

TEST_F(EditTest, UpdateRecSplitsAssignmentsAtTheFirstEquals) {
  load(personTable());
  ASSERT_TRUE(pct_.updateRec(0, {"NAME=X=Y", "ID=9", "ID=12"}));
  EXPECT_EQ(record(0), (Values{"12", "X=Y", "19990101", "T"}));
  EXPECT_TRUE(pct_.isModified());
  // A deleted record can be updated and stays deleted.
  ASSERT_TRUE(pct_.updateRec(1, {"NAME=Bea"}));
  EXPECT_TRUE(pct_.isDeleted(1));

  CDbf fresh;
  ASSERT_TRUE(fresh.populate("PCT", dir_.path()));
  for (const std::string bad : {"NAME", "=Anna", ""}) {
    resetStackTrace("test");
    EXPECT_FALSE(fresh.updateRec(0, {"ID=5", bad}));
    EXPECT_EQ(getErrStr(),
              "PCT_CDbf.updateRec: PCT_updateRec: Invalid field nameValue pair: " +
                  std::string(bad));
  }
  resetStackTrace("test");
  EXPECT_FALSE(fresh.updateRec(0, {" NAME=Zed"}));  // the name is not trimmed
  EXPECT_EQ(getErrStr(), "PCT_CDbf.getFieldIndex: PCT_getFieldIndex: Invalid field name:  NAME");
  for (int bad : {-1, 3}) {
    resetStackTrace("test");
    EXPECT_FALSE(fresh.updateRec(bad, {"ID=5"}));
    EXPECT_EQ(getErrStr(), "PCT_CDbf.updateRec: PCT_updateRec: Invalid record number: " +
                               std::to_string(bad));
  }
  EXPECT_FALSE(fresh.isModified());
  EXPECT_EQ(fresh.fieldText(0, 0), "1");
}

TEST_F(EditTest, UpdateRecAppliesTheDateAndLogicalRules) {
  load(personTable());
  // Empty values blank fields of every type.
  ASSERT_TRUE(pct_.updateRec(0, {"NAME=", "ID=", "BORN=", "OK="}));
  EXPECT_EQ(record(0), (Values{"", "", "", ""}));
  EXPECT_EQ(refusedUpdate(0, {"BORN=2014-02-28"}),
            "CDbf.formatRecord: PCT_formatRecord: Refused BORN=2014-02-28: not a date written "
            "YYYYMMDD");
  EXPECT_EQ(refusedUpdate(0, {"BORN=20XX1399"}),
            "CDbf.formatRecord: PCT_formatRecord: Refused BORN=20XX1399: not a date written "
            "YYYYMMDD");
  EXPECT_EQ(refusedUpdate(0, {"OK=YES"}),
            "CDbf.formatRecord: PCT_formatRecord: Refused OK=YES: not a logical value (T, F, Y, "
            "N, ? or blank)");
  ASSERT_TRUE(pct_.updateRec(0, {"BORN=20140228", "OK=y"}));
  EXPECT_EQ(record(0), (Values{"", "", "20140228", "y"}));

  // Date and logical fields of the wrong width refuse every value.
  CDbf odd;
  ASSERT_TRUE(DbfBuilder({{"BORN", 'D', 6}, {"OK", 'L', 2}})
                  .addRecord({"140228", "TT"})
                  .writeFile(dir_.file("ODD.DBF")));
  ASSERT_TRUE(odd.populate("ODD", dir_.path()));
  resetStackTrace("test");
  EXPECT_FALSE(odd.updateRec(0, {"BORN=20140228"}));
  EXPECT_EQ(getErrStr(), "CDbf.formatRecord: ODD_formatRecord: Invalid field Date length: 6");
  resetStackTrace("test");
  EXPECT_FALSE(odd.updateRec(0, {"OK=T"}));
  EXPECT_EQ(getErrStr(), "CDbf.formatRecord: ODD_formatRecord: Invalid field Logical length: 2");
  EXPECT_FALSE(odd.isModified());
}

TEST_F(EditTest, RefusedUpdateLeavesTheRecordByteForByte) {
  load(personTable());
  // A good value in a lower field and a bad one in a higher field.
  refusedUpdate(0, {"ID=77", "NAME=Zed", "BORN=1999"});
  refusedUpdate(2, {"NAME=Zed", "OK=x", "ID=5"});
  refusedUpdate(2, {"NAME=Zed", "NOPE=1"});
  refusedUpdate(2, {"NAME=Zed", "broken"});
  EXPECT_FALSE(pct_.isModified());
  EXPECT_EQ(savedBytes(), source_);
}

TEST_F(EditTest, AddRecAppendsAnActiveRecordAtTheNextNumber) {
  load(personTable());
  int added = -1;
  // Empty values are skipped, so they are fine for any field type.
  ASSERT_TRUE(pct_.addRec(Values{"NAME=Dora", "BORN=", "OK=", "ID="}, &added));
  EXPECT_EQ(added, 3);
  EXPECT_EQ(pct_.getNumRecs(), 4u);
  EXPECT_EQ(pct_.numRecordsHeld(), 4u);
  EXPECT_TRUE(pct_.isModified());
  EXPECT_TRUE(pct_.isActive(3));
  EXPECT_EQ(record(3), (Values{"", "Dora", "", ""}));

  ASSERT_TRUE(pct_.addRec(std::map<int, std::string>{{0, "5"}, {3, "F"}}, &added));
  EXPECT_EQ(added, 4);
  EXPECT_EQ(record(4), (Values{"5", "", "", "F"}));

  // The stored form of an added record is a blank-filled record.
  const std::string saved = savedBytes();
  const int length = personTable().recordLength();
  const std::size_t at = personTable().headerLength() + 3 * length;
  EXPECT_EQ(saved.substr(at, length), " " + std::string(4, ' ') + "Dora    " +
                                          std::string(8, ' ') + " ");
  EXPECT_EQ(saved[4], 5);  // record count in the header
}

TEST_F(EditTest, RefusedAddRecLeavesTheTableAsItWas) {
  load(personTable());
  int added = -1;
  const std::vector<std::pair<Values, std::string>> refused = {
      {{"NAME=Dora", "BORN=1999"}, "PCT_formatRecord: Refused BORN=1999: not a date"},
      {{"NAME=Dora", "OK=no"}, "PCT_formatRecord: Refused OK=no: not a logical value"},
      {{"NAME=Dora", "ID=12345"}, "PCT_formatRecord: Refused ID=12345: does not fit"},
      {{"NAME"}, "PCT_addRec: Invalid field nameValue pair: NAME"},
      {{"=Dora"}, "PCT_addRec: Invalid field nameValue pair: =Dora"},
      {{"NOPE=1"}, "PCT_getFieldIndex: Invalid field name: NOPE"},
  };
  for (const auto& [assignments, message] : refused) {
    resetStackTrace("test");
    EXPECT_FALSE(pct_.addRec(assignments, &added));
    EXPECT_NE(getErrStr().find(message), std::string::npos) << getErrStr();
  }
  resetStackTrace("test");
  EXPECT_FALSE(pct_.addRec(std::map<int, std::string>{{1, "Dora"}, {9, "x"}}, &added));
  EXPECT_EQ(getErrStr(), "CDbf.formatRecord: PCT_formatRecord: Invalid field index: 9");
  // A failing operation leaves its trace entries, naming both forms of add.
  resetStackTrace("test");
  EXPECT_FALSE(pct_.addRec(Values{"OK=no"}, &added));
  EXPECT_EQ(getStackTrace(), "test PCT_CDbf.addRec-s PCT_CDbf.addRec-i CDbf.formatRecord ");

  EXPECT_EQ(pct_.getNumRecs(), 3u);
  EXPECT_EQ(pct_.numRecordsHeld(), 3u);
  EXPECT_FALSE(pct_.isModified());
  EXPECT_EQ(savedBytes(), source_);
}

TEST_F(EditTest, AddRecNumbersByPositionWhenTheCountIsWrong) {
  // The header claims one record while two are held.
  load(DbfBuilder({{"ID", 'N', 4}}).addRecord({"1"}).addRecord({"2"}).overrideRecordCount(1));
  int added = -1;
  ASSERT_TRUE(pct_.addRec(Values{"ID=3"}, &added));
  EXPECT_EQ(added, 2);
  EXPECT_EQ(pct_.getNumRecs(), 3u);
  EXPECT_EQ(pct_.fieldText(added, 0), "3");
}

TEST_F(EditTest, DeleteRecFlagsTheRecordOnce) {
  load(personTable());
  ASSERT_TRUE(pct_.deleteRec(2));
  EXPECT_TRUE(pct_.isDeleted(2));
  EXPECT_TRUE(pct_.isModified());
  EXPECT_EQ(pct_.getNumRecs(), 3u);
  EXPECT_EQ(pct_.getNumDelRecs(), 2);
  EXPECT_EQ(record(2), (Values{"3", "Cid", "20010303", "T"}));

  resetStackTrace("test");
  EXPECT_FALSE(pct_.deleteRec(1));
  EXPECT_EQ(getErrStr(), "PCT_CDbf.deleteRec: PCT_deleteRec: record already deleted: 1");
  for (int bad : {-1, 3}) {
    resetStackTrace("test");
    EXPECT_FALSE(pct_.deleteRec(bad));
    EXPECT_EQ(getErrStr(), "PCT_CDbf.deleteRec: PCT_deleteRec: Invalid record number: " +
                               std::to_string(bad));
  }
}

TEST_F(EditTest, ClearRecsEmptiesATableThatHasRecords) {
  load(personTable());
  ASSERT_TRUE(pct_.clearRecs());
  EXPECT_EQ(pct_.getNumRecs(), 0u);
  EXPECT_EQ(pct_.numRecordsHeld(), 0u);
  EXPECT_TRUE(pct_.isModified());
  int added = -1;
  ASSERT_TRUE(pct_.addRec(Values{"ID=1"}, &added));
  EXPECT_EQ(added, 0);

  // An empty table is left alone.
  CDbf empty;
  ASSERT_TRUE(DbfBuilder({{"ID", 'N', 4}}).writeFile(dir_.file("EVT.DBF")));
  ASSERT_TRUE(empty.populate("EVT", dir_.path()));
  EXPECT_TRUE(empty.clearRecs());
  EXPECT_FALSE(empty.isModified());
}

TEST_F(EditTest, CompressRecsRemovesDeletedRecordsOrAnswersFalse) {
  load(DbfBuilder({{"ID", 'N', 4}})
           .addRecord({"1"})
           .addRecord({"2"})
           .addRecord({"3"})
           .addRecord({"4"}));
  // Nothing to remove: false, no error, the flag untouched.
  clearErrStr();
  EXPECT_FALSE(pct_.compressRecs());
  EXPECT_EQ(getErrStr(), "");
  EXPECT_EQ(getStackTrace(), "test ");
  EXPECT_FALSE(pct_.isModified());

  ASSERT_TRUE(pct_.deleteRec(0));
  ASSERT_TRUE(pct_.deleteRec(2));
  ASSERT_TRUE(pct_.save(false, dir_.path()));
  ASSERT_FALSE(pct_.isModified());
  EXPECT_TRUE(pct_.compressRecs());
  EXPECT_TRUE(pct_.isModified());
  EXPECT_EQ(pct_.getNumRecs(), 2u);
  EXPECT_EQ(pct_.numRecordsHeld(), 2u);
  EXPECT_EQ(pct_.getNumDelRecs(), 0);
  EXPECT_EQ(pct_.fieldText(0, 0), "2");
  EXPECT_EQ(pct_.fieldText(1, 0), "4");

  CDbf empty;
  ASSERT_TRUE(DbfBuilder({{"ID", 'N', 4}}).writeFile(dir_.file("EVT.DBF")));
  ASSERT_TRUE(empty.populate("EVT", dir_.path()));
  EXPECT_FALSE(empty.compressRecs());
  EXPECT_FALSE(empty.isModified());
}

}  // namespace
}  // namespace tav
