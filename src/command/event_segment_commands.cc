// Event commands about one segment and its performances: the officials'
// panel, program time, start order and lists, warm-up groups, components,
// dance, comments, venues, and the names, clubs, nation, music, start number
// and planned elements of a performance.
#include "command/commands.h"
#include "command/event_args.h"
#include "command/interp_helpers.h"

namespace tav {
namespace {

// The segment of arguments 1-3 and, with `withPerformance`, the performance
// of argument 4.
struct SegmentArgs {
  bool parsed = false;
  CCategory* category = nullptr;
  CSegment* segment = nullptr;
  CPerformance* performance = nullptr;
  int evtId = 0;
};

SegmentArgs segmentArgs(Call& call, bool withPerformance) {
  SegmentArgs s;
  std::vector<int> a;
  if (!intArgs(call, 1, withPerformance ? 4 : 3, &a)) return s;
  s.parsed = true;
  s.evtId = a[0];
  s.category = events().getEvtCatPtr(a[0], a[1]);
  if (s.category == nullptr) return s;
  s.segment = s.category->getScpPtr(a[2]);
  if (s.segment != nullptr && withPerformance) s.performance = s.segment->getPrfPtr(a[3]);
  return s;
}

// The answer for arguments that did not parse or name no node.
Outcome notFound(Call& call, const SegmentArgs& s) {
  return s.parsed ? call.failed() : call.done();
}

Outcome panelList(Call& call, bool withNames) {
  SegmentArgs s = segmentArgs(call, false);
  if (s.segment == nullptr) return notFound(call, s);
  std::vector<int> a;
  if (!intArgs(call, 4, 2, &a)) return call.done();
  const int mask = a[0];
  const int flag = a[1];
  PanelList panel;
  if (withNames) {
    const std::string field = call.count() >= 6 ? call.tableText("PCT").fromUtf8(call.arg(6)) : "";
    if (!s.segment->getOffNames(s.category->getType(), mask, field, false, flag, &panel)) {
      return call.failed();
    }
  } else if (!s.segment->getOffIds(s.category->getType(), mask, flag, &panel)) {
    return call.failed();
  }
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < panel.ids.size(); ++i) {
    if (withNames) {
      rows.push_back(listToTcl({panel.functionNames[i], utf8(call, "PCT", panel.names[i])}));
    } else if (flag == 0) {
      rows.push_back(listToTcl({std::to_string(panel.ids[i])}));
    } else {
      rows.push_back(listToTcl({panel.functionNames[i], std::to_string(panel.ids[i])}));
    }
  }
  return call.ok(listToTcl(rows));
}

using SegmentText = bool (CSegment::*)(std::string*) const;

Outcome segmentText(Call& call, SegmentText read) {
  SegmentArgs s = segmentArgs(call, false);
  if (s.segment == nullptr) return notFound(call, s);
  std::string text;
  if (!(s.segment->*read)(&text)) return call.failed();
  return call.ok(utf8(call, "SCP", text));
}

}  // namespace

Outcome tav_eventGetEvtCatScpOffNames(Call& call) { return panelList(call, true); }

Outcome tav_eventGetEvtCatScpOffIds(Call& call) { return panelList(call, false); }

Outcome tav_eventGetEvtCatScpTime(Call& call) {
  SegmentArgs s = segmentArgs(call, false);
  if (s.segment == nullptr) return notFound(call, s);
  int rtnType = 0;
  if (!call.intArg(4, &rtnType)) return call.done();
  std::string kind;
  std::string time;
  std::string time2;
  if (!s.segment->getTime(rtnType, &kind, &time, &time2)) return call.failed();
  return call.ok("{" + kind + "} {" + time + "} {" + time2 + "}");
}

Outcome tav_eventGetEvtCatScpStartOrder(Call& call) {
  SegmentArgs s = segmentArgs(call, false);
  if (s.segment == nullptr) return notFound(call, s);
  std::vector<int> parIds;
  if (!call.intListArg(4, &parIds)) return call.done();
  std::vector<int> startNos;
  if (!s.segment->getStartOrder(parIds, &startNos)) return call.failed();
  return call.ok(joinInts(startNos));
}

Outcome tav_eventGetEvtCatScpWarmupGroups(Call& call) {
  SegmentArgs s = segmentArgs(call, false);
  if (s.segment == nullptr) return notFound(call, s);
  std::vector<int> sizes;
  if (!s.segment->getWarmupGroups(&sizes)) return call.failed();
  return call.ok(joinInts(sizes));
}

Outcome tav_eventGetEvtCatScpStartList(Call& call) {
  SegmentArgs s = segmentArgs(call, false);
  if (s.segment == nullptr) return notFound(call, s);
  std::vector<int> prfIds;
  if (!s.segment->getStartList(&prfIds)) return call.failed();
  return call.ok(joinInts(prfIds));
}

Outcome tav_eventGetEvtCatScpNumSk(Call& call) {
  SegmentArgs s = segmentArgs(call, false);
  if (s.segment == nullptr) return notFound(call, s);
  int count = 0;
  if (!s.segment->getNumSk(&count)) return call.failed();
  return call.ok(count);
}

