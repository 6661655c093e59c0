// Field lookup and reading single records.
#include "base/failure_record.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"

namespace tav {

void FieldMatches::clear() {
  fieldIndexes.clear();
  fieldNames.clear();
  types.clear();
  lengths.clear();
  offsets.clear();
  recordNumbers.clear();
}

std::string_view CDbf::fieldText(std::size_t recNo, int field) const {
  const DbfField& f = fields_[field];
  return fieldTextOf(std::string_view(records_.at(recNo) + f.offset, f.length));
}

bool CDbf::checkRecNo(int recNo, const char* operation) {
  if (recNo >= 0 && static_cast<std::size_t>(recNo) < records_.size()) return true;
  return failWith(code_ + "_" + operation + ": Invalid record number: " +
                  std::to_string(recNo));
}

bool CDbf::getFieldParams(int index, std::string* name, char* type, int* length,
                          int* offset) {
  CallTrace t(trace("getFieldParams"));
  if (index < 0 || index >= getNumFields()) {
    return failWith(code_ + "_getFieldPrams: Invalid field index: " + std::to_string(index));
  }
  const DbfField& f = fields_[index];
  *name = f.storedName();
  *type = f.type;
  *length = f.length;
  *offset = static_cast<int>(f.offset);
  return t.succeed();
}

int CDbf::findField(const std::string& name) const {
  auto it = fieldIndex_.find(name);
  return it == fieldIndex_.end() ? -1 : it->second;
}

int CDbf::getFieldIndex(const std::string& name) {
  CallTrace t(trace("getFieldIndex"));
  const int index = findField(name);
  if (index < 0) {
    failWith(code_ + "_getFieldIndex: Invalid field name: " + name);
    return -1;
  }
  t.succeed();
  return index;
}

bool CDbf::getFieldIndexes(const std::vector<std::string>& names,
                           std::vector<int>* indexes) {
  CallTrace t(trace("getFieldIndexes"));
  indexes->clear();
  for (const std::string& name : names) {
    const int index = getFieldIndex(name);
    if (index < 0) return failWith(code_ + "_getFieldIndexes: Invalid field name: " + name);
    indexes->push_back(index);
  }
  return t.succeed();
}

bool CDbf::getFieldNames(std::vector<std::string>* names) const {
  names->clear();
  for (const DbfField& f : fields_) names->push_back(f.storedName());
  return true;
}

bool CDbf::getMapRecData(int recNo, bool* deleted,
                         std::map<std::string, std::string>* values) {
  CallTrace t(trace("getMapRecData"));
  values->clear();
  if (!checkRecNo(recNo, "getMapRecData")) return false;
  for (int i = 0; i < getNumFields(); ++i) {
    values->emplace(fields_[i].storedName(), std::string(fieldText(recNo, i)));
  }
  *deleted = isDeleted(recNo);
  return t.succeed();
}

bool CDbf::getSingleRecData(int recNo, const std::vector<int>& fieldIndexes, int mode,
                            bool* deleted, std::vector<std::string>* values) {
  CallTrace t(trace("getSingleRecData"));
  values->clear();
  if (!checkRecNo(recNo, "getSingleRecData")) return false;
  if (!fieldIndexes.empty()) {
    for (int index : fieldIndexes) {
      if (index < 0 || index >= getNumFields()) {
        return failWith(code_ + "_getSingleRecData: Invalid field index: " +
                        std::to_string(index));
      }
      values->emplace_back(fieldText(recNo, index));
    }
  } else {
    // The whole record: one-character text fields read as a blank when empty,
    // and as their character code in mode 1.
    for (int i = 0; i < getNumFields(); ++i) {
      const DbfField& f = fields_[i];
      std::string value(fieldText(recNo, i));
      if (f.type == 'C' && f.length == 1) {
        if (value.empty()) value = " ";
        if (mode == 1) value = "(" + std::to_string(static_cast<unsigned char>(value[0])) + ")";
      }
      values->push_back(std::move(value));
    }
  }
  *deleted = isDeleted(recNo);
  return t.succeed();
}

bool CDbf::getSingleRecData(int recNo, const std::vector<std::string>& fieldNames,
                            int mode, bool* deleted, std::vector<std::string>* values) {
  CallTrace t(trace("getSingleRecData"));
  std::vector<int> indexes;
  if (!getFieldIndexes(fieldNames, &indexes)) return false;
  return getSingleRecData(recNo, indexes, mode, deleted, values) && t.succeed();
}

}  // namespace tav
