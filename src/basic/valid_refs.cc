#include "basic/valid_refs.h"

#include <cstdint>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "dbf/field_text.h"
#include "session/tav.h"

namespace tav {
namespace {

void warn(const std::string& line) { setErrStr(false, line, true, false); }

// Identifier 0 means "none" and is valid; any other must be in the register.
bool isValidPerson(long long id) {
  return id >= INT32_MIN && id <= INT32_MAX && basic().isValidPctId(static_cast<int>(id));
}

// A club identifier that is not set (0) is valid.
bool isValidClub(long long id) {
  if (id == 0) return true;
  if (!isValidPerson(id)) return false;
  std::string type;
  CallTrace t("CBasic.clubType");
  const bool read = basic().getPctIdType(static_cast<int>(id), &type);
  t.succeed();
  return read && type == "CLU";
}

}  // namespace

bool basicAllValidIdRefs() {
  CallTrace t("CBasic.allValidIdRefs");
  if (!basic().isPopulated() && !basic().populate(0, -1)) return false;
  CDbf* pct = session().handles().getDbfHandlePtr("PCT");
  if (pct == nullptr) return false;
  std::vector<int> f;
  if (!pct->getFieldIndexes({"PCT_CNAME", "PCT_TYPE", "PCT_AFUNCT", "PCT_PCTID", "PCT_PPCTID",
                             "PCT_PCLBID", "PCT_CLBID"},
                            &f)) {
    return false;
  }
  const std::size_t count = pct->numScannable();
  for (std::size_t r = 0; r < count; ++r) {
    if (pct->isDeleted(r)) continue;
    const std::string name(pct->fieldText(r, f[0]));
    const std::string_view type = pct->fieldText(r, f[1]);
    const std::string_view function = pct->fieldText(r, f[2]);
    if (type == "COU") {
      if (!isValidPerson(decimalValue(pct->fieldText(r, f[3])))) {
        warn("ERROR: Couple: " + name + " contains invalid person ID");
      }
      if (!isValidPerson(decimalValue(pct->fieldText(r, f[4])))) {
        warn("ERROR: Couple: " + name + " contains invalid partner ID");
      }
      if (!isValidClub(decimalValue(pct->fieldText(r, f[5])))) {
        warn("ERROR: Couple: " + name + " contains invalid partner club ID");
      }
    } else if (type == "PER" && function == "CMP") {
      if (!isValidClub(decimalValue(pct->fieldText(r, f[6])))) {
        warn("ERROR: Person: " + name + " contains invalid club ID");
      }
    }
  }
  return t.succeed();
}

}  // namespace tav
