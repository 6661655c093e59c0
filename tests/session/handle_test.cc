// The handle registry and the session's questions about open tables: which
// are open, which are modified, their file times and index files.
#include <gtest/gtest.h>
#include <utime.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "session/handle.h"
#include "session/tav.h"
#include "support/test_support.h"

namespace tav {
namespace {

using Names = std::vector<std::string>;

void setMtime(const std::string& path, std::int64_t seconds) {
  struct utimbuf times {};
  times.actime = times.modtime = static_cast<time_t>(seconds);
  ASSERT_EQ(::utime(path.c_str(), &times), 0) << path;
}

TEST(HandleTest, RegistryKeepsOneTableAndOneCompanionPerHandle) {
  resetStackTrace("test");
  CHandle handles;
  for (const char* handle : {"PRF", "PCT", "PPRF", "EVT", "CFG"}) {
    ASSERT_TRUE(handles.createHandle(handle));
    EXPECT_NE(handles.getDbfHandlePtr(handle), nullptr);
    EXPECT_NE(handles.getCdxHandlePtr(handle), nullptr);
  }
  Names names{"first"};
  ASSERT_TRUE(handles.getDbfHandleVec(&names));  // appends, byte-wise order
  EXPECT_EQ(names, (Names{"first", "CFG", "EVT", "PCT", "PPRF", "PRF"}));

  // Creating an open handle again replaces its table by an empty one.
  test::TempDir dir;
  ASSERT_TRUE(DbfBuilder({{"PCT_ID", 'N', 4}}).addRecord({"1"}).writeFile(dir.file("PCT.DBF")));
  ASSERT_TRUE(handles.getDbfHandlePtr("PCT")->populate("PCT", dir.path()));
  ASSERT_TRUE(handles.createHandle("PCT"));
  EXPECT_EQ(handles.getDbfHandlePtr("PCT")->getNumFields(), 0);

  handles.removeHandle("PPRF");
  handles.removeHandle("NOPE");  // absent: nothing happens
  names.clear();
  handles.getDbfHandleVec(&names);
  EXPECT_EQ(names, (Names{"CFG", "EVT", "PCT", "PRF"}));
  EXPECT_EQ(handles.getCdxHandlePtr("PPRF"), nullptr);
  handles.removeHandle("all");
  EXPECT_TRUE(handles.tables().empty());
  EXPECT_EQ(handles.getCdxHandlePtr("CFG"), nullptr);
}

TEST(HandleTest, MissingHandleListsTheOpenHandles) {
  CHandle handles;
  resetStackTrace("test");
  EXPECT_EQ(handles.getDbfHandlePtr("PCT"), nullptr);
  EXPECT_EQ(getErrStr(), "CHandle.getDbfHandlePtr: Handle does not exist: PCT\nValid handles are: ");

  ASSERT_TRUE(handles.createHandle("PCT"));
  ASSERT_TRUE(handles.createHandle("EVT"));
  resetStackTrace("test");
  EXPECT_EQ(handles.getDbfHandlePtr("pct"), nullptr);  // handles match exactly
  EXPECT_EQ(getErrStr(),
            "CHandle.getDbfHandlePtr: Handle does not exist: pct\n"
            "Valid handles are: \nEVT\t\nPCT\t");
  EXPECT_TRUE(isErrFatal());
  resetStackTrace("test");
  EXPECT_EQ(handles.getCdxHandlePtr("XYZ"), nullptr);
  EXPECT_EQ(getErrStr(),
            "CHandle.getCdxHandlePtr: Handle does not exist: XYZ\n"
            "Valid handles are: \nEVT\t\nPCT\t");
}

// A session over a folder with EVT (no index file) and PCT (with one).
class SessionQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetStackTrace("test");
    ASSERT_TRUE(DbfBuilder({{"EVT_ID", 'N', 4}}).addRecord({"1"}).writeFile(dir_.file("EVT.DBF")));
    ASSERT_TRUE(DbfBuilder({{"PCT_ID", 'N', 4}}).addRecord({"7"}).writeFile(dir_.file("PCT.DBF")));
    test::writeFile(dir_.file("PCT.CDX"), "index");
    setMtime(dir_.file("EVT.DBF"), 1500000000);
    setMtime(dir_.file("PCT.DBF"), 1000000000);
    ASSERT_TRUE(tav_.setDirectoryPath(dir_.path()));
    ASSERT_TRUE(tav_.loadHandle("PCT")) << getErrStr();
    ASSERT_TRUE(tav_.loadHandle("EVT")) << getErrStr();
  }

  test::TempDir dir_;
  CTav tav_;
};

