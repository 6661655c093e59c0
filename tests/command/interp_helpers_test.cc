// The shared operations that talk back to the interpreter, run against a real
// interpreter initialised the way the loadable library initialises one.
#include <gtest/gtest.h>

#include <tcl.h>

#include <string>
#include <vector>

#include "base/failure_record.h"
#include "command/interp_helpers.h"

extern "C" int Tavc_Init(Tcl_Interp* interp);

namespace tav {
namespace {

class InterpHelpersTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Tcl_FindExecutable(nullptr); }

  void SetUp() override {
    interp_ = Tcl_CreateInterp();
    ASSERT_EQ(Tavc_Init(interp_), TCL_OK) << Tcl_GetStringResult(interp_);
    // Any command records its interpreter as the current one.
    ASSERT_EQ(Tcl_Eval(interp_, "tav_get_dir"), TCL_OK);
    ASSERT_EQ(currentInterp(), interp_);
  }
  void TearDown() override {
    setCurrentInterp(nullptr);
    Tcl_DeleteInterp(interp_);
  }

  std::string var(const char* name) {
    const char* value = Tcl_GetVar(interp_, name, 0);
    return value == nullptr ? "<unset>" : value;
  }

  Tcl_Interp* interp_ = nullptr;
};

TEST_F(InterpHelpersTest, ListsAreQuotedSoThatTclSplitsThemBack) {
  const std::vector<std::string> items = {"a",  "b c", "{x",         "",        "d}",
                                          "$v", "[cmd]", "q\"uote", "back\\slash"};
  const std::string merged = listToTcl(items);
  EXPECT_EQ(merged, "a {b c} \\{x {} d\\} {$v} {[cmd]} q\\\"uote {back\\slash}");
  std::vector<std::string> back;
  ASSERT_TRUE(tclToList(merged, &back));
  EXPECT_EQ(back, items);

  EXPECT_EQ(listToTcl({}), "");
  EXPECT_EQ(listToTcl({""}), "{}");
  EXPECT_EQ(intListToTcl({1, -2, 30, 0}), "1 -2 30 0");
  EXPECT_EQ(intListToTcl({}), "");
}

TEST_F(InterpHelpersTest, SplittingReplacesTheOutputOrLeavesItOnMalformedText) {
  std::vector<std::string> strings = {"kept"};
  ASSERT_TRUE(tclToList("  one {two three}\tfour\n", &strings));
  EXPECT_EQ(strings, (std::vector<std::string>{"one", "two three", "four"}));
  ASSERT_TRUE(tclToList("", &strings));
  EXPECT_TRUE(strings.empty());

  strings = {"kept"};
  EXPECT_FALSE(tclToList("a {b", &strings));
  EXPECT_FALSE(tclToList("{a}b", &strings));
  EXPECT_EQ(strings, (std::vector<std::string>{"kept"}));

  std::vector<int> integers = {99};
  EXPECT_FALSE(tclToIntList("1 \"2", &integers));
  EXPECT_EQ(integers, (std::vector<int>{99}));
}

// Elements convert like the C library's decimal conversion: leading blanks,
// a sign, the digits up to the first non-digit; no digits gives 0.
TEST_F(InterpHelpersTest, IntegerElementsConvertAsLeadingDecimalDigits) {
  std::vector<int> integers = {99};
  ASSERT_TRUE(tclToIntList("12abc x -3 +4 { 7} 0x1F 010 {}", &integers));
  EXPECT_EQ(integers, (std::vector<int>{12, 0, -3, 4, 7, 0, 10, 0}));
  ASSERT_TRUE(tclToIntList("", &integers));
  EXPECT_TRUE(integers.empty());
}

TEST_F(InterpHelpersTest, BooleanStyles) {
  struct Style {
    const char* code;
    const char* yes;
    const char* no;
  };
  const Style styles[] = {{"TF", "TRUE", "FALSE"}, {"Tf", "True", "False"},
                          {"YN", "YES", "NO"},     {"Yn", "Yes", "No"},
                          {"10", "1", "0"},        {"tf", "", ""},
                          {"", "", ""},            {"YNx", "", ""}};
  for (const Style& s : styles) {
    EXPECT_EQ(boolToStr(true, s.code), s.yes) << s.code;
    EXPECT_EQ(boolToStr(false, s.code), s.no) << s.code;
  }
}

TEST_F(InterpHelpersTest, ScriptEvaluationReturnsTheResult) {
  std::string result = "old";
  resetStackTrace("cmd");
  ASSERT_TRUE(execTclCmd("set x 5; incr x", &result));
  EXPECT_EQ(result, "6");
  EXPECT_EQ(var("x"), "6");
  EXPECT_EQ(getStackTrace(), "cmd ");
}

// A failed evaluation is recorded under the caller's trace entry and names
// the interpreter's message.
TEST_F(InterpHelpersTest, ScriptFailureIsRecordedUnderTheCaller) {
  resetStackTrace("cmd");
  setErrStr(false, "earlier warning", false, false);
  CallTrace caller("CVerify.report");
  std::string result;
  EXPECT_FALSE(execTclCmd("error {boom: bad thing}", &result));
  EXPECT_EQ(result, "boom: bad thing");
  EXPECT_EQ(getErrStr(), "CVerify.report: execTclCmd: Tcl_Eval: boom: bad thing");
  EXPECT_TRUE(isErrFatal());
  EXPECT_EQ(getStackTrace(), "cmd CVerify.report ");

  EXPECT_FALSE(execTclCmd("no_such_procedure 1 2", &result));
  EXPECT_EQ(getErrStr(),
            "CVerify.report: execTclCmd: Tcl_Eval: invalid command name \"no_such_procedure\"");
}

TEST_F(InterpHelpersTest, IntegerVariablesIncludingArrayElements) {
  EXPECT_TRUE(setTclVarInt("count", -17));
  EXPECT_EQ(var("count"), "-17");
  EXPECT_TRUE(setTclVarInt("gTAV(compare,status)", 3));
  EXPECT_EQ(var("gTAV(compare,status)"), "3");
  EXPECT_TRUE(setTclVarInt("gTAV(other)", 0));
  ASSERT_EQ(Tcl_Eval(interp_, "lsort [array names gTAV]"), TCL_OK);
  EXPECT_STREQ(Tcl_GetStringResult(interp_), "compare,status other");

  // An element of a scalar cannot be set.
  EXPECT_FALSE(setTclVarInt("count(x)", 1));
}

}  // namespace
}  // namespace tav
