// Generic table access by handle, for the table access commands.  Each
// forwarder finds the table and calls the table operation of the same
// meaning.
#include "base/failure_record.h"
#include "session/tav.h"

namespace tav {

bool CTav::getHandleNumFields(const std::string& handle, int* count) {
  CallTrace t("CTav.getHandleNumFields");
  CDbf* dbf = table(handle);
  if (dbf == nullptr) return false;
  *count = dbf->getNumFields();
  return t.succeed();
}

bool CTav::getHandleNumRecs(const std::string& handle, int* count) {
  CallTrace t("CTav.getHandleNumRecs");
  CDbf* dbf = table(handle);
  if (dbf == nullptr) return false;
  *count = static_cast<int>(dbf->getNumRecs());
  return t.succeed();
}

bool CTav::getHandleNumDelRecs(const std::string& handle, int* count) {
  CallTrace t("CTav.getHandleNumDelRecs");
  CDbf* dbf = table(handle);
  if (dbf == nullptr) return false;
  *count = dbf->getNumDelRecs();
  return t.succeed();
}

bool CTav::getHandleHdate(const std::string& handle, std::string* date) {
  CallTrace t("CTav.getHandleHdate");
  CDbf* dbf = table(handle);
  return dbf != nullptr && dbf->getHdate(date) && t.succeed();
}

bool CTav::getHandleCodePage(const std::string& handle, std::uint8_t* codePage) {
  CallTrace t("CTav.getHandleCodePage");
  CDbf* dbf = table(handle);
  if (dbf == nullptr) return false;
  *codePage = dbf->header().codePage;
  return t.succeed();
}

bool CTav::getHandleFieldParams(const std::string& handle, int index, std::string* name,
                                char* type, int* length, int* offset) {
  CallTrace t("CTav.getHandleFieldParams");
  CDbf* dbf = table(handle);
  return dbf != nullptr && dbf->getFieldParams(index, name, type, length, offset) &&
         t.succeed();
}

int CTav::getHandleFieldIndex(const std::string& handle, const std::string& name) {
  CallTrace t("CTav.getHandleFieldIndex");
  CDbf* dbf = table(handle);
  if (dbf == nullptr) return -2;
  const int index = dbf->getFieldIndex(name);
  if (index >= 0) t.succeed();
  return index;
}

bool CTav::getHandleFieldNames(const std::string& handle, std::vector<std::string>* names) {
  CallTrace t("CTav.getHandleFieldNames");
  CDbf* dbf = table(handle);
  return dbf != nullptr && dbf->getFieldNames(names) && t.succeed();
}

int CTav::getHandleRecNo(const std::string& handle, const std::string& field,
                         const std::string& value) {
  CallTrace t("CTav.getHandleRecNo");
  CDbf* dbf = table(handle);
  // An unknown field is a failure, not a lookup that found nothing.
  if (dbf == nullptr) return -99;
  if (dbf->findField(field) < 0) {
    dbf->getFieldIndex(field);  // records the table's own message
    return -99;
  }
  const int recNo = dbf->getRecNo(field, value);
  if (recNo >= 0) t.succeed();
  return recNo;
}

bool CTav::getHandleSingleRecData(const std::string& handle, int recNo,
                                  const std::vector<std::string>& fields, int mode,
                                  bool* deleted, std::vector<std::string>* values) {
  CallTrace t("CTav.getHandleSingleRecData");
  CDbf* dbf = table(handle);
  return dbf != nullptr && dbf->getSingleRecData(recNo, fields, mode, deleted, values) &&
         t.succeed();
}

bool CTav::getHandleMapRecData(const std::string& handle, int recNo, bool* deleted,
                               std::map<std::string, std::string>* values) {
  CallTrace t("CTav.getHandleMapRecData");
  CDbf* dbf = table(handle);
  return dbf != nullptr && dbf->getMapRecData(recNo, deleted, values) && t.succeed();
}

bool CTav::getHandleFieldRecData(const std::string& handle,
                                 const std::vector<std::string>& fields,
                                 const std::map<std::string, std::string>& qualifiers,
                                 const std::string& sortName, bool ignoreCase,
                                 std::vector<std::string>* lines) {
  CallTrace t("CTav.getHandleFieldRecData");
  CDbf* dbf = table(handle);
  return dbf != nullptr &&
         dbf->getFieldRecData(fields, qualifiers, sortName, ignoreCase, lines) &&
         t.succeed();
}

bool CTav::clearHandleRecs(const std::string& handle) {
  CallTrace t("CTav.clearHandleRecs");
  CDbf* dbf = table(handle);
  return dbf != nullptr && dbf->clearRecs() && t.succeed();
}

bool CTav::updateHandleRecData(const std::string& handle, int recNo,
                               const std::vector<std::string>& assignments) {
  CallTrace t("CTav.updateHandleRecData");
  CDbf* dbf = table(handle);
  return dbf != nullptr && dbf->updateRec(recNo, assignments) && t.succeed();
}

bool CTav::addHandleRecData(const std::string& handle,
                            const std::vector<std::string>& assignments, int* recNo) {
  CallTrace t("CTav.addHandleRecData");
  CDbf* dbf = table(handle);
  return dbf != nullptr && dbf->addRec(assignments, recNo) && t.succeed();
}

bool CTav::delHandleRec(const std::string& handle, int recNo) {
  CallTrace t("CTav.delHandleRec");
  CDbf* dbf = table(handle);
  return dbf != nullptr && dbf->deleteRec(recNo) && t.succeed();
}

bool CTav::findFieldByName(const std::function<std::string(std::uint8_t codePage)>& nameFor,
                           std::vector<FieldLocation>* rows) {
  CallTrace t("CTav.findFieldByName");
  rows->clear();
  for (const auto& [handle, dbf] : handles_.tables()) {
    const int index = dbf->findField(nameFor(dbf->header().codePage));
    if (index < 0) continue;
    const DbfField& field = dbf->fields()[index];
    rows->push_back({handle, index, field.type, field.length, static_cast<int>(field.offset)});
  }
  return t.succeed();
}

bool CTav::findFieldData(const std::function<std::string(std::uint8_t codePage)>& textFor,
                         std::vector<std::pair<std::string, FieldMatches>>* matches) {
  CallTrace t("CTav.findFieldData");
  matches->clear();
  for (const auto& [handle, dbf] : handles_.tables()) {
    FieldMatches found;
    if (!dbf->findFieldData(textFor(dbf->header().codePage), &found)) return false;
    if (found.size() > 0) matches->emplace_back(handle, std::move(found));
  }
  return t.succeed();
}

}  // namespace tav