Outcome tav_eventGetEvtCatScpCompNames(Call& call) {
  SegmentArgs s = segmentArgs(call, false);
  if (s.segment == nullptr) return notFound(call, s);
  ComponentFactors factors{};
  std::vector<std::string> names;
  std::vector<std::string> shortNames;
  if (!s.segment->getValidCompIndexes(false, &factors) ||
      !s.segment->getCompNames(factors, &names, &shortNames)) {
    return call.failed();
  }
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < names.size(); ++i) {
    rows.push_back(listToTcl({utf8(call, "SCP", names[i]), utf8(call, "SCP", shortNames[i])}));
  }
  return call.ok(listToTcl(rows));
}

Outcome tav_eventGetEvtCatScpDanceName(Call& call) {
  return segmentText(call, &CSegment::getDanceName);
}

Outcome tav_eventGetEvtCatScpDanceCode(Call& call) {
  return segmentText(call, &CSegment::getDanceCode);
}

Outcome tav_eventGetEvtCatScpComment(Call& call) {
  SegmentArgs s = segmentArgs(call, false);
  if (s.segment == nullptr) return notFound(call, s);
  int selection = 0;
  if (!call.intArg(4, &selection)) return call.done();
  std::string text;
  if (!s.segment->getComment(selection, &text)) return call.failed();
  return call.ok(utf8(call, "SCP", text));
}

Outcome tav_eventGetEvtCatScpVenue(Call& call) {
  SegmentArgs s = segmentArgs(call, false);
  if (s.segment == nullptr) return notFound(call, s);
  int index = 0;
  std::string venue;
  if (!s.segment->getVenueIndex(&index) ||
      !events().getEvtPtr(s.evtId)->getVenue(index, &venue)) {
    return call.failed();
  }
  return call.ok(utf8(call, "EVT", venue));
}

Outcome tav_eventGetEvtVenueList(Call& call) {
  int evtId = 0;
  if (!call.intArg(1, &evtId)) return call.done();
  const CEvent* event = events().getEvtPtr(evtId);
  std::vector<std::string> venues;
  if (event == nullptr || !event->getVenueList(&venues)) return call.failed();
  return call.ok(listToTcl(utf8(call, "EVT", venues)));
}

Outcome tav_eventGetEvtCatScpPrfPelData(Call& call) {
  SegmentArgs s = segmentArgs(call, true);
  if (s.performance == nullptr) return notFound(call, s);
  std::vector<std::string> codes;
  std::vector<std::string> second;
  if (!s.segment->getPelData(s.performance->id(), 0, &codes, &second)) return call.failed();
  return call.ok(listToTcl({listToTcl(utf8(call, "PEL", codes)),
                            listToTcl(utf8(call, "PEL", second))}));
}

Outcome tav_eventGetEvtCatScpPrfMusic(Call& call) {
  SegmentArgs s = segmentArgs(call, true);
  if (s.performance == nullptr) return notFound(call, s);
  std::string music;
  if (!s.segment->getMusic(s.performance->id(), &music)) return call.failed();
  return call.ok(utf8(call, "PCT", music));
}

Outcome tav_eventGetEvtCatScpPrfName(Call& call) {
  SegmentArgs s = segmentArgs(call, true);
  if (s.performance == nullptr) return notFound(call, s);
  std::string name;
  const std::string field = call.tableText("PCT").fromUtf8(call.arg(5));
  if (!s.performance->getParName(field, &name)) return call.failed();
  return call.ok(utf8(call, "PCT", name));
}

Outcome tav_eventGetEvtCatScpPrfNamesClubs(Call& call) {
  SegmentArgs s = segmentArgs(call, true);
  if (s.performance == nullptr) return notFound(call, s);
  std::vector<std::string> texts;
  if (!s.performance->getParNamesClubs(&texts)) return call.failed();
  return call.ok(listToTcl(utf8(call, "PCT", texts)));
}

Outcome tav_eventGetEvtCatScpPrfRegNos(Call& call) {
  SegmentArgs s = segmentArgs(call, true);
  if (s.performance == nullptr) return notFound(call, s);
  std::vector<std::string> regNos;
  if (!s.performance->getParRegNos(&regNos)) return call.failed();
  return call.ok(listToTcl(utf8(call, "PCT", regNos)));
}

Outcome tav_eventGetEvtCatScpPrfNation(Call& call) {
  SegmentArgs s = segmentArgs(call, true);
  if (s.performance == nullptr) return notFound(call, s);
  std::string nation;
  if (!s.performance->getParNation(&nation)) return call.failed();
  return call.ok(utf8(call, "PAR", nation));
}

Outcome tav_eventGetEvtCatScpPrfStartNo(Call& call) {
  SegmentArgs s = segmentArgs(call, true);
  if (s.performance == nullptr) return notFound(call, s);
  int startNo = 0;
  return s.performance->getStartNo(&startNo) ? call.ok(startNo) : call.failed();
}

Outcome tav_eventGetEvtCatScpPrfWGroupNo(Call& call) {
  SegmentArgs s = segmentArgs(call, true);
  if (s.performance == nullptr) return notFound(call, s);
  int groupNo = 0;
  return s.performance->getWarmupGroupNo(&groupNo) ? call.ok(groupNo) : call.failed();
}

}  // namespace tav
