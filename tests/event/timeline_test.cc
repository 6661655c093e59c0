// Timelines over the event tree of the sample competition and edited copies
// of it: the stored schedules agree with the calculated ones, validity,
// split, which segment begins first, the schedule summary and its order,
// failures naming the category and segment.
#include <gtest/gtest.h>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "event/event_tree.h"
#include "event/timeline.h"
#include "session/tav.h"
#include "support/test_support.h"

namespace tav {
namespace {

const std::string kSample = std::string(TAVC_BINARY_DIR) + "/sample/db";

class TimelineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session().openDB(kSample)) << getErrStr();
    ASSERT_TRUE(basic().populate(0, -1)) << getErrStr();
    ASSERT_TRUE(events().eventPopulate()) << getErrStr();
  }
  void TearDown() override { session().close(); }

  void edit(const std::string& handle, const std::string& key, int id,
            const std::vector<std::string>& assignments) {
    const int recNo = session().getHandleRecNo(handle, key, std::to_string(id));
    ASSERT_GE(recNo, 0) << handle << " " << key << "=" << id;
    ASSERT_TRUE(session().updateHandleRecData(handle, recNo, assignments)) << getErrStr();
  }
  const CEvent& event() { return *events().getEvtPtr(1); }
  CCategory& category(int catId) { return *events().getEvtCatPtr(1, catId); }
  CSegment& segment(int catId, int scpId) { return *category(catId).getScpPtr(scpId); }
};

// The generator stores the schedules of two segments; each agrees item by
// item with the calculated one (times, participant, start number, group).
TEST_F(TimelineTest, StoredSchedulesAgreeWithCalculatedOnes) {
  for (auto [catId, scpId] : {std::pair{2, 22}, std::pair{3, 32}}) {
    std::vector<TimelineItem> stored;
    Timeline calculated;
    ASSERT_TRUE(getTimeline(segment(catId, scpId), &stored)) << getErrStr();
    ASSERT_TRUE(calcTimeline(segment(catId, scpId), 0, category(catId).getType(), 0, &calculated))
        << getErrStr();
    ASSERT_EQ(stored.size(), calculated.items.size()) << scpId;
    for (std::size_t i = 0; i < stored.size(); ++i) {
      const TimelineItem& s = stored[i];
      const TimelineItem& c = calculated.items[i];
      EXPECT_EQ(std::string(1, s.type) + s.date + s.begin + s.end + s.duration,
                std::string(1, c.type) + c.date + c.begin + c.end + c.duration)
          << scpId << " item " << i;
      EXPECT_EQ(s.parId, c.parId);
      EXPECT_EQ(s.startNo, c.startNo);
      if (s.type == 'P') {
        EXPECT_EQ(s.name, c.name);
      }
    }
    bool valid = false;
    ASSERT_TRUE(isTimelineValid(segment(catId, scpId), &valid));
    EXPECT_TRUE(valid);
  }
}

TEST_F(TimelineTest, StoredItemsValidityAndUnknownParticipants) {
  bool valid = true;
  ASSERT_TRUE(isTimelineValid(segment(1, 11), &valid));
  EXPECT_TRUE(valid);  // nothing stored: nothing is invalid
  // A performance item naming no participant of the segment has no name;
  // with its times it is still a planned position.
  const int ttmRecNo = static_cast<int>(segment(2, 22).ttmRecNos()[2]);
  ASSERT_TRUE(session().updateHandleRecData("TTM", ttmRecNo, {"PAR_ID=9999"}));
  std::vector<TimelineItem> items;
  ASSERT_TRUE(getTimeline(segment(2, 22), &items));
  EXPECT_EQ(items[2].type, 'P');
  EXPECT_EQ(items[2].name, "");
  ASSERT_TRUE(session().updateHandleRecData("TTM", ttmRecNo, {"PAR_ID=0"}));
  ASSERT_TRUE(isTimelineValid(segment(2, 22), &valid));
  EXPECT_TRUE(valid);
  // Invalid: a performance item without time and without participant, and
  // a stored time that is no clock time.
  ASSERT_TRUE(session().updateHandleRecData("TTM", ttmRecNo, {"TTM_BEGTIM="}));
  ASSERT_TRUE(isTimelineValid(segment(2, 22), &valid));
  EXPECT_FALSE(valid);
  ASSERT_TRUE(session().updateHandleRecData("TTM", ttmRecNo, {"PAR_ID=9999"}));
  ASSERT_TRUE(isTimelineValid(segment(2, 22), &valid));
  EXPECT_TRUE(valid);
  ASSERT_TRUE(session().updateHandleRecData("TTM", ttmRecNo, {"TTM_BEGTIM=25:61:00"}));
  ASSERT_TRUE(isTimelineValid(segment(2, 22), &valid));
  EXPECT_FALSE(valid);
  ASSERT_TRUE(session().delHandleRec("TTM", ttmRecNo)) << getErrStr();
  EXPECT_FALSE(getTimeline(segment(2, 22), &items));
  EXPECT_TRUE(test::keptErrorHas("Record deleted: " + std::to_string(ttmRecNo)));
}

