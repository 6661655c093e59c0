// The clock arithmetic of schedules and the timeline calculation over plain
// inputs: whole timelines compared line by line, and every failure message.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "event/timeline_calc.h"
#include "event/timeline_clock.h"

namespace tav {
namespace {

TEST(ClockTimeTest, ParsesOnlyEightCharacterClockTexts) {
  struct Case {
    const char* text;
    bool parses;
    const char* shown;
  };
  const Case cases[] = {
      {"14:00:00", true, "14:00:00"}, {"00:00:00", true, "00:00:00"},
      {"23:59:59", true, "23:59:59"}, {"10:00:00 and more", true, "10:00:00"},
      {"9:00:00", false, ""},         {"10:90:00", false, ""},
      {"10:00:90", false, ""},        {"24:00:00", false, ""},
      {"1a:00:00", false, ""},        {"10:0x:00", false, ""},
      {"-1:00:00", false, ""},        {" 1:00:00", false, ""},
      {"10-00-00", false, ""},        {"", false, ""},
      {"+1:+1:+1", false, ""},
  };
  for (const Case& c : cases) {
    ClockTime value = ClockTime::fromSeconds(7);
    EXPECT_EQ(ClockTime::parse(c.text, &value), c.parses) << c.text;
    EXPECT_EQ(value.text(), c.parses ? c.shown : "00:00:07") << c.text;
  }
}

TEST(ClockTimeTest, ArithmeticCarriesAndWrapsAtMidnight) {
  auto at = [](const char* text) {
    ClockTime value;
    EXPECT_TRUE(ClockTime::parse(text, &value)) << text;
    return value;
  };
  EXPECT_EQ(at("23:50:00").plus(at("00:20:00")).text(), "00:10:00");
  EXPECT_EQ(at("10:59:59").plus(at("00:59:59")).text(), "11:59:58");
  EXPECT_EQ(at("23:59:59").plus(at("23:59:59")).plus(at("23:59:59")).text(), "23:59:57");
  EXPECT_EQ(ClockTime::difference(at("23:50:00"), at("00:10:00")).text(), "00:20:00");
  EXPECT_EQ(ClockTime::difference(at("10:00:30"), at("11:00:00")).text(), "00:59:30");
  EXPECT_EQ(ClockTime::difference(at("10:00:00"), at("10:00:00")).text(), "00:00:00");
  EXPECT_TRUE(at("10:00:00").notLaterThan(at("10:00:00")));
  EXPECT_FALSE(at("10:00:01").notLaterThan(at("10:00:00")));
  EXPECT_TRUE(ClockTime::isEmptyText(""));
  EXPECT_TRUE(ClockTime::isEmptyText("00:00:00"));
  EXPECT_FALSE(ClockTime::isEmptyText("00:00:01"));
}

// A timing record: begin 14:00, introduction 5 min, warm-up 6 min, 30 s
// introduction + 2:50 + 1:00 judging per skater, 2 min after the last.
TimingRecord baseTiming() {
  TimingRecord t;
  t.date = "20141106";
  t.begin = "14:00:00";
  t.resurface = "00:15:00";
  t.warmup = "00:06:00";
  t.perform = "00:02:50";
  t.judgeEach = "00:01:00";
  t.judgeLast = "00:02:00";
  t.introduction = "00:05:00";
  t.performanceIntro = "00:00:30";
  return t;
}

std::vector<TimelinePosition> skaters(int count) {
  std::vector<TimelinePosition> positions;
  for (int i = 1; i <= count; ++i) positions.push_back({i, 100 + i, "Skater Name " + std::to_string(i)});
  return positions;
}

// One line per item: type, begin, end, duration, name, start number, group.
std::string render(const Timeline& timeline) {
  std::string text;
  for (const TimelineItem& item : timeline.items) {
    text += std::string(1, item.type) + " " + item.begin + " " + item.end + " " + item.duration +
            " " + item.name + " " + std::to_string(item.startNo) + " " +
            std::to_string(item.group) + "\n";
  }
  return text + "blocks " + std::to_string(timeline.blocks) + " summary" + timeline.summary + "\n";
}

std::string calc(const TimingRecord& timing, const std::vector<TimelinePosition>& positions,
                 const std::vector<int>& groups, TimelineRequest request = {}) {
  Timeline timeline;
  if (!calcTimeline(timing, positions, groups, request, &timeline)) return "failed: " + getErrStr();
  return render(timeline);
}

TEST(TimelineCalcTest, TwoGroupsWithDefaultAndSpecificResurface) {
  TimingRecord timing = baseTiming();
  timing.resurfaceAfterGroup[0] = 1;
  const std::string withDefault =
      "I 14:00:00 14:05:00 00:05:00 Introduction 0 0\n"
      "W 14:05:00 14:11:00 00:06:00 Warmup Group 1 0 0\n"
      "P 14:11:00 14:15:20 00:04:20 Skater Name 1 1 1\n"
      "P 14:15:20 14:19:40 00:04:20 Skater Name 2 2 1\n"
      "P 14:19:40 14:24:00 00:04:20 Skater Name 3 3 1\n"
      "R 14:24:00 14:39:00 00:15:00 Ice Resurface 0 0\n"
      "W 14:39:00 14:45:00 00:06:00 Warmup Group 2 0 0\n"
      "P 14:45:00 14:49:20 00:04:20 Skater Name 4 4 2\n"
      "P 14:49:20 14:53:40 00:04:20 Skater Name 5 5 2\n"
      "P 14:53:40 14:58:00 00:04:20 Skater Name 6 6 2\n"
      "W 14:58:00 15:00:00 00:02:00 End of event 0 0\n"
      "blocks 1 summary Groups 1 - 2\n";
  EXPECT_EQ(calc(timing, skaters(6), {3, 3}), withDefault);
  timing.resurfaceDuration[0] = "00:10:00";
  const std::string specific = calc(timing, skaters(6), {3, 3});
  EXPECT_NE(specific.find("R 14:24:00 14:34:00 00:10:00 Ice Resurface"), std::string::npos) << specific;
  EXPECT_NE(specific.find("W 14:53:00 14:55:00 00:02:00 End of event"), std::string::npos) << specific;
}

TEST(TimelineCalcTest, SplitTimelineByBlock) {
  TimingRecord timing = baseTiming();
  timing.resurfaceAfterGroup[0] = 1;
  timing.laterBegin = "15:00:00";
  timing.laterGroup = 1;
  timing.judgeLast = "";  // counts as no time when a block is asked for
  const std::string all =
      "I 14:00:00 14:05:00 00:05:00 Introduction 0 0\n"
      "W 14:05:00 14:11:00 00:06:00 Warmup Group 1 0 0\n"
      "P 14:11:00 14:15:20 00:04:20 Skater Name 1 1 1\n"
      "P 14:15:20 14:19:40 00:04:20 Skater Name 2 2 1\n"
      "R 14:19:40 14:34:40 00:15:00 Ice Resurface 0 0\n"
      "B 14:34:40 15:00:00 00:25:20 Break 0 0\n"
      "W 15:00:00 15:06:00 00:06:00 Warmup Group 2 0 0\n"
      "P 15:06:00 15:10:20 00:04:20 Skater Name 3 3 2\n"
      "P 15:10:20 15:14:40 00:04:20 Skater Name 4 4 2\n"
      "blocks 2 summary Groups 1 - 2\n";
  EXPECT_EQ(calc(timing, skaters(4), {2, 2}), all);
  const std::string first =
      "I 14:00:00 14:05:00 00:05:00 Introduction 0 0\n"
      "W 14:05:00 14:11:00 00:06:00 Warmup Group 1 0 0\n"
      "P 14:11:00 14:15:20 00:04:20 Skater Name 1 1 1\n"
      "P 14:15:20 14:19:40 00:04:20 Skater Name 2 2 1\n"
      "R 14:19:40 14:34:40 00:15:00 Ice Resurface 0 0\n"
      "B 14:34:40 15:00:00 00:25:20 Break 0 0\n"
      "blocks 2 summary Group 1\n";
  EXPECT_EQ(calc(timing, skaters(4), {2, 2}, {0, 'S', 1}), first);
  const std::string second =
      "I 15:00:00 15:05:00 00:05:00 Introduction 0 0\n"
      "W 15:05:00 15:11:00 00:06:00 Warmup Group 2 0 0\n"
      "P 15:11:00 15:15:20 00:04:20 Skater Name 3 3 2\n"
      "P 15:15:20 15:19:40 00:04:20 Skater Name 4 4 2\n"
      "W 15:19:40 15:19:40 00:00:00 End of event 0 0\n"
      "blocks 2 summary Group 2\n";
  EXPECT_EQ(calc(timing, skaters(4), {2, 2}, {0, 'S', 2}), second);
  EXPECT_EQ(calc(timing, skaters(4), {2, 2}, {0, 'S', 7}), second);  // clamped to 2
}

TEST(TimelineCalcTest, LaterGroupWithoutBeginTimeIsNotSplit) {
  TimingRecord timing = baseTiming();
  timing.laterGroup = 1;
  Timeline timeline;
  ASSERT_TRUE(calcTimeline(timing, skaters(4), {2, 2}, {}, &timeline)) << getErrStr();
  EXPECT_EQ(timeline.blocks, 1);
  EXPECT_FALSE(isTimelineSplit(timing));
  timing.laterBegin = "15:00:00";
  EXPECT_TRUE(isTimelineSplit(timing));
}

TEST(TimelineCalcTest, TeamsPlannedPositionsDancesAndMidnight) {
  TimingRecord timing = baseTiming();
  timing.begin = "23:50:00";
  timing.introduction = "";
  timing.resurfaceAfterGroup[0] = 1;  // no resurfaces between groups of teams
  std::vector<TimelinePosition> planned = {{1, 0, ""}, {2, 0, ""}};
  const std::string teams =
      "W 23:50:00 23:56:00 00:06:00 Ice Resurface 0 0\n"
      "P 23:56:00 00:00:20 00:04:20 Team 1 1 1\n"
      "W 00:00:20 00:06:20 00:06:00 Ice Resurface 0 0\n"
      "P 00:06:20 00:10:40 00:04:20 Team 2 2 2\n"
      "W 00:10:40 00:12:40 00:02:00 End of event 0 0\n"
      "blocks 1 summary Groups 1 - 2\n";
  EXPECT_EQ(calc(timing, planned, {1, 1}, {0, 'T', 0}), teams);
  const std::string couples = calc(timing, planned, {}, {2, 'D', 0});
  EXPECT_EQ(couples,
            "W 23:50:00 23:56:00 00:06:00 Warmup Group 0 0 0\n"
            "P 23:56:00 00:00:20 00:04:20 Couple 1 1 0\n"
            "P 00:00:20 00:04:40 00:04:20 Couple 2 2 0\n"
            "W 00:04:40 00:06:40 00:02:00 End of dance 0 0\n"
            "blocks 1 summary Group 0\n");
  EXPECT_NE(calc(timing, planned, {}, {1, 'S', 0}).find("P 23:56:00 00:00:20 00:04:20 Skater 1"),
            std::string::npos);
  EXPECT_NE(calc(timing, planned, {}, {1, 'D', 0}).find("End of first dance"), std::string::npos);
  // The second dance of a pair has no introduction.
  timing.introduction = "00:05:00";
  EXPECT_EQ(calc(timing, planned, {}, {2, 'D', 0}), couples);
}

TEST(TimelineCalcTest, HundredPositionsEndAfterTheLastSkater) {
  TimingRecord timing = baseTiming();
  const std::string text = calc(timing, skaters(120), {});
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 1 + 120 + 1 + 1);
  const std::string last = "P 22:46:40 22:51:00 00:04:20 Skater Name 120 120 0\n"
                           "W 22:51:00 22:53:00 00:02:00 End of event 0 0\n";
  EXPECT_NE(text.find(last), std::string::npos) << text.substr(text.size() - 300);
}

TEST(TimelineCalcTest, EveryFailureNamesTheOffendingText) {
  struct Case {
    void (*edit)(TimingRecord*);
    std::vector<int> groups;
    int block;
    const char* message;
  };
  const Case cases[] = {
      {[](TimingRecord* t) { t->begin = "9:00:00"; }, {}, 0, "Invalid begin time specified: 9:00:00"},
      {[](TimingRecord* t) { t->introduction = "00:5:00"; }, {}, 0,
       "Invalid introduction warmup time specified: 00:5:00"},
      {[](TimingRecord* t) { t->warmup = "00:90:00"; }, {}, 0, "Invalid warmup time specified: 00:90:00"},
      {[](TimingRecord* t) { t->performanceIntro = ""; }, {}, 0,
       "Invalid introduction performance time specified: "},
      {[](TimingRecord* t) { t->perform = "2:50"; }, {}, 0, "Invalid performance time specified: 2:50"},
      {[](TimingRecord* t) { t->judgeEach = "1 min"; }, {}, 0, "Invalid judging time specified: 1 min"},
      {[](TimingRecord* t) { t->judgeLast = "xx:yy:zz"; }, {}, 0,
       "Invalid judging last time specified: xx:yy:zz"},
      {[](TimingRecord* t) { t->resurfaceAfterGroup[0] = 1; t->resurface = "15 min"; }, {2, 2}, 0,
       "Invalid resurface default time specified: 15 min"},
      {[](TimingRecord* t) { t->resurfaceAfterGroup[0] = 1; t->resurfaceDuration[0] = "0:10:00"; },
       {2, 2}, 0, "Invalid resurface time specified: 0:10:00"},
      {[](TimingRecord* t) { t->laterGroup = 1; t->laterBegin = "15h00"; }, {2, 2}, 0,
       "Invalid begin later group time specified: 15h00"},
      {[](TimingRecord* t) { t->laterGroup = 1; t->laterBegin = "14:15:00"; }, {2, 2}, 0,
       "Invalid begin later group time: 14:15:00"},
      {[](TimingRecord* t) { t->laterGroup = 1; t->laterBegin = "15:00:00"; t->introduction = "5"; },
       {2, 2}, 2, "Invalid introduction warmup time specified: 5"},
      {[](TimingRecord*) {}, {2, 3}, 0, "Groups and start order do not match."},
  };
  for (const Case& c : cases) {
    TimingRecord timing = baseTiming();
    c.edit(&timing);
    Timeline timeline;
    timeline.items.resize(3);
    // The second dance of a pair reads the introduction only where the
    // later block opens.
    const TimelineRequest request{c.block == 2 ? 2 : 0, 'S', c.block};
    EXPECT_FALSE(calcTimeline(timing, skaters(4), c.groups, request, &timeline)) << c.message;
    EXPECT_EQ(getErrStr(), c.message);
    EXPECT_TRUE(isErrFatal());
  }
}

}  // namespace
}  // namespace tav
