// The database version: reading and caching CFG_DBFVER, the soundness check
// of the configuration table, whether a version is supported, and the dotted
// form.
#include <gtest/gtest.h>

#include <string>

#include "base/failure_record.h"
#include "session/tav.h"
#include "support/test_support.h"

namespace tav {
namespace {

using test::TempDir;

class VersionTest : public ::testing::Test {
 protected:
  // Loads a configuration table holding `versions` (one record each).
  void loadConfig(const std::vector<std::string>& versions, bool deleted = false) {
    DbfBuilder cfg({{"CFG_NAME", 'C', 8}, {"CFG_DBFVER", 'C', 10}});
    for (const std::string& v : versions) cfg.addRecord({"config", v}, deleted);
    cfg.writeFile(dir_.file("CFG.DBF"));
    tav_.setDirectoryPath(dir_.path());
    ASSERT_TRUE(tav_.loadHandle("CFG")) << getErrStr();
    resetStackTrace("cmd");
    clearErrStr();
  }
  std::string versionText(bool dotted = false) {
    std::string text = "stale";
    if (!tav_.getDBversion(&text, dotted)) return "<fails>";
    return text;
  }

  TempDir dir_;
  CTav tav_;
};

TEST_F(VersionTest, SupportedOlderAndNewerVersions) {
  struct Case {
    const char* text;
    int supported;
    int number;
  };
  const Case cases[] = {{"11135", 0, 11135}, {"11100", -1, 11100}, {"11200", 1, 11200},
                        {"  11135", 0, 11135}, {"11135abc", 0, 11135}, {"abc", -1, 0},
                        {"", -1, 0},         {"-5", -1, -5},       {"+11136", 1, 11136}};
  for (const Case& c : cases) {
    CTav fresh;
    DbfBuilder({{"CFG_DBFVER", 'C', 10}}).addRecord({c.text}).writeFile(dir_.file("CFG.DBF"));
    fresh.setDirectoryPath(dir_.path());
    ASSERT_TRUE(fresh.loadHandle("CFG")) << getErrStr();
    resetStackTrace("cmd");
    EXPECT_EQ(fresh.isSupported(), c.supported) << c.text;
    EXPECT_EQ(fresh.version().versionNumber(), c.number) << c.text;
    EXPECT_EQ(getStackTrace(), "cmd ") << c.text;
  }
}

// The field text is trimmed like any field text; a blank version counts as
// read.
TEST_F(VersionTest, VersionTextIsTheStoredFieldText) {
  loadConfig({"11135"});
  EXPECT_EQ(versionText(), "11135");
  EXPECT_EQ(getStackTrace(), "cmd ");
  CTav blank;
  DbfBuilder({{"CFG_DBFVER", 'C', 10}}).addRecord({""}).writeFile(dir_.file("CFG.DBF"));
  blank.setDirectoryPath(dir_.path());
  ASSERT_TRUE(blank.loadHandle("CFG"));
  std::string text = "stale";
  EXPECT_TRUE(blank.getDBversion(&text, false));
  EXPECT_EQ(text, "");
}

TEST_F(VersionTest, DottedFormOnlyForFiveCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"11135", "1.11.35"}, {"1113", "1113"}, {"111350", "111350"}, {"abcde", "a.bc.de"}};
  for (const auto& [stored, dotted] : cases) {
    CTav fresh;
    DbfBuilder({{"CFG_DBFVER", 'C', 10}}).addRecord({stored}).writeFile(dir_.file("CFG.DBF"));
    fresh.setDirectoryPath(dir_.path());
    ASSERT_TRUE(fresh.loadHandle("CFG"));
    std::string text;
    ASSERT_TRUE(fresh.getDBversion(&text, true));
    EXPECT_EQ(text, dotted);
    ASSERT_TRUE(fresh.getDBversion(&text, false));
    EXPECT_EQ(text, stored);
  }
}

