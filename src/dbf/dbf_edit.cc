// Editing records in memory: update, add, delete, clear and compress.  Every
// change sets the modified flag; only a save clears it.
#include "base/failure_record.h"
#include "dbf/dbf.h"

namespace tav {

// Turns "NAME=value" assignments into field index -> value, split at the
// first "=".  A later assignment to the same field replaces an earlier one.
bool CDbf::parseAssignments(const std::vector<std::string>& assignments,
                            const char* operation, bool skipEmpty,
                            std::map<int, std::string>* values) {
  values->clear();
  for (const std::string& assignment : assignments) {
    const std::string::size_type eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0) {
      return failWith(code_ + "_" + operation + ": Invalid field nameValue pair: " +
                      assignment);
    }
    const int index = getFieldIndex(assignment.substr(0, eq));
    if (index < 0) return false;
    if (skipEmpty && eq + 1 == assignment.size()) continue;
    (*values)[index] = assignment.substr(eq + 1);
  }
  return true;
}

bool CDbf::updateRec(int recNo, const std::vector<std::string>& assignments) {
  CallTrace t(trace("updateRec"));
  if (!checkRecNo(recNo, "updateRec")) return false;
  std::map<int, std::string> values;
  if (!parseAssignments(assignments, "updateRec", false, &values)) return false;
  if (!formatRecord(recNo, values)) return false;
  // Cached lookups of the changed fields would answer from the old texts.
  for (const auto& entry : values) recNoCache_.erase(entry.first);
  modified_ = true;
  return t.succeed();
}

bool CDbf::addRec(const std::vector<std::string>& assignments, int* recNo) {
  CallTrace t(trace("addRec-s"));
  std::map<int, std::string> values;
  if (!parseAssignments(assignments, "addRec", true, &values)) return false;
  return addRec(values, recNo) && t.succeed();
}

bool CDbf::addRec(const std::map<int, std::string>& values, int* recNo) {
  CallTrace t(trace("addRec-i"));
  if (records_.recordLength() == 0) {
    return failWith(code_ + "_addRec: Invalid record length: 0");
  }
  if (records_.appendBlank() == nullptr) {
    return failWith(code_ + "_addRec: Unable to allocate required memory");
  }
  // The new record is the last one held; its number is its position, which
  // is the header's count whenever the count agrees with the records held.
  const int added = static_cast<int>(records_.size() - 1);
  if (!formatRecord(added, values)) {
    records_.removeLast();
    return false;
  }
  // Cached fields find the new record by its stored text, as a rebuilt
  // cache would, and by each value exactly as it was given.
  for (auto& [field, entry] : recNoCache_) entry.set(fieldText(added, field), added);
  for (const auto& [field, value] : values) {
    auto cached = recNoCache_.find(field);
    if (cached != recNoCache_.end()) cached->second.set(value, added);
  }
  header_.recordCount = static_cast<std::uint32_t>(records_.size());
  modified_ = true;
  *recNo = added;
  return t.succeed();
}

bool CDbf::deleteRec(int recNo) {
  CallTrace t(trace("deleteRec"));
  if (!checkRecNo(recNo, "deleteRec")) return false;
  char* record = records_.at(recNo);
  if (record[0] == '*') {
    return failWith(code_ + "_deleteRec: record already deleted: " + std::to_string(recNo));
  }
  record[0] = '*';
  modified_ = true;
  dropCache();
  return t.succeed();
}

bool CDbf::clearRecs() {
  CallTrace t(trace("clearRecs"));
  if (records_.size() > 0) {
    records_.clear();
    header_.recordCount = 0;
    modified_ = true;
    dropCache();
  }
  return t.succeed();
}

bool CDbf::compressRecs() {
  CallTrace t(trace("compressRecs"));
  t.succeed();  // "nothing to remove" is an answer, not a failure
  if (records_.removeDeleted() == 0) return false;
  header_.recordCount = static_cast<std::uint32_t>(records_.size());
  modified_ = true;
  dropCache();
  return true;
}

}  // namespace tav
