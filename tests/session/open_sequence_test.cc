// Opening a database folder: which tables each database version opens, where
// the sequence stops when a table cannot be read, and loading single tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "session/tav.h"
#include "support/test_support.h"

namespace tav {
namespace {

using test::TempDir;

const char kStatHint[] = "\nPlease run OmfCalcFs on this database and try again.";

DbfBuilder configTable(const std::string& version) {
  return DbfBuilder({{"CFG_DBFVER", 'C', 10}}).addRecord({version});
}

std::vector<std::string> sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

class OpenSequenceTest : public ::testing::Test {
 protected:
  bool open() {
    resetStackTrace("cmd");
    clearErrStr();
    return tav_.openDB(dir_.path());
  }
  std::vector<std::string> handles() {
    std::vector<std::string> names;
    tav_.getHandleList(&names);
    return names;
  }
  // Every table file of the newest layout is present; CFG names `version`.
  void writeEveryTable(int version) {
    test::writeDatabase(dir_.path(), 11135, {{"CFG", configTable(std::to_string(version))}});
  }

  TempDir dir_;
  CTav tav_;
};

TEST_F(OpenSequenceTest, Version11050OpensTheBaseListAndPcdOnly) {
  writeEveryTable(11050);
  ASSERT_TRUE(open()) << getErrStr();
  EXPECT_EQ(handles(), sorted(test::databaseTables(11050)));
  EXPECT_EQ(handles().size(), 31u);  // CFG, 29 base tables, PCD
  EXPECT_EQ(getStackTrace(), "cmd ");
  std::string folder;
  tav_.getDirectoryPath(&folder);
  EXPECT_EQ(folder, dir_.path());
}

TEST_F(OpenSequenceTest, Version11135OpensEveryTable) {
  writeEveryTable(11135);
  ASSERT_TRUE(open()) << getErrStr();
  const std::vector<std::string> expected = {
      "BST", "CAT", "CFG", "CTE", "CVM", "DGR", "ELL", "ELM", "EVT", "JE4",
      "JES", "JEV", "JPS", "MED", "MES", "MOT", "NAT", "NEN", "OBO", "OJE",
      "OPE", "PAR", "PAT", "PCD", "PCT", "PEL", "PER", "PJS", "POAC", "PPRF",
      "PRF", "SCP", "TCC", "TEC", "TEM", "TIM", "TTM", "WBG", "WBP"};
  EXPECT_EQ(handles(), expected);
}

// Each versioned list is opened from its threshold on, and not one version
// before it.
TEST_F(OpenSequenceTest, EachThresholdIsInclusive) {
  struct Threshold {
    int version;
    std::vector<std::string> added;
  };
  const Threshold thresholds[] = {{11048, {"PCD"}},  {11063, {"PAT"}},
                                  {11072, {"NEN"}},  {11087, {"POAC"}},
                                  {11092, {"CTE", "TCC", "TEC", "TEM"}},
                                  {11121, {"MED"}}};
  for (const Threshold& t : thresholds) {
    for (int version : {t.version - 1, t.version}) {
      CTav fresh;
      writeEveryTable(version);
      resetStackTrace("cmd");
      ASSERT_TRUE(fresh.openDB(dir_.path())) << version << ": " << getErrStr();
      std::vector<std::string> names;
      fresh.getHandleList(&names);
      EXPECT_EQ(names, sorted(test::databaseTables(version))) << version;
      const bool opened = std::find(names.begin(), names.end(), t.added[0]) != names.end();
      EXPECT_EQ(opened, version == t.version) << version;
    }
  }
}

TEST_F(OpenSequenceTest, OldestVersionsOpenTheBaseListOnly) {
  for (const char* version : {"11047", "0", "", "9x"}) {
    CTav fresh;
    writeEveryTable(11135);
    configTable(version).writeFile(dir_.file("CFG.DBF"));
    resetStackTrace("cmd");
    ASSERT_TRUE(fresh.openDB(dir_.path())) << version << ": " << getErrStr();
    std::vector<std::string> names;
    fresh.getHandleList(&names);
    EXPECT_EQ(names.size(), 30u) << version;
  }
}

// A missing table stops the sequence: the tables before it stay open, none
// after it is read, and the message asks for the scoring program.
TEST_F(OpenSequenceTest, MissingTableStopsTheSequence) {
  test::writeDatabase(dir_.path(), 11135, {}, {"POAC"});
  ASSERT_FALSE(open());
  EXPECT_EQ(getErrStr(), "Unable to stat: " + dir_.file("POAC.DBF") + kStatHint);
  EXPECT_EQ(getStackTrace(), "cmd CTav.openDB CTav.loadHandle POAC_CDbf.populate ");
  std::vector<std::string> names = handles();
  EXPECT_NE(std::find(names.begin(), names.end(), "NEN"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "CTE"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "MED"), names.end());
}

TEST_F(OpenSequenceTest, MissingBaseTableStopsInListOrder) {
  test::writeDatabase(dir_.path(), 11135, {}, {"PCT"});
  ASSERT_FALSE(open());
  EXPECT_EQ(getErrStr(), "Unable to stat: " + dir_.file("PCT.DBF") + kStatHint);
  std::vector<std::string> names = handles();
  // PAR comes before PCT in the base list, PEL after it.
  EXPECT_NE(std::find(names.begin(), names.end(), "PAR"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "PEL"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "PCD"), names.end());
}

TEST_F(OpenSequenceTest, DamagedTableStopsTheSequenceWithTheReadersMessage) {
  test::writeDatabase(dir_.path(), 11135,
                      {{"EVT", DbfBuilder({{"EVT_ID", 'N', 8}}).setTerminator(false)}});
  ASSERT_FALSE(open());
  EXPECT_EQ(getErrStr(),
            "CDbf.readRecords: EVT_readRecords: Unable to read enough record data: Success  "
            "count=0  rsize=9");
  EXPECT_EQ(getStackTrace(),
            "cmd CTav.openDB CTav.loadHandle EVT_CDbf.populate CDbf.readRecords ");
}

TEST_F(OpenSequenceTest, ConfigurationTableIsCheckedFirst) {
  test::writeDatabase(dir_.path(), 11135, {}, {"CFG"});
  ASSERT_FALSE(open());
  EXPECT_EQ(getErrStr(), "Unable to stat: " + dir_.file("CFG.DBF") + kStatHint);
  EXPECT_EQ(getStackTrace(), "cmd CTav.openDB CTav.loadHandle CFG_CDbf.populate ");

  for (int records : {0, 2}) {
    CTav fresh;
    DbfBuilder cfg({{"CFG_DBFVER", 'C', 10}});
    for (int i = 0; i < records; ++i) cfg.addRecord({"11135"});
    cfg.writeFile(dir_.file("CFG.DBF"));
    resetStackTrace("cmd");
    ASSERT_FALSE(fresh.openDB(dir_.path()));
    EXPECT_EQ(getErrStr(),
              "CVersion.isValid: CFG: Invalid record count: " + std::to_string(records));
    EXPECT_EQ(getStackTrace(), "cmd CTav.openDB CVersion.isValid ");
    std::vector<std::string> names;
    fresh.getHandleList(&names);
    EXPECT_EQ(names, std::vector<std::string>{"CFG"});
  }
}

TEST_F(OpenSequenceTest, UnreadableVersionStopsAfterTheConfigurationTable) {
  test::writeDatabase(dir_.path(), 11135,
                      {{"CFG", DbfBuilder({{"CFG_OTHER", 'C', 10}}).addRecord({"11135"})}});
  ASSERT_FALSE(open());
  EXPECT_EQ(getErrStr(), "CFG_CDbf.getFieldIndex: CFG_getFieldIndex: Invalid field name: "
                         "CFG_DBFVER");
  EXPECT_EQ(handles(), std::vector<std::string>{"CFG"});

  CTav fresh;
  DbfBuilder({{"CFG_DBFVER", 'C', 10}}).addRecord({"11135"}, true).writeFile(
      dir_.file("CFG.DBF"));
  resetStackTrace("cmd");
  ASSERT_FALSE(fresh.openDB(dir_.path()));
  EXPECT_EQ(getErrStr(), "CVersion.getVersion: CFG: Configuration record is deleted");
}

// Opening another folder without closing keeps what is already open, and
// the version read first: the application closes before it switches.
TEST_F(OpenSequenceTest, OpeningAgainWithoutClosingKeepsTablesAndVersion) {
  test::writeDatabase(dir_.path(), 11135, {}, {"MED"});
  configTable("11050").writeFile(dir_.file("CFG.DBF"));
  ASSERT_TRUE(open()) << getErrStr();
  EXPECT_EQ(handles().size(), 31u);

  TempDir newer;
  test::writeDatabase(newer.path(), 11135, {{"CFG", configTable("11135")}});
  resetStackTrace("cmd");
  ASSERT_TRUE(tav_.openDB(newer.path())) << getErrStr();
  EXPECT_EQ(handles().size(), 31u);  // still the tables of version 11050
  std::string folder;
  tav_.getDirectoryPath(&folder);
  EXPECT_EQ(folder, newer.path());

  tav_.close();
  ASSERT_TRUE(tav_.openDB(newer.path())) << getErrStr();
  EXPECT_EQ(handles().size(), 39u);
}

TEST_F(OpenSequenceTest, LoadCreatesOrRereadsOneTable) {
  writeEveryTable(11135);
  tav_.setDirectoryPath(dir_.path());
  resetStackTrace("cmd");
  ASSERT_TRUE(tav_.loadHandle("PCT")) << getErrStr();
  EXPECT_EQ(handles(), std::vector<std::string>{"PCT"});
  CDbf* pct = tav_.handles().getDbfHandlePtr("PCT");
  ASSERT_NE(pct, nullptr);
  EXPECT_EQ(pct->getNumRecs(), 0u);

  DbfBuilder({{"PCT_ID", 'N', 8}}).addRecord({"1"}).addRecord({"2"}).writeFile(
      dir_.file("PCT.DBF"));
  pct->setModified();
  ASSERT_TRUE(tav_.loadHandle("PCT")) << getErrStr();
  EXPECT_EQ(tav_.handles().getDbfHandlePtr("PCT"), pct);  // the same table, read again
  EXPECT_EQ(pct->getNumRecs(), 2u);
  EXPECT_FALSE(pct->isModified());

  // Any handle with a file can be loaded, in or out of the open sequence.
  DbfBuilder({{"XYZ_ID", 'N', 4}}).writeFile(dir_.file("XYZ.DBF"));
  test::writeFile(dir_.file("XYZ.CDX"), "index bytes");
  ASSERT_TRUE(tav_.loadHandle("XYZ")) << getErrStr();
  bool exists = false;
  ASSERT_TRUE(tav_.cdxHandleExists("XYZ", &exists));
  EXPECT_TRUE(exists);
  ASSERT_TRUE(tav_.cdxHandleExists("PCT", &exists));
  EXPECT_FALSE(exists);

  resetStackTrace("cmd");
  EXPECT_FALSE(tav_.loadHandle("NOPE"));
  EXPECT_EQ(getErrStr(), "Unable to stat: " + dir_.file("NOPE.DBF") + kStatHint);
  EXPECT_EQ(getStackTrace(), "cmd CTav.loadHandle NOPE_CDbf.populate ");
}

TEST_F(OpenSequenceTest, CloseForgetsTablesAndVersionButKeepsTheFolder) {
  writeEveryTable(11135);
  ASSERT_TRUE(open()) << getErrStr();
  resetStackTrace("cmd");
  EXPECT_TRUE(tav_.close());
  EXPECT_EQ(getStackTrace(), "cmd ");
  EXPECT_TRUE(handles().empty());
  std::string folder;
  tav_.getDirectoryPath(&folder);
  EXPECT_EQ(folder, dir_.path());
  std::string version;
  EXPECT_FALSE(tav_.getDBversion(&version, false));
  EXPECT_EQ(tav_.isSupported(), -2);
  EXPECT_EQ(tav_.version().versionNumber(), -1);
}

}  // namespace
}  // namespace tav
