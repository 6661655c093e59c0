// Finds in the register's indexes: by registration number, by composite
// name, by given and family name, club names written with "ST" or "ST.",
// element keys; and the search for duplicated names.  Names are compared in
// upper case by the letters of the register table's code page (CaseFold:
// "josé" finds JOSÉ in Windows-1252); bytes that are no letters as stored.
#include <string>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/basic_impl.h"
#include "dbf/case_fold.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"

namespace tav {
namespace {

bool invalidType(int type) { return failWith("Invalid type: " + std::to_string(type)); }

bool isPctKind(int type) {
  return type == kOfficials || type == kCompetitors || type == kCouples || type == kTeams ||
         type == kClubs;
}

}  // namespace

// Identifiers found in an index become record numbers through the table's
// identifier lookup (PCT_ID), which no longer finds a record deleted since
// the register was built.
bool CBasic::appendRecNo(int id, std::vector<int>* recNos) {
  CallTrace lookup("CBasic.appendRecNo");
  const int recNo = pct_->getRecNo("PCT_ID", std::to_string(id));
  if (recNo < 0) {
    const std::string reason = getErrStr();
    lookup.succeed();  // the message names the find, not the lookup
    return failWith("No pctId record number: " + std::to_string(id) + " -> " + reason);
  }
  recNos->push_back(recNo);
  return lookup.succeed();
}

bool CBasic::appendIdList(const IdList* ids, std::vector<int>* recNos) {
  if (ids == nullptr || ids->size() == 0) return true;
  if (!appendRecNo(ids->first(), recNos)) return false;
  for (int id : ids->more()) {
    if (!appendRecNo(id, recNos)) return false;
  }
  return true;
}

bool CBasic::appendRecNos(const std::vector<int>& ids, std::vector<int>* recNos) {
  for (int id : ids) {
    if (!appendRecNo(id, recNos)) return false;
  }
  return true;
}

const CaseFold& CBasic::pctFold() const { return CaseFold::forCodePage(pct_->header().codePage); }

bool CBasic::findByRegNo(int type, int regNo, std::vector<int>* recNos) {
  CallTrace t("CBasic.findByRegNo");
  recNos->clear();
  if (type != kOfficials && type != kCompetitors && type != kCouples && type != kTeams) {
    return invalidType(type);
  }
  if (!requirePct()) return false;
  return appendIdList(impl_->kind(type)->byRegNo(regNo), recNos) && t.succeed();
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
  if (type == kElements) {
    const std::string key = upperAscii(name);
    // The element indexes hold ELM record numbers already.
    if (impl_->elm == nullptr) return failWith("Register not populated: no elements");
    idsUnder(impl_->elmKeys, key, recNos);
    if (recNos->empty()) idsUnder(impl_->elmDetails, key, recNos);
    return t.succeed();
  }
  if (!isPctKind(type)) return invalidType(type);
  if (!requirePct()) return false;
  const std::string key = pctFold().upper(name);
  const PctKind& kind = *impl_->kind(type);
  if (type != kClubs) {
    return appendIdList(kind.byName(key), recNos) && t.succeed();
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
  const CaseFold& fold = pctFold();
  const IdList* ids =
      impl_->kind(type)->byGivenFamily(fold.upper(givenName) + " " + fold.upper(familyName));
  return appendIdList(ids, recNos) && t.succeed();
}

bool CBasic::duplicatePCT(int type, std::vector<std::string>* names) {
  CallTrace t("CBasic.duplicatePCT");
  names->clear();
  if (!isPctKind(type)) return invalidType(type);
  *names = impl_->kind(type)->duplicateNames();
  return t.succeed();
}

}  // namespace tav
