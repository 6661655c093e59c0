// File times and modification marks of the open tables.
#include "base/failure_record.h"
#include "session/tav.h"

namespace tav {

bool CTav::getLatestModified(std::int64_t* time) {
  CallTrace t("CTav.getLatestModified");
  *time = 0;
  for (const auto& entry : handles_.tables()) {
    const std::int64_t mtime = entry.second->getMtime();
    if (mtime > *time) *time = mtime;
  }
  return t.succeed();
}

bool CTav::getHandleMtime(const std::string& handle, std::int64_t* time) {
  CallTrace t("CTav.getHandleMtime");
  CDbf* dbf = table(handle);
  if (dbf == nullptr) return false;
  *time = dbf->getMtime();
  return t.succeed();
}

bool CTav::isHandleModified(const std::string& handle, bool* modified) {
  CallTrace t("CTav.isHandleModified");
  CDbf* dbf = table(handle);
  if (dbf == nullptr) return false;
  *modified = dbf->isModified();
  return t.succeed();
}

bool CTav::anyHandleModified(bool* modified) {
  CallTrace t("CTav.anyHandleModified");
  *modified = false;
  for (const auto& entry : handles_.tables()) {
    if (entry.second->isModified()) {
      *modified = true;
      break;
    }
  }
  return t.succeed();
}

bool CTav::cdxHandleExists(const std::string& handle, bool* exists) {
  CallTrace t("CTav.cdxHandleExists");
  CCdx* cdx = handles_.getCdxHandlePtr(handle);
  if (cdx == nullptr) return false;
  *exists = cdx->isPresent();
  return t.succeed();
}

bool CTav::setHandleModified(const std::string& handle) {
  CallTrace t("CTav.setHandleModified");
  CDbf* dbf = table(handle);
  if (dbf == nullptr) return false;
  dbf->setModified();
  return t.succeed();
}

bool CTav::updateHandleMtime(const std::string& handle) {
  CallTrace t("CTav.updateHandleMtime");
  CDbf* dbf = table(handle);
  if (dbf == nullptr || !dbf->updateMtime(directory_)) return false;
  return t.succeed();
}

bool CTav::getHandleList(std::vector<std::string>* names) {
  CallTrace t("CTav.getHandleList");
  names->clear();
  handles_.getDbfHandleVec(names);
  return t.succeed();
}

}  // namespace tav
