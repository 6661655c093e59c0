// Event commands about status and results: category status, letters and
// types, whether a segment has started or finished, and the participant
// list of a category.
#include "command/commands.h"
#include "command/event_args.h"
#include "command/interp_helpers.h"

namespace tav {
namespace {

std::string letterText(char letter) { return letter == 0 ? std::string() : std::string(1, letter); }

// The segment named by arguments 1-3 (EVT_ID CAT_ID SCP_ID).
CSegment* segmentArg(Call& call, bool* parsed) {
  std::vector<int> a;
  *parsed = intArgs(call, 1, 3, &a);
  return *parsed ? events().getEvtCatScpPtr(a[0], a[1], a[2]) : nullptr;
}

using SegmentTest = bool (CSegment::*)(bool*) const;

Outcome answerSegmentTest(Call& call, SegmentTest test) {
  bool parsed = false;
  const CSegment* segment = segmentArg(call, &parsed);
  if (!parsed) return call.done();
  bool value = false;
  if (segment == nullptr || !(segment->*test)(&value)) return call.failed();
  return call.ok(value ? "1" : "0");
}

// The label of a participant list row: name, club, nation, status.
std::string rowLabel(const std::string& name, const std::string& club, const std::string& nation,
                     const std::string& status, int mode) {
  std::string label = name + ", " + club;
  if (mode == 1) label += " (" + nation + ")";
  return label + " (" + status + ")";
}

}  // namespace

Outcome tav_eventGetEvtCatLevelGenderType(Call& call) {
  std::vector<int> a;
  if (!intArgs(call, 1, 2, &a)) return call.done();
  const CCategory* category = events().getEvtCatPtr(a[0], a[1]);
  char level = 0;
  char gender = 0;
  char type = 0;
  if (category == nullptr || !category->getLevel(&level) ||
      !category->getGenderType(&gender, &type)) {
    return call.failed();
  }
  return call.ok(letterText(level) + " " + letterText(gender) + " " + letterText(type));
}

Outcome tav_eventGetEvtCatStatus(Call& call) {
  std::vector<int> a;
  if (!intArgs(call, 1, 2, &a)) return call.done();
  const CCategory* category = events().getEvtCatPtr(a[0], a[1]);
  int finished = 0;
  int segments = 0;
  std::string marker;
  if (category == nullptr || !category->getStatus(&finished, &marker, &segments)) {
    return call.failed();
  }
  return call.ok(std::to_string(finished) + marker + " of " + std::to_string(segments));
}

Outcome tav_eventGetEvtCatScpType(Call& call) {
  bool parsed = false;
  const CSegment* segment = segmentArg(call, &parsed);
  if (!parsed) return call.done();
  char type = 0;
  if (segment == nullptr || !segment->getType(&type)) return call.failed();
  return call.ok(utf8(call, "SCP", letterText(type)));
}

Outcome tav_eventHasEvtCatScpStarted(Call& call) {
  return answerSegmentTest(call, &CSegment::hasStarted);
}

Outcome tav_eventIsEvtCatScpFinished(Call& call) {
  return answerSegmentTest(call, &CSegment::isFinished);
}

Outcome tav_eventHasEvtCatScpStartOrder(Call& call) {
  return answerSegmentTest(call, &CSegment::hasStartOrder);
}

Outcome tav_eventGetEvtCatParNames(Call& call) {
  std::vector<int> a;
  if (!intArgs(call, 1, 4, &a)) return call.done();
  const int mode = a[3];
  const CCategory* category = events().getEvtCatPtr(a[0], a[1]);
  std::vector<ParticipantEntry> entries;
  if (category == nullptr || !category->getParNames(a[2], &entries)) return call.failed();
  std::vector<std::string> rows;
  for (ParticipantEntry& e : entries) {
    e.texts = utf8(call, "PCT", e.texts);
    e.nation = utf8(call, "PAR", e.nation);
    const std::string id = std::to_string(e.parId);
    if (mode == 2) {
      rows.push_back(listToTcl({e.codes, e.texts[0], id}));
      continue;
    }
    rows.push_back(
        listToTcl({e.key, rowLabel(e.texts[1], e.texts[2], e.nation, e.statusName, mode), id}));
    if (e.couple) {
      rows.push_back(
          listToTcl({"", rowLabel(e.texts[3], e.texts[4], e.nation, e.statusName, mode), "0"}));
    }
  }
  return call.ok(listToTcl(rows));
}

}  // namespace tav
