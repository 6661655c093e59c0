#include "event/node_record.h"

#include <cstring>

#include "base/failure_record.h"
#include "event/field_number.h"
#include "session/tav.h"

namespace tav {

int FieldSlot::resolve(const CDbf& table) {
  const auto& fields = table.fields();
  if (index_ >= 0 && static_cast<std::size_t>(index_) < fields.size() &&
      std::strcmp(fields[index_].name, name_.c_str()) == 0) {
    return index_;
  }
  index_ = table.findField(name_);
  return index_;
}

std::string_view fieldOrEmpty(const CDbf& table, std::size_t recNo, FieldSlot& field) {
  const int index = field.resolve(table);
  if (index < 0 || recNo >= table.numRecordsHeld()) return std::string_view();
  return table.fieldText(recNo, index);
}

bool refuseIdChange(const std::vector<std::string>& fields,
                    const std::vector<std::string>& values, const char* field, int id) {
  for (std::size_t i = 0; i < fields.size() && i < values.size(); ++i) {
    if (fields[i] == field && decimalInt(values[i]) != id) {
      return failWith(std::string(field) + " of a built node cannot change: " + values[i]);
    }
  }
  return true;
}

CDbf* NodeRecord::table() const {
  // The registry's own lookup records the message of a missing handle; the
  // direct find spares every read that message's trace entry.
  const auto& tables = session().handles().tables();
  auto it = tables.find(handle_);
  if (it != tables.end()) return it->second.get();
  return session().handles().getDbfHandlePtr(handle_);
}

CDbf* NodeRecord::liveTable() const {
  CDbf* dbf = table();
  if (dbf == nullptr) return nullptr;
  if (recNo_ >= dbf->numScannable() || dbf->isDeleted(recNo_)) {
    failWith("Record deleted: " + std::to_string(recNo_));
    return nullptr;
  }
  return dbf;
}

bool NodeRecord::text(FieldSlot& field, std::string* value) const {
  CDbf* dbf = liveTable();
  if (dbf == nullptr) return false;
  const int index = field.resolve(*dbf);
  if (index < 0) return dbf->getFieldIndex(field.name()) >= 0;
  value->assign(dbf->fieldText(recNo_, index));
  return true;
}

bool NodeRecord::text(const std::string& field, std::string* value) const {
  FieldSlot slot(field);
  return text(slot, value);
}

bool NodeRecord::letter(FieldSlot& field, char* value) const {
  std::string text;
  if (!this->text(field, &text)) return false;
  *value = text.empty() ? '\0' : text[0];
  return true;
}

bool NodeRecord::integer(FieldSlot& field, int* value) const {
  std::string text;
  if (!this->text(field, &text)) return false;
  *value = decimalInt(text);
  return true;
}

bool NodeRecord::hundredths(FieldSlot& field, int* value) const {
  CDbf* dbf = liveTable();
  if (dbf == nullptr) return false;
  const int index = field.resolve(*dbf);
  if (index < 0) return dbf->getFieldIndex(field.name()) >= 0;
  *value = hundredthsOf(dbf->fieldText(recNo_, index), dbf->fields()[index].decimals);
  return true;
}

bool NodeRecord::getFieldData(std::vector<std::string>* fields,
                              std::vector<std::string>* values) const {
  CDbf* dbf = liveTable();
  if (dbf == nullptr) return false;
  bool deleted = false;
  if (fields->empty()) {
    dbf->getFieldNames(fields);
    return dbf->getSingleRecData(static_cast<int>(recNo_), std::vector<int>(), 0, &deleted,
                                 values);
  }
  return dbf->getSingleRecData(static_cast<int>(recNo_), *fields, 0, &deleted, values);
}

bool NodeRecord::setFieldData(const std::vector<std::string>& fields,
                              const std::vector<std::string>& values, bool* changed) const {
  if (changed != nullptr) *changed = false;
  if (fields.size() != values.size()) {
    return failWith("Field and value lists differ in length: " + std::to_string(fields.size()) +
                    " fields, " + std::to_string(values.size()) + " values");
  }
  std::vector<std::string> current;
  std::vector<std::string> names = fields;
  if (names.empty()) return liveTable() != nullptr;
  if (!getFieldData(&names, &current)) return false;
  std::vector<std::string> assignments;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (current[i] != values[i]) assignments.push_back(fields[i] + "=" + values[i]);
  }
  if (assignments.empty()) return true;
  if (changed != nullptr) *changed = true;
  return update(assignments);
}

bool NodeRecord::update(const std::vector<std::string>& assignments) const {
  CDbf* dbf = liveTable();
  if (dbf == nullptr) return false;
  return dbf->updateRec(static_cast<int>(recNo_), assignments);
}

}  // namespace tav
