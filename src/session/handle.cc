#include "session/handle.h"

#include <atomic>

#include "base/failure_record.h"

namespace tav {

std::uint64_t CHandle::newGeneration() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

bool CHandle::createHandle(const std::string& handle) {
  CallTrace t("CHandle.createHandle");
  removeHandle(handle);
  generation_ = newGeneration();
  if (!tables_.emplace(handle, std::make_unique<CDbf>()).second) {
    return failWith("Unable to add to dbf map: " + handle);
  }
  if (!indexes_.emplace(handle, std::make_unique<CCdx>()).second) {
    tables_.erase(handle);
    return failWith("Unable to add to cdx map: " + handle);
  }
  return t.succeed();
}

void CHandle::removeHandle(const std::string& handle) {
  CallTrace t("CHandle.removeHandle");
  generation_ = newGeneration();
  if (handle == "all") {
    tables_.clear();
    indexes_.clear();
  } else {
    tables_.erase(handle);
    indexes_.erase(handle);
  }
  t.succeed();
}

void CHandle::recordMissing(const std::string& handle) const {
  setErrStr(true, "Handle does not exist: " + handle, false, true);
  setErrStr(false, "Valid handles are: ", true, true);
  for (const auto& entry : tables_) setErrStr(false, entry.first + "\t", true, true);
}

CDbf* CHandle::getDbfHandlePtr(const std::string& handle) {
  CallTrace t("CHandle.getDbfHandlePtr");
  auto it = tables_.find(handle);
  if (it == tables_.end()) {
    recordMissing(handle);
    return nullptr;
  }
  t.succeed();
  return it->second.get();
}

CCdx* CHandle::getCdxHandlePtr(const std::string& handle) {
  CallTrace t("CHandle.getCdxHandlePtr");
  auto it = indexes_.find(handle);
  if (it == indexes_.end()) {
    recordMissing(handle);
    return nullptr;
  }
  t.succeed();
  return it->second.get();
}

bool CHandle::getDbfHandleVec(std::vector<std::string>* names) const {
  CallTrace t("CHandle.getDbfHandleVec");
  for (const auto& entry : tables_) names->push_back(entry.first);
  return t.succeed();
}

}  // namespace tav
