// Commands that write the special achievement award pages and the judges'
// deviation report.
#include "command/commands.h"
#include "report/deviation_report.h"
#include "report/saa.h"

namespace tav {

// tav_eventEvtDeviation pathName evtId catIdList deviation showZeroDev
//   sortByPlace expandCat expandSeg expandSk expandEl showAllGoe
Outcome tav_eventEvtDeviation(Call& call) {
  int evtId = 0;
  DeviationOptions options;
  if (!call.intArg(2, &evtId) || !call.intListArg(3, &options.catIds) ||
      !call.intArg(4, &options.threshold)) {
    return call.done();
  }
  bool* flags[] = {&options.showZeroDev, &options.sortByPlace, &options.expandCat,
                   &options.expandSeg,   &options.expandSk,    &options.expandEl,
                   &options.showAllGoe};
  for (int i = 0; i < 7; ++i) {
    int value = 0;
    if (!call.intArg(5 + i, &value)) return call.done();
    *flags[i] = value != 0;
  }
  return eventEvtDeviation(call.arg(1), evtId, options) ? call.ok("1") : call.failed();
}

// tav_eventEvtSaa path evtId scpIdList
Outcome tav_eventEvtSaa(Call& call) {
  int evtId = 0;
  std::vector<int> scpIds;
  if (!call.intArg(2, &evtId) || !call.intListArg(3, &scpIds)) return call.done();
  PageCounts counts;
  const bool done = eventEvtSaa(call.arg(1), evtId, scpIds, &counts);
  setPageCounts(counts);
  return done ? call.ok("1") : call.failed();
}

}  // namespace tav
