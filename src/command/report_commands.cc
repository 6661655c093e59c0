// Commands that publish the results site.
#include "command/commands.h"
#include "command/interp_helpers.h"
#include "report/event_evt_html.h"

namespace tav {

// tav_eventEvtHtml path evtId catId masterIdx sssIdx noIndex indexOnly genXML
//   useOmfColors includeNation format localCopyFlag startOrderFlag tvNameFlag
//   detailFlag activeSeg 60HtmlFolder
Outcome tav_eventEvtHtml(Call& call) {
  int values[17] = {0};
  for (int i = 2; i <= 16; ++i) {
    if (!call.intArg(i, &values[i])) return call.done();
  }
  HtmlOptions options;
  options.catId = values[3];
  options.masterIdx = values[4];
  options.sssIdx = values[5] != 0;
  options.noIndex = values[6] != 0;
  options.indexOnly = values[7] != 0;
  options.genXML = values[8] != 0;
  options.useOmfColors = values[9] != 0;
  options.includeNation = values[10] != 0;
  options.format = values[11];
  options.localCopyFlag = values[12] != 0;
  options.startOrderFlag = values[13] != 0;
  options.tvNameFlag = values[14] != 0;
  options.detailFlag = values[15];
  options.activeSeg = values[16];
  options.sixtyHtmlFolder = call.arg(17);
  PageCounts counts;
  const bool done = eventEvtHtml(call.arg(1), values[2], options, &counts);
  setPageCounts(counts);
  return done ? call.ok("1") : call.failed();
}

void setPageCounts(const PageCounts& counts) {
  setTclVarInt("::gTAV(site,written)", counts.written);
  setTclVarInt("::gTAV(site,unchanged)", counts.unchanged);
}

Outcome tav_eventEvtMissPpe(Call& call) {
  int evtId = 0;
  if (!call.intArg(1, &evtId)) return call.done();
  return eventEvtMissPpe(evtId) ? call.ok("1") : call.failed();
}

}  // namespace tav
