// The session's view of the database version.
#include "base/failure_record.h"
#include "session/tav.h"

namespace tav {

bool CTav::getDBversion(std::string* text, bool dotted) {
  CallTrace t("CTav.getDBversion");
  if (!version_.getVersion(text)) return false;
  if (dotted && text->size() == 5) {
    *text = text->substr(0, 1) + "." + text->substr(1, 2) + "." + text->substr(3);
  }
  return t.succeed();
}

int CTav::isSupported() { return version_.isSupported(); }

}  // namespace tav
