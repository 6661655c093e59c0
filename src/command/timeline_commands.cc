// Timeline commands: a segment's calculated schedule, an event's schedule
// summary, whether a segment's schedule is split, whether its stored
// schedule is valid, and which of two segments begins first.
//
// Items and rows are written as text: each in braces followed by a blank,
// names in double quotes.  A name that holds a double quote, a brace or a
// backslash would break that list; it is written as a Tcl list element
// instead (ordinary names keep the double quotes).
#include "command/commands.h"
#include "command/event_args.h"
#include "command/interp_helpers.h"
#include "event/timeline.h"

namespace tav {
namespace {

std::string quotedName(const std::string& name) {
  if (name.find_first_of("\"{}\\") != std::string::npos) return listToTcl({name});
  return "\"" + name + "\"";
}

// "{P 20141106 10:05:00 10:09:20 00:04:20 "Name" 1 1} "
std::string itemText(Call& call, const TimelineItem& item) {
  const std::string name = item.type == 'P' ? utf8(call, "PCT", item.name) : item.name;
  return "{" + std::string(1, item.type) + " " + item.date + " " + item.begin + " " + item.end +
         " " + item.duration + " " + quotedName(name) + " " + std::to_string(item.startNo) + " " +
         std::to_string(item.group) + "} ";
}

// "{"Venue" 20141106 10:00:00 11:30:00 01:30:00 "Category" "Segment" 12} "
std::string summaryText(Call& call, const TimelineSummaryRow& row) {
  return "{" + quotedName(utf8(call, "EVT", row.venue)) + " " + row.date + " " + row.begin + " " +
         row.end + " " + row.duration + " " + quotedName(utf8(call, "CAT", row.categoryName)) +
         " " + quotedName(utf8(call, "SCP", row.segmentName)) + " " +
         std::to_string(row.performances) + "} ";
}

// The segment named by EVT_ID CAT_ID SCP_ID (ids[0..2]).
CSegment* findSegment(const std::vector<int>& ids, CCategory** category) {
  *category = events().getEvtCatPtr(ids[0], ids[1]);
  return *category == nullptr ? nullptr : (*category)->getScpPtr(ids[2]);
}

}  // namespace

Outcome tav_eventGetEvtCatScpTimeline(Call& call) {
  std::vector<int> ids;  // EVT_ID CAT_ID SCP_ID CombinePD Block
  if (!intArgs(call, 1, 5, &ids)) return call.done();
  CCategory* category = nullptr;
  const CSegment* segment = findSegment(ids, &category);
  if (segment == nullptr) return call.failed();
  Timeline timeline;
  if (!calcTimeline(*segment, ids[3], category->getType(), ids[4], &timeline)) {
    call.tableText("CAT");
    nameTimelineFailure(*category, *segment);
    return call.failed();
  }
  std::string text;
  for (const TimelineItem& item : timeline.items) text += itemText(call, item);
  return call.ok(text);
}

Outcome tav_eventGetEvtTlSummary(Call& call) {
  int evtId = 0;
  if (!call.intArg(1, &evtId)) return call.done();
  const CEvent* event = events().getEvtPtr(evtId);
  std::vector<TimelineSummaryRow> rows;
  call.tableText("CAT");
  if (event == nullptr || !getTlSummary(*event, &rows)) return call.failed();
  std::string text;
  for (const TimelineSummaryRow& row : rows) text += summaryText(call, row);
  return call.ok(text);
}

Outcome tav_eventIsEvtCatScpTimelineSplit(Call& call) {
  std::vector<int> ids;
  if (!intArgs(call, 1, 3, &ids)) return call.done();
  CCategory* category = nullptr;
  const CSegment* segment = findSegment(ids, &category);
  bool split = false;
  if (segment == nullptr || !isTimelineSplit(*segment, &split)) return call.failed();
  return call.ok(split ? "1" : "0");
}

Outcome tav_eventIsEvtCatScpTimelineValid(Call& call) {
  std::vector<int> ids;
  if (!intArgs(call, 1, 3, &ids)) return call.done();
  CCategory* category = nullptr;
  const CSegment* segment = findSegment(ids, &category);
  bool valid = false;
  if (segment == nullptr || !isTimelineValid(*segment, &valid)) return call.failed();
  return call.ok(valid ? "1" : "0");
}

Outcome tav_eventWhichEvtCatScpTimelineFirst(Call& call) {
  std::vector<int> ids;
  if (!intArgs(call, 1, 6, &ids)) return call.done();
  const CEvent* event = events().getEvtPtr(ids[0]);
  bool first = false;
  if (event == nullptr || !whichTimelineFirst(*event, ids[1], ids[2], ids[3], ids[4], ids[5], &first)) {
    return call.failed();
  }
  return call.ok(first ? "1" : "0");
}

}  // namespace tav
