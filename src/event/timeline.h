// Timelines of the segments of the event tree: the calculated schedule of a
// segment (calcTimeline), the schedule the scoring program stored for it
// (getTimeline, isTimelineValid), whether it is split into two blocks, which
// of two segments comes first, and an event's schedule summary.
//
// These are the segment and event operations of the schedule; they take the
// node and read its timing record (TIM) and stored items (TTM) through it.
#ifndef TAVC_EVENT_TIMELINE_H_
#define TAVC_EVENT_TIMELINE_H_

#include <string>
#include <vector>

#include "event/event.h"
#include "event/segment.h"
#include "event/timeline_calc.h"

namespace tav {

// Reads the segment's TIM record.  `present` is false (and the record left
// empty) when the segment has none.
bool readTimingRecord(const CSegment& segment, TimingRecord* timing, bool* present);

// CSegment.calcTimeline: the segment's schedule for `block` (0 all, 1 or 2
// one block; clamped to 0-2).  A segment without a TIM record has an empty
// timeline.  The positions are the start order (withdrawn participants
// included) when the segment has one, else planned positions 1 to the
// category's participant count at build time, or TIM_NUMPAR when that is 0.
// A failure of the calculation is fatal and carries no operation name.
bool calcTimeline(const CSegment& segment, int combinePD, char categoryType, int block,
                  Timeline* timeline);

// CSegment.getTimeline: the stored items (TTM) in record order.  Names: the
// participant's name for P items (empty when the item names no participant
// of the segment), "Introduction", "Warmup", "Ice Resurface", "Break".  The
// duration is end minus begin when both are clock texts, else empty.
bool getTimeline(const CSegment& segment, std::vector<TimelineItem>* items);

// CSegment.isTimelineValid: a stored timeline can be shown as a schedule
// when it has at least one item and every item's begin and end are clock
// texts.  A performance item without participant but with its times is a
// planned position and valid.
bool isTimelineValid(const CSegment& segment, bool* valid);

// True when the segment's TIM record splits its schedule (later groups with
// their own begin time); false without a TIM record.
bool isTimelineSplit(const CSegment& segment, bool* split);

// CEvent.whichTimelineFirst: true when segment 1 begins no later than
// segment 2: TIM_BEGTIM compared, or TIM_BEGTI2 for block 1.  Dates are not
// compared.  A time that is not a clock text fails.
bool whichTimelineFirst(const CEvent& event, int catId1, int scpId1, int catId2, int scpId2,
                        int block, bool* first);

// One row of an event's schedule summary: one calculated block of a segment.
struct TimelineSummaryRow {
  std::string venue;
  std::string date, begin, end, duration;
  std::string categoryName, segmentName;
  int performances = 0;
};

// CEvent.getTlSummary: a row per calculated block of every segment of every
// category (identifier order), the two blocks of a split timeline apart; a
// block without items gives no row.  Rows are ordered by date (the stored
// YYYYMMDD text), then begin time; equal keys keep category and segment
// order.  A timeline that cannot be calculated fails the summary with its
// message, a blank, the category name, a blank and the segment name.
bool getTlSummary(const CEvent& event, std::vector<TimelineSummaryRow>* rows);

// Adds " <category name> <segment name>" to the kept failure text of a
// timeline calculation (fatal, no operation name in front).
void nameTimelineFailure(const CCategory& category, const CSegment& segment);

}  // namespace tav

#endif  // TAVC_EVENT_TIMELINE_H_
