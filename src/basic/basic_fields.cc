// Reading and writing register entries field by field, adding entries with
// the next free identifiers, and the bulk updates of the register: first
// scoreboard lines of officials and nation codes.
#include <algorithm>
#include <map>
#include <string>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/basic_impl.h"
#include "dbf/dbf.h"
#include "session/tav.h"

namespace tav {
namespace {

bool recordDeleted(int recNo) { return failWith("Record deleted: " + std::to_string(recNo)); }

// A residence that may stand in a name: not empty and not "Undefined".
bool usableResidence(const std::string& residence) {
  return !residence.empty() && residence != "Undefined";
}

}  // namespace

// The PCT table: the populated one, else the session's (operations that
// only walk the table need no populate).
CDbf* CBasic::pctTable() {
  return pct_ != nullptr ? pct_ : session().handles().getDbfHandlePtr("PCT");
}

bool CBasic::readRecord(int recNo, std::vector<std::string>* names,
                        std::vector<std::string>* values) {
  CDbf* pct = pctTable();
  if (pct == nullptr) return false;
  bool deleted = false;
  values->clear();
  if (names->empty()) {
    std::map<std::string, std::string> all;
    if (!pct->getMapRecData(recNo, &deleted, &all)) return false;
    for (const auto& [name, value] : all) {
      names->push_back(name);
      values->push_back(value);
    }
  } else if (!pct->getSingleRecData(recNo, *names, 0, &deleted, values)) {
    return false;
  }
  return !deleted || recordDeleted(recNo);
}

bool CBasic::getFieldData(int id, std::vector<std::string>* names,
                          std::vector<std::string>* values) {
  CallTrace t("CBasic.getFieldData");
  int recNo = 0;
  if (!requirePct() || !getPctIdRecNo(id, &recNo)) return false;
  return readRecord(recNo, names, values) && t.succeed();
}

// Writes only the fields whose value differs from the stored one.
bool CBasic::writeChanged(int recNo, const std::vector<std::string>& names,
                          const std::vector<std::string>& values,
                          std::vector<std::string>* changed) {
  if (names.size() != values.size()) {
    return failWith("Field names and values differ in number: " + std::to_string(names.size()) +
                    " names, " + std::to_string(values.size()) + " values");
  }
  std::vector<std::string> current;
  std::vector<std::string> fields = names;
  if (!readRecord(recNo, &fields, &current)) return false;
  std::vector<std::string> assignments;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (current[i] == values[i]) continue;
    assignments.push_back(names[i] + "=" + values[i]);
    if (changed != nullptr) changed->push_back(names[i]);
  }
  return assignments.empty() || pctTable()->updateRec(recNo, assignments);
}

// A person's club is also the club of the couples the person skates in:
// PCT_CLBID where the person is the first partner, PCT_PCLBID where second.
bool CBasic::carryClubToCouples(int personId, const std::string& club) {
  CDbf* pct = pctTable();
  std::vector<int> f;
  if (!pct->getFieldIndexes({"PCT_TYPE", "PCT_PCTID", "PCT_PPCTID"}, &f)) return false;
  for (int r = 0; r < static_cast<int>(pct->numScannable()); ++r) {
    if (pct->isDeleted(r) || pct->fieldText(r, f[0]) != "COU") continue;
    if (intValue(pct->fieldText(r, f[1])) == personId && !pct->updateRec(r, {"PCT_CLBID=" + club})) {
      return false;
    }
    if (intValue(pct->fieldText(r, f[2])) == personId &&
        !pct->updateRec(r, {"PCT_PCLBID=" + club})) {
      return false;
    }
  }
  return true;
}

// Identifier 0 stands for "every entry" in the bulk updates that follow a
// change, so an entry without a positive identifier is refused here.
bool CBasic::setFieldData(int id, const std::vector<std::string>& names,
                          const std::vector<std::string>& values,
                          std::vector<std::string>* changed) {
  CallTrace t("CBasic.setFieldData");
  if (id <= 0) {
    return failWith("Invalid pctId: " + std::to_string(id) +
                    " (an entry needs an identifier above 0 to be changed)");
  }
  int recNo = 0;
  if (!requirePct() || !getPctIdRecNo(id, &recNo)) return false;
  std::vector<std::string> written;
  if (!writeChanged(recNo, names, values, &written)) return false;
  std::string type;
  if (!readText(pct_, recNo, impl_->fields.type, &type)) return false;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool clubChanged = names[i] == "PCT_CLBID" &&
                             std::find(written.begin(), written.end(), names[i]) != written.end();
    if (type == "PER" && clubChanged && !carryClubToCouples(id, values[i])) return false;
  }
  if (changed != nullptr) *changed = written;
  return t.succeed();
}

