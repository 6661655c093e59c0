#include "event/timeline.h"

#include <algorithm>

#include "base/failure_record.h"
#include "dbf/field_text.h"
#include "event/category.h"
#include "event/field_number.h"
#include "event/participant.h"
#include "event/timeline_clock.h"

namespace tav {
namespace {

// The fields of a timing record (TIM).
struct TimFields {
  FieldSlot name{"TIM_NAME"}, date{"TIM_DATE"}, begin{"TIM_BEGTIM"}, resurface{"TIM_RESURF"},
      warmup{"TIM_WARMUP"}, perform{"TIM_PERFOR"}, judgeEach{"TIM_JUDFST"},
      judgeLast{"TIM_JUDLST"}, plannedCount{"TIM_NUMPAR"}, introduction{"TIM_INTROD"},
      performanceIntro{"TIM_LSTWGR"}, laterBegin{"TIM_BEGTI2"}, laterGroup{"TIM_LGSTWG"};
  std::array<FieldSlot, 9> resurfaceAfter, resurfaceDuration;
  TimFields() {
    for (int i = 0; i < 9; ++i) {
      resurfaceAfter[i] = FieldSlot("TIM_RAGNM" + std::to_string(i + 1));
      resurfaceDuration[i] = FieldSlot("TIM_RESDR" + std::to_string(i + 1));
    }
  }
};

// The fields of a stored timeline item (TTM).
struct TtmFields {
  FieldSlot type{"TTM_TYPE"}, date{"TTM_DATE"}, begin{"TTM_BEGTIM"}, end{"TTM_ENDTIM"},
      parId{"PAR_ID"}, startNo{"PER_STNUM"}, group{"PER_STGNUM"};
};

TimFields& timFields() {
  static TimFields fields;
  return fields;
}

TtmFields& ttmFields() {
  static TtmFields fields;
  return fields;
}

// The start positions of a segment, in start order.
bool timelinePositions(const CSegment& segment, int plannedCount,
                       std::vector<TimelinePosition>* positions) {
  bool hasOrder = false;
  if (!segment.hasStartOrder(&hasOrder)) return false;
  if (!hasOrder) {
    const int count = segment.numPar() > 0 ? segment.numPar() : plannedCount;
    for (int i = 1; i <= count; ++i) positions->push_back({i, 0, ""});
    return true;
  }
  PerformanceMap order;
  if (!segment.getStartOrderMap(true, &order)) return false;
  for (const auto& [startNo, performance] : order) {
    TimelinePosition position{startNo, performance->participant().id(), ""};
    if (!performance->participant().getName("", &position.name)) return false;
    positions->push_back(std::move(position));
  }
  return true;
}

// The name of a stored item.
bool storedItemName(const CSegment& segment, char type, int parId, std::string* name) {
  name->clear();
  switch (type) {
    case 'P': {
      const auto found = segment.parPrfIds().find(parId);
      if (parId == 0 || found == segment.parPrfIds().end()) return true;
      const auto performance = segment.performances().find(found->second);
      if (performance == segment.performances().end()) return true;
      return performance->second->participant().getName("", name);
    }
    case 'I': *name = "Introduction"; return true;
    case 'W': *name = "Warmup"; return true;
    case 'R': *name = "Ice Resurface"; return true;
    case 'B': *name = "Break"; return true;
    default: return true;
  }
}

bool parseStart(const std::string& text, const char* message, ClockTime* value) {
  if (ClockTime::parse(text, value)) return true;
  setErrStr(true, message + text, false, true);
  return false;
}

// The summary row of a calculated block; false when it lists nothing.
bool summaryRow(const Timeline& timeline, TimelineSummaryRow* row) {
  if (timeline.items.empty()) return false;
  const TimelineItem& first = timeline.items.front();
  const TimelineItem& last = timeline.items.back();
  row->date = first.date;
  row->begin = first.begin;
  row->end = last.end;
  ClockTime begin, end;
  ClockTime::parse(first.begin, &begin);
  ClockTime::parse(last.end, &end);
  row->duration = ClockTime::difference(begin, end).text();
  row->performances = static_cast<int>(
      std::count_if(timeline.items.begin(), timeline.items.end(),
                    [](const TimelineItem& item) { return item.type == 'P'; }));
  return true;
}

// The summary rows of one segment.
bool segmentSummary(const CEvent& event, const CCategory& category, const CSegment& segment,
                    std::vector<TimelineSummaryRow>* rows) {
  bool split = false;
  if (!isTimelineSplit(segment, &split)) return false;
  const std::vector<int> blocks = split ? std::vector<int>{1, 2} : std::vector<int>{0};
  for (int block : blocks) {
    Timeline timeline;
    if (!calcTimeline(segment, 0, category.getType(), block, &timeline)) {
      nameTimelineFailure(category, segment);
      return false;
    }
    TimelineSummaryRow row;
    if (!summaryRow(timeline, &row)) continue;
    int venueIndex = 0;
    if (!segment.getVenueIndex(&venueIndex) || !event.getVenue(venueIndex, &row.venue) ||
        !category.getName(&row.categoryName) || !segment.getName(&row.segmentName)) {
      return false;
    }
    rows->push_back(std::move(row));
  }
  return true;
}

}  // namespace

bool readTimingRecord(const CSegment& segment, TimingRecord* timing, bool* present) {
  CallTrace t("CSegment.readTimingRecord");
  *timing = TimingRecord();
  *present = segment.timRecNo() >= 0;
  if (!*present) return t.succeed();
  const NodeRecord tim("TIM", static_cast<std::uint32_t>(segment.timRecNo()));
  TimFields& f = timFields();
  if (!tim.text(f.name, &timing->name) || !tim.text(f.date, &timing->date) ||
      !tim.text(f.begin, &timing->begin) || !tim.text(f.resurface, &timing->resurface) ||
      !tim.text(f.warmup, &timing->warmup) || !tim.text(f.perform, &timing->perform) ||
      !tim.text(f.judgeEach, &timing->judgeEach) || !tim.text(f.judgeLast, &timing->judgeLast) ||
      !tim.integer(f.plannedCount, &timing->plannedCount) ||
      !tim.text(f.introduction, &timing->introduction) ||
      !tim.text(f.performanceIntro, &timing->performanceIntro) ||
      !tim.text(f.laterBegin, &timing->laterBegin) ||
      !tim.integer(f.laterGroup, &timing->laterGroup)) {
    return false;
  }
  for (int i = 0; i < 9; ++i) {
    if (!tim.integer(f.resurfaceAfter[i], &timing->resurfaceAfterGroup[i]) ||
        !tim.text(f.resurfaceDuration[i], &timing->resurfaceDuration[i])) {
      return false;
    }
  }
  return t.succeed();
}

bool calcTimeline(const CSegment& segment, int combinePD, char categoryType, int block,
                  Timeline* timeline) {
  CallTrace t("CSegment.calcTimeline");
  *timeline = Timeline();
  TimingRecord timing;
  bool present = false;
  if (!readTimingRecord(segment, &timing, &present)) return false;
  if (!present) return t.succeed();
  std::vector<TimelinePosition> positions;
  std::vector<int> groupSizes;
  if (!timelinePositions(segment, timing.plannedCount, &positions) ||
      !segment.getWarmupGroups(&groupSizes)) {
    return false;
  }
  const TimelineRequest request{combinePD, categoryType, block};
  return calcTimeline(timing, positions, groupSizes, request, timeline) && t.succeed();
}

bool getTimeline(const CSegment& segment, std::vector<TimelineItem>* items) {
  CallTrace t("CSegment.getTimeline");
  items->clear();
  TtmFields& f = ttmFields();
  for (std::uint32_t recNo : segment.ttmRecNos()) {
    const NodeRecord ttm("TTM", recNo);
    if (ttm.liveTable() == nullptr) return false;
    TimelineItem item;
    std::string type;
    if (!ttm.text(f.type, &type) || !ttm.text(f.date, &item.date) ||
        !ttm.text(f.begin, &item.begin) || !ttm.text(f.end, &item.end) ||
        !ttm.integer(f.parId, &item.parId) || !ttm.integer(f.startNo, &item.startNo) ||
        !ttm.integer(f.group, &item.group)) {
      return false;
    }
    item.type = type.empty() ? ' ' : type[0];
    ClockTime begin, end;
    if (ClockTime::parse(item.begin, &begin) && ClockTime::parse(item.end, &end)) {
      item.duration = ClockTime::difference(begin, end).text();
    }
    if (!storedItemName(segment, item.type, item.parId, &item.name)) return false;
    items->push_back(std::move(item));
  }
  return t.succeed();
}

// Invalid is a performance item with an empty time and no participant (a
// position the schedule never filled), and any stored time that is not a
// clock time; a segment without stored items is valid.
bool isTimelineValid(const CSegment& segment, bool* valid) {
  CallTrace t("CSegment.isTimelineValid");
  std::vector<TimelineItem> items;
  if (!getTimeline(segment, &items)) return false;
  *valid = std::all_of(items.begin(), items.end(), [](const TimelineItem& item) {
    const std::string_view begin = trimBlanks(item.begin), end = trimBlanks(item.end);
    if (item.type == 'P' && item.parId == 0 && (begin.empty() || end.empty())) return false;
    ClockTime time;
    return (begin.empty() || ClockTime::parse(item.begin, &time)) &&
           (end.empty() || ClockTime::parse(item.end, &time));
  });
  return t.succeed();
}

bool isTimelineSplit(const CSegment& segment, bool* split) {
  CallTrace t("CSegment.isTimelineSplit");
  TimingRecord timing;
  bool present = false;
  if (!readTimingRecord(segment, &timing, &present)) return false;
  *split = present && isTimelineSplit(timing);
  return t.succeed();
}

bool whichTimelineFirst(const CEvent& event, int catId1, int scpId1, int catId2, int scpId2,
                        int block, bool* first) {
  CallTrace t("CEvent.whichTimelineFirst");
  const int catIds[2] = {catId1, catId2};
  const int scpIds[2] = {scpId1, scpId2};
  ClockTime starts[2];
  for (int i = 0; i < 2; ++i) {
    CCategory* category = event.getCatPtr(catIds[i]);
    CSegment* segment = category == nullptr ? nullptr : category->getScpPtr(scpIds[i]);
    if (segment == nullptr) return false;
    std::string date, begin, begin2;
    int laterGroup = 0;
    if (!segment->getStartDateTime(&date, &begin, &begin2, &laterGroup)) return false;
    const bool ok = block == 1
                        ? parseStart(begin2, "Invalid begin later group time specified: ", &starts[i])
                        : parseStart(begin, "Invalid begin time specified: ", &starts[i]);
    if (!ok) return false;
  }
  *first = starts[0].notLaterThan(starts[1]);
  return t.succeed();
}

bool getTlSummary(const CEvent& event, std::vector<TimelineSummaryRow>* rows) {
  CallTrace t("CEvent.getTlSummary");
  rows->clear();
  for (const auto& [catId, category] : event.categories()) {
    for (const auto& [scpId, segment] : category->segments()) {
      if (!segmentSummary(event, *category, *segment, rows)) return false;
    }
  }
  std::stable_sort(rows->begin(), rows->end(),
                   [](const TimelineSummaryRow& a, const TimelineSummaryRow& b) {
                     if (a.date != b.date) return a.date < b.date;
                     return a.begin < b.begin;
                   });
  return t.succeed();
}

void nameTimelineFailure(const CCategory& category, const CSegment& segment) {
  const std::string message = getErrStr();
  std::string categoryName, segmentName;
  category.getName(&categoryName);
  segment.getName(&segmentName);
  setErrStr(false, message + " " + categoryName + " " + segmentName, false, true);
}

}  // namespace tav