TEST_F(TimelineTest, SplitAndWhichBeginsFirst) {
  bool split = true;
  ASSERT_TRUE(isTimelineSplit(segment(1, 11), &split));
  EXPECT_FALSE(split);
  ASSERT_TRUE(isTimelineSplit(segment(2, 22), &split));
  EXPECT_TRUE(split);
  struct Case { int cat1, scp1, cat2, scp2, block; bool first; };
  const Case cases[] = {
      {1, 11, 2, 21, 0, true},   // 10:00 before 14:00
      {2, 21, 1, 11, 0, false},
      {1, 11, 4, 41, 0, true},   // equal times: not later
      {1, 12, 1, 11, 0, false},  // dates are not compared: 14:00 after 10:00
  };
  for (const Case& c : cases) {
    bool first = !c.first;
    ASSERT_TRUE(whichTimelineFirst(event(), c.cat1, c.scp1, c.cat2, c.scp2, c.block, &first))
        << getErrStr();
    EXPECT_EQ(first, c.first) << c.scp1 << " " << c.scp2;
  }
  bool first = true;
  EXPECT_FALSE(whichTimelineFirst(event(), 1, 11, 2, 22, 1, &first));  // 11 has no later start
  EXPECT_TRUE(test::keptErrorHas("Invalid begin later group time specified: "));
  edit("TIM", "SCP_ID", 11, {"TIM_BEGTI2=10:30:00"});
  ASSERT_TRUE(whichTimelineFirst(event(), 1, 11, 2, 22, 1, &first)) << getErrStr();
  EXPECT_TRUE(first);
  EXPECT_FALSE(whichTimelineFirst(event(), 1, 11, 9, 91, 0, &first));
  EXPECT_TRUE(test::keptErrorHas("Invalid CAT_ID: 9"));
}

// Split blocks of the sample's ladies' free skating, and a block-1 request
// on a timeline that is not split.
TEST_F(TimelineTest, BlocksOfTheSampleSplitSegment) {
  Timeline first, second, unsplit;
  ASSERT_TRUE(calcTimeline(segment(2, 22), 0, 'S', 1, &first));
  ASSERT_TRUE(calcTimeline(segment(2, 22), 0, 'S', 2, &second));
  EXPECT_EQ(first.items.back().type, 'B');
  EXPECT_EQ(first.items.back().end, "11:00:00");
  EXPECT_EQ(first.summary, " Group 1");
  EXPECT_EQ(second.items.front().type, 'I');
  EXPECT_EQ(second.items.front().begin, "11:00:00");
  EXPECT_EQ(second.summary, " Group 2");
  EXPECT_EQ(second.blocks, 2);
  ASSERT_TRUE(calcTimeline(segment(1, 11), 0, 'S', 1, &unsplit));
  EXPECT_EQ(unsplit.summary, " Groups 1 - 2");
  EXPECT_EQ(unsplit.items.back().name, "End of event");
}

TEST_F(TimelineTest, SummaryRowsByDateThenBeginAndFailuresNameTheSegment) {
  std::vector<TimelineSummaryRow> rows;
  ASSERT_TRUE(getTlSummary(event(), &rows)) << getErrStr();
  ASSERT_FALSE(rows.empty());
  for (std::size_t i = 1; i < rows.size(); ++i) {
    EXPECT_LE(rows[i - 1].date + rows[i - 1].begin, rows[i].date + rows[i].begin) << i;
  }
  // The split segment gives one row per block.
  int ladiesFree = 0;
  for (const TimelineSummaryRow& row : rows) {
    if (row.categoryName == "Senior Ladies" && row.segmentName == "Free Skating") ++ladiesFree;
  }
  EXPECT_EQ(ladiesFree, 2);
  // A segment without a timing record has an empty timeline and no row.
  events().eventClose();
  edit("TIM", "SCP_ID", 11, {"SCP_ID=999"});
  ASSERT_TRUE(events().eventPopulate()) << getErrStr();
  std::vector<TimelineSummaryRow> without;
  ASSERT_TRUE(getTlSummary(event(), &without)) << getErrStr();
  EXPECT_EQ(without.size(), rows.size() - 1);
  EXPECT_NE(rows.front().segmentName + rows.front().categoryName,
            without.front().segmentName + without.front().categoryName);
  Timeline none;
  ASSERT_TRUE(calcTimeline(segment(1, 11), 0, 'S', 0, &none));
  EXPECT_TRUE(none.items.empty());
  edit("TIM", "SCP_ID", 41, {"TIM_WARMUP=00:4:00"});
  EXPECT_FALSE(getTlSummary(event(), &rows));
  EXPECT_EQ(getErrStr(),
            "Invalid warmup time specified: 00:4:00 Advanced Novice Ice Dance Pattern Dance 1");
  EXPECT_TRUE(isErrFatal());
}

}  // namespace
}  // namespace tav
