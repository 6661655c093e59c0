// The person import: erase-first, identifiers, and adding or matching the
// checked entries (CBasic.addPCT), clubs and couples.
#include <algorithm>
#include <climits>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/pct_import.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"
#include "session/tav.h"

namespace tav {
namespace {

constexpr int kAddClubToCoupleName = 16;

int toInt(std::string_view text) {
  const long long value = decimalValue(text);
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Fields that hold register identifiers, in any table: PCT_ID, the
// partner and club references of PCT, team members, segment officials.
bool holdsPctId(const std::string& field) {
  auto endsWith = [&](const char* tail) {
    const std::string_view t(tail);
    return field.size() >= t.size() && field.compare(field.size() - t.size(), t.size(), t) == 0;
  };
  return field == "PCT_ID" || field == "TEAM_ID" || endsWith("PCTID") || endsWith("CLBID") ||
         field.compare(0, 7, "SCP_JID") == 0;
}

// The register kind of a PCT record by type and function, 0 for none.
int recordKind(const CDbf& pct, std::size_t r, int type, int function) {
  const std::string_view t = pct.fieldText(r, type);
  if (t == "PER") {
    const std::string_view f = pct.fieldText(r, function);
    return f == "JDG" ? kOfficials : f == "CMP" ? kCompetitors : 0;
  }
  return t == "COU" ? kCouples : t == "PTS" ? kTeams : t == "CLU" ? kClubs : 0;
}

// The kinds erase-first removes for an import kind.
int erasedKinds(int kind) {
  if (kind == kOfficials) return kOfficials;
  if (kind == kClubs) return kClubs;
  return kCompetitors | kCouples | kTeams | kClubs;
}

// Club names are compared in upper case, ST. as ST.
std::string clubKey(const std::string& name) {
  std::string key = upperAscii(name);
  if (key.compare(0, 3, "ST.") == 0) key = "ST" + key.substr(3);
  return key;
}

}  // namespace

// The largest identifier the database holds or refers to, in every record
// held (deleted ones too); the import's own counter never goes below it
// and never back.
void PctImport::raiseHighestId() {
  for (const auto& [handle, table] : session().handles().tables()) {
    const std::vector<DbfField>& fields = table->fields();
    for (int f = 0; f < static_cast<int>(fields.size()); ++f) {
      if (!holdsPctId(fields[f].storedName())) continue;
      for (std::size_t r = 0; r < table->numRecordsHeld(); ++r) {
        highestId_ = std::max(highestId_, toInt(table->fieldText(r, f)));
      }
    }
  }
}

bool PctImport::eraseKind() {
  CallTrace t("CBasic.eraseImportKind");
  const int type = pct_->getFieldIndex("PCT_TYPE");
  const int function = pct_->getFieldIndex("PCT_AFUNCT");
  if (type < 0 || function < 0) return false;
  const int erased = erasedKinds(options_.kind);
  for (std::size_t r = 0; r < pct_->numScannable(); ++r) {
    if (!pct_->isActive(r) || (recordKind(*pct_, r, type, function) & erased) == 0) continue;
    if (!pct_->deleteRec(static_cast<int>(r))) return false;
  }
  pct_->compressRecs();  // false only when nothing was removed
  if (!basic().populate(kPctKinds, -1)) return false;
  return t.succeed();
}

int PctImport::addEntries() {
  basic().setCapFNameFlag(options_.capFName);
  basic().setAddPfnFlag(options_.addPFN);
  basic().setAddSn1Flag(options_.addSN1);
  if (options_.kind == kImportCouples) {
    for (const Pair& pair : pairs_) {
      if (addPCT(kImportCompetitors, pair.first) < 0) return -2;
      if (addPCT(kImportCompetitors, pair.second) < 0) return -2;
    }
    for (const Pair& pair : pairs_) {
      if (addCouple(pair) < 0) return -2;
    }
  } else {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (addPCT(options_.kind, i) < 0) return -2;
    }
  }
  // Entering records one by one would move a kind's ordered list each
  // time; the kinds that changed are rebuilt once instead.
  if (rebuildMask_ != 0 && !basic().populate(rebuildMask_, -1)) return -2;
  return 1;
}

std::string PctImport::inFileKey(int kind, const PctImportEntry& e) const {
  std::string key = std::to_string(kind) + "|";
  if (kind == kImportClubs) return key + clubKey(cleanedClub(e.clubName));
  key += kind == kImportTeams ? upperAscii(e.gfName)
                              : upperAscii(e.gName) + " " + upperAscii(e.fName);
  key += "|" + (e.hasRegNo ? std::to_string(decimalValue(e.regNo)) : std::string());
  if (options_.dupIncClub) key += "|" + clubKey(cleanedClub(e.clubName));
  return key;
}

int PctImport::addPCT(int kind, std::size_t index) {
  CallTrace t("CBasic.addPCT");
  if (!(kind == kImportOfficials || kind == kImportCompetitors || kind == kImportTeams ||
        kind == kImportClubs)) {
    failWith("Invalid type: " + std::to_string(kind));
    return -2;
  }
  PctImportEntry& e = entries_[index];
  if (e.duplicate) {
    if (!updateDuplicate(kind, e)) return -2;
    listEntry(e, true);
    t.succeed();
    return toInt(e.pctId);
  }
  const std::string key = inFileKey(kind, e);
  auto earlier = addedInFile_.find(key);
  if (earlier != addedInFile_.end()) {
    e.pctId = std::to_string(earlier->second);
    e.duplicate = true;
    listEntry(e, true);
    t.succeed();
    return earlier->second;
  }
  int id = 0;
  if (kind == kImportClubs) {
    e.clubName = e.gfName = e.gfNameC = cleanedClub(e.clubName);
    id = addClub(e.clubName, e.nation, e.comment);
    if (id < 0) return -2;
    e.clubId = "0";
  } else {
    if (!resolveClub(&e)) return -2;
    Fields f;
    if (!basic().initPCT(kind, &f)) return -2;
    f["PCT_REGNO"] = e.regNo;
    f["PCT_GENDER"] = e.gender;
    f["PCT_NAT"] = e.nation;
    f["PCT_CLBID"] = e.clubId;
    f["PCT_RESCIT"] = e.residence;
    f["PCT_COMENT"] = e.comment;
    f["clubName"] = storedName(toInt(e.clubId));
    if (kind == kImportTeams) {
      f["gfNameC"] = f["PCT_CNAME"] = e.gfName;
    } else {
      f["PCT_GNAME"] = e.gName;
      f["PCT_FNAME"] = e.fName;
    }
    if (!basic().calcNames(kind, &f)) return -2;
    // Name forms the calculation leaves to the caller: index and reversed
    // names, and the names as written.
    if (kind == kImportTeams) {
      f["PCT_INAME"] = f["PCT_RNAME"] = e.gfName;
    } else {
      f["PCT_INAME"] = f["PCT_GNAMEI"] + " " + f["PCT_FNAMEC"];
      f["PCT_RNAME"] = f["PCT_FNAMEC"] + " " + f["PCT_GNAME"];
      f["PCT_WFNAME"] = f["PCT_FNAME"];
      f["PCT_WGNAME"] = f["PCT_GNAME"];
    }
    if (!writeRecord(kind, f, &id)) return -2;
  }
  e.pctId = std::to_string(id);
  addedInFile_.emplace(key, id);
  listEntry(e, false);
  t.succeed();
  return id;
}

// A club as a record of its own: every display name is the club's name,
// the sort name its upper case (as the club-name cleaner leaves it).
int PctImport::addClub(const std::string& name, const std::string& nation,
                       const std::string& comment) {
  Fields f;
  if (!basic().initPCT(kClubs, &f)) return -1;
  for (const char* field : {"PCT_CNAME", "PCT_PLNAME", "PCT_PSNAME", "PCT_TLNAME", "PCT_TSNAME",
                            "PCT_S1NAME", "PCT_S2NAME", "PCT_S3NAME", "PCT_S4NAME", "PCT_INAME",
                            "PCT_RNAME"}) {
    f[field] = name;
  }
  f["PCT_SNAME"] = upperAscii(name);
  f["PCT_NAT"] = nation;
  f["PCT_COMENT"] = comment;
  int id = 0;
  if (!writeRecord(kClubs, f, &id)) return -1;
  addedClubs_.emplace(clubKey(name), id);
  return id;
}

// The entry's club identifier: the register's club of that name, a club
// this import added, or a new club (listed as imported).
bool PctImport::resolveClub(PctImportEntry* e) {
  e->clubId = "0";
  if (e->clubName.empty()) return true;
  const std::string cleaned = cleanedClub(e->clubName);
  auto added = addedClubs_.find(clubKey(cleaned));
  if (added != addedClubs_.end()) {
    e->clubId = std::to_string(added->second);
    return true;
  }
  const int registered = clubIdOf(e->clubName);
  if (registered == -2) return false;
  int id = registered;
  if (id < 0) {
    id = addClub(cleaned, e->nation, e->comment);
    if (id < 0) return false;
    PctImportEntry club;
    club.gfName = club.gfNameC = club.clubName = cleaned;
    club.gender = "M";
    club.nation = e->nation;
    club.pctId = std::to_string(id);
    club.comment = e->comment;
    listEntry(club, false);
  }
  e->clubId = std::to_string(id);
  return true;
}

// Writes what the line gave (registration number, nation, gender) into the
// matched record; nothing else, and never an empty value.
bool PctImport::updateDuplicate(int kind, const PctImportEntry& e) {
  if (options_.updDupBits == 0) return true;
  std::vector<std::string> assignments;
  if (e.hasRegNo && !e.regNo.empty()) assignments.push_back("PCT_REGNO=" + e.regNo);
  if (e.hasNation && !e.nation.empty()) assignments.push_back("PCT_NAT=" + e.nation);
  if (e.hasGender && !e.gender.empty()) assignments.push_back("PCT_GENDER=" + e.gender);
  if (!e.residence.empty()) assignments.push_back("PCT_RESCIT=" + e.residence);
  if (assignments.empty()) return true;
  const int recNo = recNoOf(toInt(e.pctId));
  if (recNo < 0 || !pct_->updateRec(recNo, assignments)) return false;
  rebuildMask_ |= kind;
  return true;
}

// A new PCT record with the next identifier; fields the table lacks are
// left out.
bool PctImport::writeRecord(int kind, const Fields& fields, int* id) {
  if (highestId_ == INT_MAX) return failWith("No free PCT_ID left");
  *id = highestId_ + 1;
  std::map<int, std::string> values;
  for (const auto& [name, value] : fields) {
    const int index = pct_->findField(name);
    if (index >= 0) values[index] = value;
  }
  values[idField_] = std::to_string(*id);
  int recNo = -1;
  if (!pct_->addRec(values, &recNo)) return false;
  highestId_ = *id;
  addedRecNos_.emplace(*id, recNo);
  rebuildMask_ |= kind;
  return true;
}

int PctImport::recNoOf(int id) {
  auto added = addedRecNos_.find(id);
  if (added != addedRecNos_.end()) return added->second;
  int recNo = -1;
  return basic().getPctIdRecNo(id, &recNo) ? recNo : -1;
}

// A partner's name fields as the couple name needs them, read from the
// partner's record (added or matched), with its club's name.
bool PctImport::partnerNames(int id, Fields* names) {
  const int recNo = recNoOf(id);
  if (recNo < 0) return false;
  for (const char* field : {"PCT_GNAME", "PCT_FNAME", "PCT_GNAMEI", "PCT_FNAMEC", "PCT_CLBID",
                            "PCT_NAT"}) {
    const int index = pct_->findField(field);
    (*names)[field] = index < 0 ? std::string() : std::string(pct_->fieldText(recNo, index));
  }
  (*names)["clubName"] = storedName(toInt((*names)["PCT_CLBID"]));
  return true;
}

// PCT_CNAME of a register entry (added by this import or not); empty for
// identifier 0 or one without a record.
std::string PctImport::storedName(int id) {
  const int recNo = id > 0 ? recNoOf(id) : -1;
  const int name = pct_->findField("PCT_CNAME");
  return recNo < 0 || name < 0 ? std::string() : std::string(pct_->fieldText(recNo, name));
}

int PctImport::addCouple(const Pair& pair) {
  CallTrace t("CBasic.addPCT");
  const PctImportEntry& a = entries_[pair.first];
  const PctImportEntry& b = entries_[pair.second];
  PctImportEntry couple;
  couple.gfName = couple.gfNameC = a.gfName + " / " + b.gfName;
  couple.clubName = a.clubName;
  couple.comment = a.comment;
  couple.nation = a.nation;
  couple.gender = "M";
  const std::string key = "4|" + a.pctId + "|" + b.pctId;
  int id = pair.coupleId;
  auto earlier = addedInFile_.find(key);
  if (id == 0 && earlier != addedInFile_.end()) id = earlier->second;
  if (id > 0) {
    couple.pctId = std::to_string(id);
    listEntry(couple, true);
    t.succeed();
    return id;
  }
  Fields p1, p2, f;
  if (!partnerNames(toInt(a.pctId), &p1) || !partnerNames(toInt(b.pctId), &p2)) {
    failWith("No record for the partners of: " + pair.text);
    return -2;
  }
  if (!basic().initPCT(kCouples, &f)) return -2;
  for (const char* field : {"PCT_GNAME", "PCT_FNAME", "PCT_GNAMEI", "PCT_FNAMEC"}) {
    f[field] = p1[field];
  }
  f["PCT_PGNAME"] = p2["PCT_GNAME"];
  f["PCT_PFNAMC"] = p2["PCT_FNAMEC"];
  f["PCT_PCTID"] = a.pctId;
  f["PCT_PPCTID"] = b.pctId;
  f["PCT_CLBID"] = p1["PCT_CLBID"];
  f["PCT_PCLBID"] = p2["PCT_CLBID"];
  f["PCT_NAT"] = p1["PCT_NAT"];
  f["PCT_COMENT"] = a.comment;
  f["PCT_SNAME"] = p1["PCT_FNAME"].substr(0, 4) + p1["PCT_GNAME"].substr(0, 4);
  f["PCT_CSNAM"] = basic().combineNames(p1, p2, false, 0, true);
  for (const char* field : {"PCT_CNAME", "PCT_PSNAME", "PCT_TLNAME", "PCT_TSNAME", "PCT_S1NAME",
                            "PCT_S2NAME", "PCT_S3NAME", "PCT_S4NAME", "PCT_INAME", "PCT_RNAME",
                            "PCT_PLNAME"}) {
    const int index = pct_->findField(field);
    if (index < 0) continue;
    const bool withClubs = std::string(field) == "PCT_PLNAME" &&
                           (options_.clbNameConvBits & kAddClubToCoupleName) != 0;
    f[field] = basic().combineNames(p1, p2, withClubs, pct_->fields()[index].length, false);
  }
  if (!writeRecord(kCouples, f, &id)) return -2;
  addedInFile_.emplace(key, id);
  couple.pctId = std::to_string(id);
  listEntry(couple, false);
  t.succeed();
  return id;
}

void PctImport::listEntry(const PctImportEntry& e, bool duplicate) {
  std::vector<std::string> item = {e.gfName, e.clubName, e.regNo,  e.gender,
                                   e.nation, e.pctId,    e.comment};
  (duplicate ? duplicates_ : imported_).push_back(std::move(item));
}

}  // namespace tav
