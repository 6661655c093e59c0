// Commands that report the database version.
#include "command/commands.h"
#include "session/tav.h"

namespace tav {

Outcome tav_getDBversion(Call& call) {
  std::string text;
  return session().getDBversion(&text, false) ? call.ok(text) : call.failed();
}

Outcome tav_isValidVersion(Call& call) {
  const int supported = session().isSupported();
  return supported == -2 ? call.failed() : call.ok(supported);
}

}  // namespace tav
