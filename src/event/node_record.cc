#include "event/node_record.h"

#include <cstring>

#include "base/failure_record.h"
#include "event/field_number.h"
#include "session/tav.h"

namespace tav {

int FieldSlot::resolve(const CDbf& table) {
  const auto& fields = table.fields();
  const bool held = index_ >= 0 && static_cast<std::size_t>(index_) < fields.size();
  if (held && layoutId_ == table.layoutId()) return index_;
  if (!held || std::strcmp(fields[index_].name, name_.c_str()) != 0) {
    index_ = table.findField(name_);
  }
  layoutId_ = index_ >= 0 ? table.layoutId() : 0;
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
  CHandle& handles = session().handles();
  if (table_ != nullptr && tableGeneration_ == handles.generation()) return table_;
  // The registry's own lookup records the message of a missing handle; the
  // direct find spares every read that message's trace entry.
  const auto& tables = handles.tables();
  auto it = tables.find(handle_);
  if (it == tables.end()) return handles.getDbfHandlePtr(handle_);
  table_ = it->second.get();
  tableGeneration_ = handles.generation();
  return table_;
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

bool NodeRecord::hold(HeldRecord* held) const {
  CDbf* dbf = liveTable();
  if (dbf == nullptr) return false;
  *held = HeldRecord(dbf, recNo_);
  return true;
}

bool HeldRecord::view(FieldSlot& field, std::string_view* view, int* index) const {
  *index = field.resolve(*table_);
  if (*index < 0) return table_->getFieldIndex(field.name()) >= 0;
  *view = table_->fieldText(recNo_, *index);
  return true;
}

bool HeldRecord::text(FieldSlot& field, std::string* value) const {
  std::string_view found;
  int index = -1;
  if (!view(field, &found, &index)) return false;
  if (index >= 0) value->assign(found);
  return true;
}

bool HeldRecord::integer(FieldSlot& field, int* value) const {
  std::string_view found;
  int index = -1;
  if (!view(field, &found, &index)) return false;
  // A field that is missing reads as empty text, as NodeRecord::integer did.
  *value = decimalInt(index >= 0 ? found : std::string_view());
  return true;
}

bool HeldRecord::hundredths(FieldSlot& field, int* value) const {
  std::string_view found;
  int index = -1;
  if (!view(field, &found, &index)) return false;
  if (index >= 0) *value = hundredthsOf(found, table_->fields()[index].decimals);
  return true;
}

bool NodeRecord::text(FieldSlot& field, std::string* value) const {
  HeldRecord held(nullptr, 0);
  return hold(&held) && held.text(field, value);
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
  HeldRecord held(nullptr, 0);
  return hold(&held) && held.integer(field, value);
}

bool NodeRecord::hundredths(FieldSlot& field, int* value) const {
  HeldRecord held(nullptr, 0);
  return hold(&held) && held.hundredths(field, value);
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