bool CBasic::updateAddRec(const std::string& handle, int* recNo,
                          const std::vector<std::string>& assignments, int id) {
  CallTrace t("CBasic.updateAddRec");
  Impl& d = *impl_;
  CDbf* table = nullptr;
  int found = -1;
  int* nextId = nullptr;
  std::string idField;
  if (handle == "PCT") {
    if (!requirePct()) return false;
    table = pct_;
    auto entry = d.pctIds.find(id);
    if (id > 0 && entry != d.pctIds.end()) found = entry->second;
    nextId = &nextPctId_;
    idField = "PCT_ID";
  } else if (handle == "PEL") {
    if (d.pel == nullptr) return failWith("Register not populated: no planned elements");
    table = d.pel;
    if (id > 0 && !getPctIdPelRecNo(id, &found)) return false;
    nextId = &nextPelId_;
    idField = "PEL_ID";
  } else if (handle == "ELM") {
    if (d.elm == nullptr) return failWith("Register not populated: no elements");
    table = d.elm;
    auto entry = d.elmIds.find(id);
    if (id > 0 && entry != d.elmIds.end()) found = entry->second;
    nextId = &nextElmId_;
    idField = "ELM_ID";
  } else {
    return failWith("Invalid handle: " + handle);
  }
  if (found >= 0 && static_cast<std::size_t>(found) < table->numRecordsHeld()) {
    if (!table->updateRec(found, assignments)) return false;
    *recNo = found;
    return t.succeed();
  }
  std::vector<std::string> withId = assignments;
  const int newId = *nextId;
  withId.push_back(idField + "=" + std::to_string(newId));
  if (!table->addRec(withId, recNo)) return false;
  ++*nextId;
  // The new record enters the identifier maps at once, so that a second
  // call for the same entry updates it instead of adding another.
  if (handle == "PCT") {
    d.pctIds[newId] = *recNo;
    if (static_cast<std::size_t>(*recNo) >= d.idOfRecNo.size()) {
      d.idOfRecNo.resize(*recNo + 1, kNoPctId);
    }
    d.idOfRecNo[*recNo] = newId;
  } else if (handle == "PEL") {
    d.pelIds[newId] = *recNo;
    if (id > 0) d.pelOfPct[id] = newId;
  } else {
    d.elmIds[newId] = *recNo;
  }
  return t.succeed();
}

// The first scoreboard line of every official becomes the official's
// residence, where there is a usable one; an empty or "Undefined" residence
// leaves the line as it is.
bool CBasic::updateOffScoreboardName1() {
  CallTrace t("CBasic.updateOffScoreboardName1");
  CDbf* pct = pctTable();
  if (pct == nullptr) return false;
  std::vector<int> f;
  if (!pct->getFieldIndexes({"PCT_AFUNCT", "PCT_RESCIT"}, &f)) return false;
  for (int r = 0; r < static_cast<int>(pct->numScannable()); ++r) {
    if (pct->isDeleted(r) || pct->fieldText(r, f[0]) != "JDG") continue;
    const std::string residence(pct->fieldText(r, f[1]));
    if (usableResidence(residence) && !pct->updateRec(r, {"PCT_S1NAME=" + residence})) {
      return false;
    }
  }
  return t.succeed();
}

bool CBasic::updateNatCodes(int id, const std::string& code) {
  CallTrace t("CBasic.updateNatCodes");
  if (id < 0) return failWith("Invalid pctId: " + std::to_string(id));
  CDbf* pct = pctTable();
  if (pct == nullptr) return false;
  const int idField = pct->getFieldIndex("PCT_ID");
  if (idField < 0) return false;
  for (int r = 0; r < static_cast<int>(pct->numScannable()); ++r) {
    if (pct->isDeleted(r)) continue;
    if (id > 0 && intValue(pct->fieldText(r, idField)) != id) continue;
    if (!pct->updateRec(r, {"PCT_NAT=" + code})) return false;
  }
  return t.succeed();
}

}  // namespace tav
