// Bulk maintenance commands: erasures, compress, purge, printed names, and
// the forwarders that carry a nation code, a category value or scoreboard
// names into the register and the event tree.
#include "basic/maintenance.h"
#include "command/commands.h"
#include "event/event_tree.h"
#include "event/maintenance.h"

namespace tav {

Outcome tav_eraseOff(Call& call) { return eraseOff() ? call.ok("1") : call.failed(); }

Outcome tav_eraseSk(Call& call) { return eraseSk() ? call.ok("1") : call.failed(); }

Outcome tav_eraseAll(Call& call) { return eraseAll() ? call.ok("1") : call.failed(); }

Outcome tav_compress(Call& call) {
  bool removed = false;
  if (!compress(&removed)) return call.failed();
  return call.ok(removed ? "1" : "0");
}

Outcome tav_purge(Call& call) { return purge() ? call.ok("1") : call.failed(); }

Outcome tav_updatePFN(Call& call) {
  int flag = 0;
  if (!call.intArg(1, &flag)) return call.done();
  call.tableText("PCT");
  return updatePaperFullName(flag != 0) ? call.ok("1") : call.failed();
}

Outcome tav_updateNatCodes(Call& call) {
  int evtId = 0;
  int pctId = 0;
  if (!call.intArg(1, &evtId) || !call.intArg(2, &pctId)) return call.done();
  std::string code = call.arg(3);
  if (!valueToTable(call.tableText("PCT"), "PCT", "PCT_NAT", &code)) return call.failed();
  return basicUpdateNatCodes(pctId, code) &&
                 events().eventEvtUpdateNatCodes(evtId, pctId, code)
             ? call.ok("1")
             : call.failed();
}

Outcome tav_updateDpp(Call& call) {
  int evtId = 0;
  int catId = 0;
  int value = 0;
  if (!call.intArg(1, &evtId) || !call.intArg(2, &catId) || !call.intArg(3, &value)) {
    return call.done();
  }
  return events().eventEvtUpdateDpp(evtId, catId, std::to_string(value)) ? call.ok("1")
                                                                        : call.failed();
}

Outcome tav_addOffSbN1(Call& call) {
  call.tableText("PCT");
  return basicUpdateOffScoreBoardName1() ? call.ok("1") : call.failed();
}

}  // namespace tav