TEST_F(VersionTest, ConfigurationTableMustHoldExactlyOneRecord) {
  loadConfig({"11135"});
  EXPECT_TRUE(tav_.version().isValid());
  EXPECT_EQ(getStackTrace(), "cmd ");

  // A deleted record still counts.
  loadConfig({"11135"}, true);
  EXPECT_TRUE(tav_.version().isValid());

  for (const std::vector<std::string>& versions :
       {std::vector<std::string>{}, std::vector<std::string>{"11135", "11135"}}) {
    loadConfig(versions);
    setErrStr(false, "warning", false, false);
    EXPECT_FALSE(tav_.version().isValid());
    EXPECT_EQ(getErrStr(), "CVersion.isValid: CFG: Invalid record count: " +
                               std::to_string(versions.size()));
    EXPECT_TRUE(isErrFatal());
    EXPECT_EQ(getStackTrace(), "cmd CVersion.isValid ");
  }
}

TEST_F(VersionTest, NoConfigurationTable) {
  resetStackTrace("cmd");
  EXPECT_FALSE(tav_.version().isValid());
  EXPECT_EQ(getErrStr(), "CHandle.getDbfHandlePtr: Handle does not exist: CFG\n"
                         "Valid handles are: ");
  EXPECT_EQ(versionText(), "<fails>");
  EXPECT_EQ(tav_.isSupported(), -2);
  EXPECT_EQ(tav_.version().versionNumber(), -1);

  // Another open table is listed among the valid handles.
  DbfBuilder({{"PCT_ID", 'N', 8}}).writeFile(dir_.file("PCT.DBF"));
  tav_.setDirectoryPath(dir_.path());
  ASSERT_TRUE(tav_.loadHandle("PCT"));
  resetStackTrace("cmd");
  EXPECT_EQ(tav_.isSupported(), -2);
  EXPECT_EQ(getErrStr(), "CHandle.getDbfHandlePtr: Handle does not exist: CFG\n"
                         "Valid handles are: \nPCT\t");
  // The failed check leaves its own entry on the trace.
  EXPECT_EQ(getStackTrace().rfind("cmd CVersion.isSupported ", 0), 0u) << getStackTrace();
}

TEST_F(VersionTest, VersionCannotBeReadWithoutItsFieldOrFromADeletedRecord) {
  DbfBuilder({{"CFG_OTHER", 'C', 10}}).addRecord({"11135"}).writeFile(dir_.file("CFG.DBF"));
  tav_.setDirectoryPath(dir_.path());
  ASSERT_TRUE(tav_.loadHandle("CFG"));
  resetStackTrace("cmd");
  EXPECT_EQ(versionText(), "<fails>");
  EXPECT_EQ(getErrStr(),
            "CFG_CDbf.getFieldIndex: CFG_getFieldIndex: Invalid field name: CFG_DBFVER");
  EXPECT_EQ(tav_.isSupported(), -2);
  EXPECT_EQ(tav_.version().versionNumber(), -1);

  loadConfig({"11135"}, true);
  EXPECT_EQ(versionText(), "<fails>");
  EXPECT_EQ(getErrStr(), "CVersion.getVersion: CFG: Configuration record is deleted");
  EXPECT_EQ(tav_.isSupported(), -2);
  EXPECT_EQ(tav_.version().versionNumber(), -1);
}

// Once read, the version is not read again until it is forgotten, whatever
// happens to the configuration table in memory.
TEST_F(VersionTest, CachedUntilClosed) {
  loadConfig({"11135"});
  EXPECT_EQ(tav_.version().versionNumber(), 11135);
  ASSERT_TRUE(tav_.updateHandleRecData("CFG", 0, {"CFG_DBFVER=11200"})) << getErrStr();
  EXPECT_EQ(versionText(), "11135");
  EXPECT_EQ(tav_.isSupported(), 0);
  EXPECT_EQ(tav_.version().versionNumber(), 11135);

  // Even a table that no longer holds one record keeps the cached answers.
  int recNo = -1;
  ASSERT_TRUE(tav_.addHandleRecData("CFG", {"CFG_DBFVER=1"}, &recNo)) << getErrStr();
  EXPECT_EQ(versionText(), "11135");

  tav_.version().close();
  EXPECT_EQ(versionText(), "11200");
  EXPECT_EQ(tav_.isSupported(), 1);
  EXPECT_EQ(tav_.version().versionNumber(), 11200);

  // The session's close forgets it together with the tables.
  tav_.close();
  EXPECT_EQ(versionText(), "<fails>");
  loadConfig({"11100"});
  EXPECT_EQ(versionText(), "11100");
  EXPECT_EQ(tav_.isSupported(), -1);
}

}  // namespace
}  // namespace tav