TEST_F(SessionQueryTest, ModifiedMarksAndIndexPresence) {
  bool flag = true;
  ASSERT_TRUE(tav_.anyHandleModified(&flag));
  EXPECT_FALSE(flag);
  ASSERT_TRUE(tav_.setHandleModified("PCT"));
  ASSERT_TRUE(tav_.isHandleModified("PCT", &flag));
  EXPECT_TRUE(flag);
  ASSERT_TRUE(tav_.isHandleModified("EVT", &flag));
  EXPECT_FALSE(flag);
  ASSERT_TRUE(tav_.anyHandleModified(&flag));
  EXPECT_TRUE(flag);

  ASSERT_TRUE(tav_.cdxHandleExists("PCT", &flag));
  EXPECT_TRUE(flag);
  ASSERT_TRUE(tav_.cdxHandleExists("EVT", &flag));
  EXPECT_FALSE(flag);

  Names names;
  ASSERT_TRUE(tav_.getHandleList(&names));
  EXPECT_EQ(names, (Names{"EVT", "PCT"}));

  // Loading an open handle reads its file again.
  ASSERT_TRUE(DbfBuilder({{"PCT_ID", 'N', 4}}).addRecord({"7"}).addRecord({"8"})
                  .writeFile(dir_.file("PCT.DBF")));
  ASSERT_TRUE(tav_.loadHandle("PCT"));
  int count = 0;
  ASSERT_TRUE(tav_.getHandleNumRecs("PCT", &count));
  EXPECT_EQ(count, 2);
  ASSERT_TRUE(tav_.isHandleModified("PCT", &flag));
  EXPECT_FALSE(flag);
}

TEST_F(SessionQueryTest, FileTimesOfTheOpenTables) {
  std::int64_t time = -1;
  ASSERT_TRUE(tav_.getLatestModified(&time));
  EXPECT_EQ(time, 1500000000);
  ASSERT_TRUE(tav_.getHandleMtime("PCT", &time));
  EXPECT_EQ(time, 1000000000);

  // The recorded time changes only when asked to look again.
  setMtime(dir_.file("PCT.DBF"), 1600000000);
  ASSERT_TRUE(tav_.getLatestModified(&time));
  EXPECT_EQ(time, 1500000000);
  ASSERT_TRUE(tav_.updateHandleMtime("PCT"));
  ASSERT_TRUE(tav_.getLatestModified(&time));
  EXPECT_EQ(time, 1600000000);

  // A table file that has gone records 0.
  std::filesystem::remove(dir_.file("EVT.DBF"));
  ASSERT_TRUE(tav_.updateHandleMtime("EVT"));
  ASSERT_TRUE(tav_.getHandleMtime("EVT", &time));
  EXPECT_EQ(time, 0);

  ASSERT_TRUE(tav_.close());
  ASSERT_TRUE(tav_.getLatestModified(&time));
  EXPECT_EQ(time, 0);
  Names names{"stale"};
  ASSERT_TRUE(tav_.getHandleList(&names));
  EXPECT_EQ(names, Names{});
  std::string folder;
  ASSERT_TRUE(tav_.getDirectoryPath(&folder));
  EXPECT_EQ(folder, dir_.path());  // closing keeps the folder
}

TEST_F(SessionQueryTest, EveryHandleQueryFailsForAHandleThatIsNotOpen) {
  bool flag = false;
  std::int64_t time = 0;
  const std::vector<std::pair<std::string, std::function<bool()>>> queries = {
      {"CTav.isHandleModified CHandle.getDbfHandlePtr",
       [&] { return tav_.isHandleModified("NOPE", &flag); }},
      {"CTav.setHandleModified CHandle.getDbfHandlePtr",
       [&] { return tav_.setHandleModified("NOPE"); }},
      {"CTav.getHandleMtime CHandle.getDbfHandlePtr",
       [&] { return tav_.getHandleMtime("NOPE", &time); }},
      {"CTav.updateHandleMtime CHandle.getDbfHandlePtr",
       [&] { return tav_.updateHandleMtime("NOPE"); }},
      {"CTav.cdxHandleExists CHandle.getCdxHandlePtr",
       [&] { return tav_.cdxHandleExists("NOPE", &flag); }},
  };
  for (const auto& [trace, query] : queries) {
    resetStackTrace("test");
    EXPECT_FALSE(query()) << trace;
    EXPECT_EQ(getStackTrace(), "test " + trace + " ");
    EXPECT_EQ(getErrStr().substr(getErrStr().find(": ")),
              ": Handle does not exist: NOPE\nValid handles are: \nEVT\t\nPCT\t");
  }
}

}  // namespace
}  // namespace tav
