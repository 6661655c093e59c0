// Finds in the register's indexes: by registration number, by composite
// name, by given and family name, club names written with "ST" or "ST.",
// element keys; and the search for duplicated names.  Names are compared in
// upper case (letters a-z only; other bytes as stored, so a name with "é"
// is found when written the same way).
#include <string>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/basic_impl.h"
#include "dbf/field_text.h"

namespace tav {
namespace {

bool invalidType(int type) { return failWith("Invalid type: " + std::to_string(type)); }

bool isPctKind(int type) {
  return type == kOfficials || type == kCompetitors || type == kCouples || type == kTeams ||
         type == kClubs;
}

// Identifiers found in an index become record numbers through the
// identifier map.
bool appendRecNo(const std::unordered_map<int, int>& pctIds, int id, std::vector<int>* recNos) {
  auto found = pctIds.find(id);
  if (found == pctIds.end()) {
    return failWith("No pctId record number: " + std::to_string(id) +
                    " -> No recNo for id: " + std::to_string(id));
  }
  recNos->push_back(found->second);
  return true;
}

bool appendIdList(const std::unordered_map<int, int>& pctIds, const IdList* ids,
                  std::vector<int>* recNos) {
  if (ids == nullptr || ids->size() == 0) return true;
  if (!appendRecNo(pctIds, ids->first(), recNos)) return false;
  for (int id : ids->more()) {
    if (!appendRecNo(pctIds, id, recNos)) return false;
  }
  return true;
}

}  // namespace

bool CBasic::appendRecNos(const std::vector<int>& ids, std::vector<int>* recNos) {
  for (int id : ids) {
    if (!appendRecNo(impl_->pctIds, id, recNos)) return false;
  }
  return true;
}

bool CBasic::findByRegNo(int type, int regNo, std::vector<int>* recNos) {
  CallTrace t("CBasic.findByRegNo");
  recNos->clear();
  if (type != kOfficials && type != kCompetitors && type != kCouples && type != kTeams) {
    return invalidType(type);
  }
  if (!requirePct()) return false;
  return appendIdList(impl_->pctIds, impl_->kind(type)->byRegNo(regNo), recNos) && t.succeed();
}

namespace {

void idsUnder(const std::multimap<std::string, int>& index, const std::string& key,
              std::vector<int>* ids) {
  auto [first, last] = index.equal_range(key);
  for (auto it = first; it != last; ++it) ids->push_back(it->second);
}

void append(const IdList* found, std::vector<int>* ids) {
  if (found != nullptr) found->appendTo(ids);
}

}  // namespace

bool CBasic::findByName(int type, const std::string& name, std::vector<int>* recNos) {
  CallTrace t("CBasic.findByName");
  recNos->clear();
  const std::string key = upperAscii(name);
  if (type == kElements) {
    // The element indexes hold ELM record numbers already.
    if (impl_->elm == nullptr) return failWith("Register not populated: no elements");
    idsUnder(impl_->elmKeys, key, recNos);
    if (recNos->empty()) idsUnder(impl_->elmDetails, key, recNos);
    return t.succeed();
  }
  if (!isPctKind(type)) return invalidType(type);
  if (!requirePct()) return false;
  const PctKind& kind = *impl_->kind(type);
  if (type != kClubs) {
    return appendIdList(impl_->pctIds, kind.byName(key), recNos) && t.succeed();
  }
  std::vector<int> ids;
  append(kind.byName(key), &ids);
  // Saint is written both ways: ST PAUL and ST. PAUL find each other.
  if (key.compare(0, 3, "ST ") == 0) append(kind.byName("ST." + key.substr(2)), &ids);
  if (key.compare(0, 3, "ST.") == 0) append(kind.byName("ST" + key.substr(3)), &ids);
  return appendRecNos(ids, recNos) && t.succeed();
}

bool CBasic::findByName(int type, const std::string& givenName, const std::string& familyName,
                        std::vector<int>* recNos) {
  CallTrace t("CBasic.findByName");
  recNos->clear();
  if (!isPctKind(type) && type != kElements) return invalidType(type);
  if (type != kOfficials && type != kCompetitors) return t.succeed();  // no such index
  if (!requirePct()) return false;
  const IdList* ids =
      impl_->kind(type)->byGivenFamily(upperAscii(givenName) + " " + upperAscii(familyName));
  return appendIdList(impl_->pctIds, ids, recNos) && t.succeed();
}

bool CBasic::duplicatePCT(int type, std::vector<std::string>* names) {
  CallTrace t("CBasic.duplicatePCT");
  names->clear();
  if (!isPctKind(type)) return invalidType(type);
  *names = impl_->kind(type)->duplicateNames();
  return t.succeed();
}

}  // namespace tav
