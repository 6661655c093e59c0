// Identifier queries: the register entry of a PCT_ID and the fields the
// event tree and the reports ask for.  Identifier 0 means "none": it answers
// empty texts.  An identifier that is not in the register answers "Not
// found" for names, nations and music and an empty text for type and
// registration number; the result is still true and the reason stays in the
// kept error text.
#include <string>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/basic_impl.h"
#include "dbf/dbf.h"

namespace tav {
namespace {
constexpr char kNotFound[] = "Not found";
}  // namespace

bool CBasic::isValidPctId(int id) const {
  return id == 0 || impl_->pctIds.contains(id);
}

bool CBasic::isValidWbgId(int wbgId) const {
  return wbgId == 0 || impl_->wbgIds.count(wbgId) != 0;
}

bool CBasic::getPctIdRecNo(int id, int* recNo) {
  CallTrace t("CBasic.getPctIdRecNo");
  const int* found = impl_->pctIds.find(id);
  if (found == nullptr) return failWith("No recNo for id: " + std::to_string(id));
  *recNo = *found;
  return t.succeed();
}

// The text of a PCT field of the entry `id`; see the file comment for 0 and
// for identifiers that are not in the register.  The identifier map is asked
// first: before the register is built, after a build that left the persons
// out and after the database was closed it is empty, so every identifier is
// "not found" and no table is needed.
bool CBasic::readPctField(int id, const char* field, std::string* text, bool notFoundText) {
  text->clear();
  if (id == 0) return true;
  int recNo = 0;
  if (!getPctIdRecNo(id, &recNo)) {
    if (notFoundText) *text = kNotFound;
    return true;
  }
  if (!requirePct()) return false;
  const int index = pct_->getFieldIndex(field);
  return index >= 0 && readText(pct_, recNo, index, text);
}

bool CBasic::getPctIdType(int id, std::string* type) {
  CallTrace t("CBasic.getPctIdType");
  return readPctField(id, "PCT_TYPE", type, false) && t.succeed();
}

bool CBasic::isPctIdCouple(int id, bool* couple) {
  CallTrace t("CBasic.isPctIdCouple");
  std::string type;
  if (!getPctIdType(id, &type)) return false;
  *couple = type == "COU";
  return t.succeed();
}

bool CBasic::getPctIdRegNo(int id, std::string* regNo) {
  CallTrace t("CBasic.getPctIdRegNo");
  return readPctField(id, "PCT_REGNO", regNo, false) && t.succeed();
}

bool CBasic::getPctIdRegNos(int id, std::string* regNo1, std::string* regNo2) {
  CallTrace t("CBasic.getPctIdRegNos");
  regNo2->clear();
  bool couple = false;
  if (!isPctIdCouple(id, &couple)) return false;
  if (!couple) return getPctIdRegNo(id, regNo1) && t.succeed();
  std::string partner1, partner2;
  return readPctField(id, "PCT_PCTID", &partner1, false) &&
         readPctField(id, "PCT_PPCTID", &partner2, false) &&
         getPctIdRegNo(intValue(partner1), regNo1) && getPctIdRegNo(intValue(partner2), regNo2) &&
         t.succeed();
}

bool CBasic::getPctIdName(int id, std::string* name, const std::string& suffix) {
  CallTrace t("CBasic.getPctIdName");
  const std::string field = suffix.empty() ? "PCT_CNAME" : "PCT_" + suffix;
  return readPctField(id, field.c_str(), name, true) && t.succeed();
}

bool CBasic::getPctIdNameLoc(int id, std::string* name) {
  CallTrace t("CBasic.getPctIdNameLoc");
  return readPctField(id, "PCT_PLNAME", name, true) && t.succeed();
}

bool CBasic::getPctIdNation(int id, std::string* nation) {
  CallTrace t("CBasic.getPctIdNation");
  return readPctField(id, "PCT_NAT", nation, true) && t.succeed();
}

bool CBasic::getPctIdSpMusic(int id, std::string* title) {
  CallTrace t("CBasic.getPctIdSpMusic");
  return readPctField(id, "PCT_SPMNAM", title, true) && t.succeed();
}

bool CBasic::getPctIdFsMusic(int id, std::string* title) {
  CallTrace t("CBasic.getPctIdFsMusic");
  return readPctField(id, "PCT_FSMNAM", title, true) && t.succeed();
}

// Club and partner club; the partner club is -1 for anything but a couple
// and for identifier 0.
bool CBasic::getPctIdClubIds(int id, int* club, int* partnerClub) {
  CallTrace t("CBasic.getPctIdClubIds");
  *club = 0;
  *partnerClub = -1;
  if (id == 0) return t.succeed();
  std::string text;
  bool couple = false;
  if (!readPctField(id, "PCT_CLBID", &text, false) || !isPctIdCouple(id, &couple)) return false;
  *club = intValue(text);
  if (couple) {
    if (!readPctField(id, "PCT_PCLBID", &text, false)) return false;
    *partnerClub = intValue(text);
  }
  return t.succeed();
}

bool CBasic::getPctIdNameClub(int id, std::string* name, std::string* club) {
  CallTrace t("CBasic.getPctIdNameClub");
  club->clear();
  std::string clubId;
  if (!getPctIdName(id, name) || !readPctField(id, "PCT_CLBID", &clubId, false)) return false;
  return getPctIdName(intValue(clubId), club) && t.succeed();
}

bool CBasic::getPctIdNamesClubs(int id, std::string* name, std::string* name1, std::string* club1,
                                std::string* name2, std::string* club2) {
  CallTrace t("CBasic.getPctIdNamesClubs");
  name2->clear();
  club2->clear();
  std::string clubId;
  if (!getPctIdName(id, name) || !readPctField(id, "PCT_CLBID", &clubId, false) ||
      !getPctIdName(intValue(clubId), club1)) {
    return false;
  }
  if (*name == kNotFound) {
    *name1 = *name2 = kNotFound;
    return t.succeed();
  }
  bool couple = false;
  if (!isPctIdCouple(id, &couple)) return false;
  if (!couple) {
    *name1 = *name;
    return t.succeed();
  }
  std::string partner1, partner2, partnerClub;
  return readPctField(id, "PCT_PCTID", &partner1, false) &&
         readPctField(id, "PCT_PPCTID", &partner2, false) &&
         readPctField(id, "PCT_PCLBID", &partnerClub, false) &&
         getPctIdName(intValue(partner1), name1) && getPctIdName(intValue(partner2), name2) &&
         getPctIdName(intValue(partnerClub), club2) && t.succeed();
}

}  // namespace tav
