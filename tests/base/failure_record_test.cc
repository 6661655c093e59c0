// The failure record: how messages are prefixed, appended or replaced, what
// the severity mark remembers, and how the call trace grows and unwinds.
#include <gtest/gtest.h>

#include "base/failure_record.h"

namespace tav {
namespace {

class FailureRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetStackTrace("cmd");
    setErrStr(false, "", false, false);  // empty text, mark clear
  }
};

TEST_F(FailureRecordTest, PrefixIsTheInnermostTraceEntry) {
  CallTrace outer("CTav.openDB");
  CallTrace inner("CTav.loadHandle");
  setErrStr(true, "went wrong", false, true);
  EXPECT_EQ(getErrStr(), "CTav.loadHandle: went wrong");
  setErrStr(false, "plain", false, true);
  EXPECT_EQ(getErrStr(), "plain");
}

// Before any command has run the trace is empty; static initialisation runs
// before that, so it sees what library code sees then.
const std::string kMessageBeforeAnyCommand = [] {
  setErrStr(true, "early", false, true);
  return getErrStr();
}();

TEST_F(FailureRecordTest, EmptyTraceGivesNullPrefix) {
  EXPECT_EQ(kMessageBeforeAnyCommand, "NULL: early");
}

TEST_F(FailureRecordTest, ReplacingSetsTheMarkToTheGivenSeverity) {
  setErrStr(true, "hard", false, true);
  EXPECT_TRUE(isErrFatal());
  setErrStr(true, "soft", false, false);
  EXPECT_FALSE(isErrFatal());
  EXPECT_EQ(getErrStr(), "cmd: soft");
}

TEST_F(FailureRecordTest, AppendingAddsLinesAndNeverClearsTheMark) {
  setErrStr(false, "first", true, false);
  EXPECT_EQ(getErrStr(), "first");  // no newline in front of the first line
  EXPECT_FALSE(isErrFatal());
  setErrStr(true, "second", true, false);
  EXPECT_EQ(getErrStr(), "first\ncmd: second");
  EXPECT_FALSE(isErrFatal());
  setErrStr(false, "third", true, true);
  EXPECT_TRUE(isErrFatal());
  setErrStr(false, "fourth", true, false);  // a warning after a hard failure
  EXPECT_TRUE(isErrFatal());
  EXPECT_EQ(getErrStr(), "first\ncmd: second\nthird\nfourth");
}

TEST_F(FailureRecordTest, ClearingEmptiesTheTextButKeepsTheMark) {
  EXPECT_FALSE(failWith("broken"));
  EXPECT_EQ(getErrStr(), "cmd: broken");
  EXPECT_TRUE(isErrFatal());
  clearErrStr();
  EXPECT_EQ(getErrStr(), "");
  EXPECT_TRUE(isErrFatal());
  setErrStr(false, "after", true, false);
  EXPECT_EQ(getErrStr(), "after");
}

TEST_F(FailureRecordTest, TraceEntriesStayOnFailureAndUnwindOnSuccess) {
  EXPECT_EQ(getStackTrace(), "cmd ");
  {
    CallTrace a("A.first");
    {
      CallTrace b("B.second");
      EXPECT_EQ(getStackTrace(), "cmd A.first B.second ");
      // b fails: it returns without succeed() and leaves its entry.
    }
    EXPECT_EQ(getStackTrace(), "cmd A.first B.second ");
    // a tolerates the inner failure and succeeds: back to its entry depth.
    EXPECT_TRUE(a.succeed());
    EXPECT_EQ(getStackTrace(), "cmd ");
    EXPECT_EQ(stackTraceDepth(), 1u);
  }
  {
    CallTrace c("C.third");
    c.succeed();
    c.succeed();  // a second release changes nothing
  }
  EXPECT_EQ(getStackTrace(), "cmd ");
  resetStackTrace("next");
  EXPECT_EQ(getStackTrace(), "next ");
}

}  // namespace
}  // namespace tav
