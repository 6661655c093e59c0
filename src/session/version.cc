#include "session/version.h"

#include <sstream>

#include "base/failure_record.h"
#include "dbf/field_text.h"
#include "session/handle.h"

namespace tav {
namespace {

// The versions this library supports, blank-separated.
const char kSupportedVersions[] = "11135";

int toInt(const std::string& text) { return static_cast<int>(decimalValue(text)); }

}  // namespace

bool CVersion::isValid() {
  CallTrace t("CVersion.isValid");
  CDbf* cfg = handles_.getDbfHandlePtr("CFG");
  if (cfg == nullptr) return false;
  if (cfg->getNumRecs() != 1) {
    return failWith("CFG: Invalid record count: " + std::to_string(cfg->getNumRecs()));
  }
  return t.succeed();
}

bool CVersion::getVersion(std::string* text) {
  CallTrace t("CVersion.getVersion");
  text->clear();
  if (!known_) known_ = readVersion();
  *text = text_;
  // The entry goes whether or not a version was read: the message stays in
  // the kept error text, and each caller leaves its own entry when a missing
  // version is a failure for it.
  t.succeed();
  return known_;
}

bool CVersion::readVersion() {
  CDbf* cfg = handles_.getDbfHandlePtr("CFG");
  if (cfg == nullptr) return false;
  const int field = cfg->getFieldIndex("CFG_DBFVER");
  if (field < 0) return false;
  bool deleted = false;
  std::vector<std::string> values;
  if (!cfg->getSingleRecData(0, std::vector<int>{field}, 0, &deleted, &values)) return false;
  if (deleted) return failWith("CFG: Configuration record is deleted");
  text_ = values[0];
  return true;
}

int CVersion::versionNumber() {
  if (number_ == -1) {
    std::string text;
    if (getVersion(&text)) number_ = toInt(text);
  }
  return number_;
}

int CVersion::isSupported() {
  CallTrace t("CVersion.isSupported");
  std::string text;
  if (!getVersion(&text)) return -2;
  const int version = toInt(text);
  bool older = false;
  bool newer = false;
  std::istringstream supported(kSupportedVersions);
  std::string token;
  while (supported >> token) {
    const int known = toInt(token);
    if (version == known) {
      t.succeed();
      return 0;
    }
    if (version < known) older = true; else newer = true;
  }
  t.succeed();
  if (older) return -1;
  return newer ? 1 : -2;
}

void CVersion::close() {
  known_ = false;
  number_ = -1;
  text_.clear();
}

}  // namespace tav

