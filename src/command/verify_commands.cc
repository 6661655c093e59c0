// tav_verify: the checks of the open database.  Types 0 to 3 are the
// session's own; type 4 checks the references of the event tree and the
// register, which live above the session and are handed to it here.
#include "basic/valid_refs.h"
#include "command/commands.h"
#include "event/valid_refs.h"
#include "session/tav.h"

namespace tav {

Outcome tav_verify(Call& call) {
  int type = 0;
  int repair = 0;
  if (!call.intArg(1, &type) || !call.intArg(2, &repair)) return call.done();
  if (type < 0 || type > 4) return call.answer("tav_verify: Invalid type: " + std::to_string(type), 1);
  // Findings and progress lines quote names of the register and the event
  // tables.
  call.tableText("PCT");
  const auto references = [] { return eventsAllValidIdRefs() && basicAllValidIdRefs(); };
  return call.ok(session().verify(type, repair != 0, references));
}

}  // namespace tav
