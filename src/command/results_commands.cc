// Results as data and the score audit, in the package's namespace.
#include "command/commands.h"
#include "command/interp_helpers.h"
#include "report/results_json.h"
#include "report/score_audit.h"

namespace tav {

// tavC::exportJson folder evtId: writes folder/event<EVT_ID>.json and
// returns its path.  Stored text is read in the code page of the event table.
Outcome tavC_exportJson(Call& call) {
  int evtId = 0;
  if (!call.intArg(2, &evtId)) return call.done();
  const TableText text = call.tableText("EVT");
  std::string path;
  const TextDecoder decode = [&text](std::string_view bytes) { return text.toUtf8(bytes); };
  return eventEvtJson(call.arg(1), evtId, decode, &path) ? call.ok(path) : call.failed();
}

// tavC::audit evtId: a list of findings, each a list {category segment
// skater field stored expected}; empty when the scores add up.
Outcome tavC_audit(Call& call) {
  int evtId = 0;
  if (!call.intArg(1, &evtId)) return call.done();
  std::vector<AuditFinding> findings;
  if (!eventEvtAudit(evtId, &findings)) return call.failed();
  const TableText text = call.tableText("EVT");
  std::vector<std::string> rows;
  for (const AuditFinding& f : findings) {
    rows.push_back(listToTcl({text.toUtf8(f.category), text.toUtf8(f.segment), text.toUtf8(f.skater),
                              text.toUtf8(f.field), f.stored, f.expected}));
  }
  return call.ok(listToTcl(rows));
}

}  // namespace tav
