// tav_compareDbf: the comparison of two database folders into the
// application's list widgets.
#include "command/commands.h"
#include "session/tav.h"

namespace tav {

Outcome tav_compareDbf(Call& call) {
  return session().compareDbf(call.arg(1), call.arg(2), call.arg(3), call.arg(4))
             ? call.ok("1")
             : call.failed();
}

}  // namespace tav
