// Opening, loading, saving and closing a database folder.
#include <sstream>
#include <utility>

#include "base/failure_record.h"
#include "dbf/file_io.h"
#include "session/table_lists.h"
#include "session/tav.h"

namespace tav {

CTav::CTav() : version_(handles_) {}

bool CTav::setExecPath(const std::string& folder) {
  CallTrace t("CTav.setExecPath");
  execPath_ = folder;
  return t.succeed();
}

bool CTav::setDirectoryPath(const std::string& folder) {
  CallTrace t("CTav.setDirectoryPath");
  directory_ = folder;
  return t.succeed();
}

bool CTav::getDirectoryPath(std::string* folder) const {
  CallTrace t("CTav.getDirectoryPath");
  *folder = directory_;
  return t.succeed();
}

bool CTav::loadHandles(const char* list) {
  std::istringstream handles(list);
  std::string handle;
  while (handles >> handle) {
    if (!loadHandle(handle)) return false;
  }
  return true;
}

bool CTav::openDB(const std::string& folder) {
  CallTrace t("CTav.openDB");
  directory_ = folder;
  removeAbandonedTemps(folder);
  if (!loadHandle(kConfigTable) || !version_.isValid()) return false;
  const int number = version_.versionNumber();
  if (number == -1) return false;
  if (!loadHandles(kBaseTables)) return false;
  for (const VersionedTables& row : kVersionedTables) {
    if (number >= row.fromVersion && !loadHandles(row.handles)) return false;
  }
  return t.succeed();
}

// The table and its index companion are read into fresh objects and take
// the place of the registered ones only when both were read.  A load that
// fails therefore changes nothing: a table that was open stays open with its
// records, its edits and its modified mark, and a handle that was not open
// is not created (an empty stand-in under its handle would be written over
// good files by the next save to another folder).
bool CTav::loadHandle(const std::string& handle) {
  CallTrace t("CTav.loadHandle");
  CDbf dbf;
  CCdx cdx;
  if (!dbf.populate(handle, directory_) || !cdx.load(handle, directory_)) return false;
  const bool wasOpen = handles_.tables().count(handle) != 0;
  if (!wasOpen && !handles_.createHandle(handle)) return false;
  CDbf* openTable = table(handle);
  CCdx* openIndex = handles_.getCdxHandlePtr(handle);
  if (openTable == nullptr || openIndex == nullptr) {
    return failWith(handle + ": Invalid cdx handle");
  }
  // Reading a table again replaces its records under whatever was built on it.
  if (wasOpen) notifyClose();
  *openTable = std::move(dbf);
  *openIndex = std::move(cdx);
  return t.succeed();
}

void CTav::addCloseListener(std::function<void()> listener) {
  closeListeners_.push_back(std::move(listener));
}

void CTav::notifyClose() {
  for (const auto& listener : closeListeners_) listener();
}

bool CTav::close() {
  CallTrace t("CTav.close");
  notifyClose();
  version_.close();
  handles_.removeHandle("all");
  return t.succeed();
}

// A save or an open first clears the folder of temporary files that an
// earlier save left when its process was killed half-way.
//
// The tables of a save are written one after the other and then put in
// place together, with the index files removed in their turn (CommitBatch):
// each table no longer waits for the disk on its own, and the outcome is the
// one of saving them one by one.  When a table cannot be written, the ones
// before it are still put in place; its message stays unless putting them
// in place fails as well.

bool CTav::saveAll() {
  CallTrace t("CTav.saveAll");
  removeAbandonedTemps(directory_);
  CommitBatch batch;
  for (const auto& [handle, dbf] : handles_.tables()) {
    bool ok = true;
    if (dbf->isModified()) {
      CCdx* cdx = handles_.getCdxHandlePtr(handle);
      ok = cdx != nullptr && cdx->setRemove() && cdx->save(false, directory_, &batch);
    }
    if (!ok || !dbf->save(false, directory_, &batch)) {
      batch.commitAll();
      return false;
    }
  }
  return batch.commitAll() && t.succeed();
}

bool CTav::saveAsAll(const std::string& folder) {
  CallTrace t("CTav.saveAsAll");
  // Tables written to the new folder lose their modified mark; if the save
  // stops half-way the database stays in the old folder, so the marks are
  // put back and a later save still writes those changes there.
  removeAbandonedTemps(folder);
  std::vector<CDbf*> wereModified;
  for (const auto& [handle, dbf] : handles_.tables()) {
    if (dbf->isModified()) wereModified.push_back(dbf.get());
  }
  CommitBatch batch;
  bool ok = true;
  for (const auto& [handle, dbf] : handles_.tables()) {
    CCdx* cdx = handles_.getCdxHandlePtr(handle);
    ok = cdx != nullptr;
    if (ok && dbf->isModified()) ok = cdx->setRemove();
    ok = ok && cdx->save(true, folder, &batch) && dbf->save(true, folder, &batch);
    if (!ok) break;
  }
  ok = batch.commitAll() && ok;
  if (!ok) {
    for (CDbf* modified : wereModified) modified->setModified();
    return false;
  }
  directory_ = folder;
  return t.succeed();
}

}  // namespace tav
