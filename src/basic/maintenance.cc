#include "basic/maintenance.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/couple_name_fit.h"
#include "dbf/field_text.h"
#include "session/tav.h"

namespace tav {
namespace {

// The kinds of register entries, by PCT_TYPE and PCT_AFUNCT.
enum class Entry { kOfficial, kSkater, kCouple, kTeam, kClub, kOther };

Entry entryOf(std::string_view type, std::string_view function) {
  if (type == "PER" && function == "JDG") return Entry::kOfficial;
  if (type == "PER" && function == "CMP") return Entry::kSkater;
  if (type == "COU") return Entry::kCouple;
  if (type == "PTS") return Entry::kTeam;
  if (type == "CLU") return Entry::kClub;
  return Entry::kOther;
}

CDbf* openTable(const char* handle) { return session().handles().getDbfHandlePtr(handle); }

// Named fields of one table, found once.
class Fields {
 public:
  bool find(CDbf* table, const std::vector<std::string>& names) {
    table_ = table;
    return table->getFieldIndexes(names, &indexes_);
  }
  std::string_view text(std::size_t recNo, int i) const {
    return table_->fieldText(recNo, indexes_[i]);
  }
  long long number(std::size_t recNo, int i) const { return decimalValue(text(recNo, i)); }

 private:
  CDbf* table_ = nullptr;
  std::vector<int> indexes_;
};

// Deletes the live PCT entries `doomed` selects and compresses PCT; then
// empties `clear` tables.  Every table is found before anything changes.
template <typename Doomed>
bool eraseEntries(const char* operation, Doomed doomed, const std::vector<const char*>& clear) {
  CallTrace t(operation);
  CDbf* pct = openTable("PCT");
  if (pct == nullptr) return false;
  std::vector<CDbf*> cleared;
  for (const char* handle : clear) {
    cleared.push_back(openTable(handle));
    if (cleared.back() == nullptr) return false;
  }
  Fields f;
  if (!f.find(pct, {"PCT_TYPE", "PCT_AFUNCT"})) return false;
  for (std::size_t r = 0; r < pct->numScannable(); ++r) {
    if (pct->isDeleted(r) || !doomed(entryOf(f.text(r, 0), f.text(r, 1)))) continue;
    if (!pct->deleteRec(static_cast<int>(r))) return false;
  }
  pct->compressRecs();
  for (CDbf* table : cleared) {
    if (!table->clearRecs()) return false;
  }
  return rebuildRegister() && t.succeed();
}

// Marks identifiers of live records of a table as referenced.
bool markFrom(const char* handle, const std::vector<std::string>& fields,
              std::unordered_map<long long, bool>* referenced) {
  CDbf* table = openTable(handle);
  Fields f;
  if (table == nullptr || !f.find(table, fields)) return false;
  for (std::size_t r = 0; r < table->numScannable(); ++r) {
    if (table->isDeleted(r)) continue;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      auto it = referenced->find(f.number(r, static_cast<int>(i)));
      if (it != referenced->end()) it->second = true;
    }
  }
  return true;
}

bool isReferenced(const std::unordered_map<long long, bool>& referenced, long long id) {
  auto it = referenced.find(id);
  return it != referenced.end() && it->second;
}

void mark(std::unordered_map<long long, bool>* referenced, long long id) {
  auto it = referenced->find(id);
  if (it != referenced->end()) it->second = true;
}

}  // namespace

bool rebuildRegister() {
  CallTrace t("CBasic.rebuildRegister");
  if (!basic().isPopulated()) return basic().close(0) && t.succeed();
  return basic().populate(0, -1) && t.succeed();
}

bool basicUpdateNatCodes(int pctId, const std::string& code) {
  CallTrace t("CTav.basicUpdateNatCodes");
  return basic().updateNatCodes(pctId, code) && t.succeed();
}

bool basicUpdateOffScoreBoardName1() {
  CallTrace t("CTav.basicUpdateOffScoreBoardName1");
  return basic().updateOffScoreboardName1() && t.succeed();
}

bool basicCleanAllClubNames() {
  CallTrace t("CTav.basicCleanAllClubNames");
  return basic().cleanAllClubNames() && t.succeed();
}

bool eraseOff() {
  return eraseEntries(
      "CTav.eraseOff", [](Entry e) { return e == Entry::kOfficial; }, {"MOT"});
}

bool eraseSk() {
  return eraseEntries(
      "CTav.eraseSk",
      [](Entry e) {
        return e == Entry::kSkater || e == Entry::kCouple || e == Entry::kTeam ||
               e == Entry::kClub;
      },
      {"MOT", "PEL"});
}

bool purge() {
  CallTrace t("CTav.purge");
  // Every table is found before anything changes.
  for (const char* handle : {"BST", "MOT", "PPRF", "PCT", "JPS", "OPE", "PAR", "PEL", "PJS"}) {
    if (openTable(handle) == nullptr) return false;
  }
  CDbf* pct = openTable("PCT");
  Fields f;
  if (!f.find(pct, {"PCT_ID", "PCT_TYPE", "PCT_AFUNCT", "PCT_CLBID", "PCT_PCTID", "PCT_PPCTID",
                    "PCT_PCLBID"})) {
    return false;
  }
  std::unordered_map<long long, bool> referenced;
  for (std::size_t r = 0; r < pct->numScannable(); ++r) {
    const long long id = f.number(r, 0);
    if (!pct->isDeleted(r) && id > 0) referenced.emplace(id, false);
  }
  if (!markFrom("JPS", {"PCT_ID"}, &referenced) || !markFrom("OPE", {"PCT_ID"}, &referenced) ||
      !markFrom("PAR", {"PCT_ID", "PAR_CLBID", "PAR_PCLBID"}, &referenced) ||
      !markFrom("PEL", {"PCT_ID"}, &referenced) || !markFrom("PJS", {"PCT_ID"}, &referenced)) {
    return false;
  }
  // Couples first, so that the partners they name are marked before the
  // partners' own clubs are; then skaters and teams mark their clubs.
  for (std::size_t r = 0; r < pct->numScannable(); ++r) {
    if (pct->isDeleted(r) || entryOf(f.text(r, 1), f.text(r, 2)) != Entry::kCouple) continue;
    if (!isReferenced(referenced, f.number(r, 0))) continue;
    mark(&referenced, f.number(r, 4));
    mark(&referenced, f.number(r, 5));
    mark(&referenced, f.number(r, 6));
  }
  for (std::size_t r = 0; r < pct->numScannable(); ++r) {
    const Entry e = entryOf(f.text(r, 1), f.text(r, 2));
    if (pct->isDeleted(r) || (e != Entry::kSkater && e != Entry::kTeam)) continue;
    if (isReferenced(referenced, f.number(r, 0))) mark(&referenced, f.number(r, 3));
  }
  for (const char* handle : {"BST", "MOT", "PPRF"}) {
    if (!openTable(handle)->clearRecs()) return false;
  }
  // Deleted by the record numbers of this scan: no lookup by identifier.
  for (std::size_t r = 0; r < pct->numScannable(); ++r) {
    const long long id = f.number(r, 0);
    if (pct->isDeleted(r) || id <= 0 || isReferenced(referenced, id)) continue;
    if (!pct->deleteRec(static_cast<int>(r))) return false;
  }
  pct->compressRecs();
  return rebuildRegister() && t.succeed();
}

namespace {

// Builds the printed names; lookups by PCT_ID go through one map built at
// the start (the last record of an identifier, as a table lookup finds it).
class PaperNames {
 public:
  bool start(CDbf* pct) {
    pct_ = pct;
    if (!f_.find(pct, {"PCT_ID", "PCT_TYPE", "PCT_AFUNCT", "PCT_CLBID", "PCT_PCLBID",
                       "PCT_PCTID", "PCT_PPCTID", "PCT_CNAME", "PCT_GNAME", "PCT_GNAMEI",
                       "PCT_FNAMEC", "PCT_PLNAME"})) {
      return false;
    }
    for (std::size_t r = 0; r < pct->numScannable(); ++r) recNos_[f_.number(r, 0)] = r;
    width_ = pct->fields()[pct->findField("PCT_PLNAME")].length;
    return true;
  }

  // The new name of record `r`; false with a message when a lookup fails,
  // `skip` when the entry keeps its name.
  bool nameOf(std::size_t r, bool withClub, bool* skip, std::string* value) {
    *skip = false;
    switch (entryOf(f_.text(r, 1), f_.text(r, 2))) {
      case Entry::kSkater:
        *value = std::string(f_.text(r, 8)) + " " + std::string(f_.text(r, 10));
        return addClub(withClub, f_.number(r, 3), "No club record number: ", value);
      case Entry::kTeam:
        *value = std::string(f_.text(r, 7));
        return addClub(withClub, f_.number(r, 3), "No club record number: ", value);
      case Entry::kCouple:
        return coupleName(r, withClub, value);
      default:
        *skip = true;
        return true;
    }
  }

 private:
  static std::string key(long long id) { return "PCT_ID -> " + std::to_string(id); }

  bool find(long long id, const char* missing, std::size_t* recNo) {
    auto it = recNos_.find(id);
    if (it == recNos_.end()) return failWith(missing + key(id));
    *recNo = it->second;
    return true;
  }

  bool addClub(bool withClub, long long clubId, const char* missing, std::string* value) {
    if (!withClub || clubId == 0) return true;
    std::size_t club = 0;
    if (!find(clubId, missing, &club)) return false;
    *value += ", " + std::string(f_.text(club, 7));
    return true;
  }

  bool partner(long long id, const char* missing, PartnerNames* names) {
    std::size_t r = 0;
    if (!find(id, missing, &r)) return false;
    if (pct_->isDeleted(r)) return failWith("Record is deleted: " + key(id));
    const std::string family(f_.text(r, 10));
    names->longForm = std::string(f_.text(r, 8)) + " " + family;
    names->shortForm = std::string(f_.text(r, 9)) + " " + family;
    return true;
  }

  bool coupleName(std::size_t r, bool withClub, std::string* value) {
    PartnerNames first;
    PartnerNames second;
    if (!partner(f_.number(r, 5), "No pctid record number: ", &first) ||
        !partner(f_.number(r, 6), "No ppctid record number: ", &second)) {
      return false;
    }
    std::string club1;
    std::string club2;
    if (!addClub(withClub, f_.number(r, 3), "No club record number: ", &club1) ||
        !addClub(withClub, f_.number(r, 4), "No partner club record number: ", &club2)) {
      return false;
    }
    first.longForm += club1;
    first.shortForm += club1;
    second.longForm += club2;
    second.shortForm += club2;
    *value = fitCoupleName(first, second, width_);
    return true;
  }

  CDbf* pct_ = nullptr;
  Fields f_;
  std::unordered_map<long long, std::size_t> recNos_;
  int width_ = 0;
};

}  // namespace

bool updatePaperFullName(bool withClub) {
  CallTrace t("CTav.updatePaperFullName");
  CDbf* pct = openTable("PCT");
  PaperNames names;
  if (pct == nullptr || !names.start(pct)) return false;
  for (std::size_t r = 0; r < pct->numScannable(); ++r) {
    if (pct->isDeleted(r)) continue;
    bool skip = false;
    std::string value;
    if (!names.nameOf(r, withClub, &skip, &value)) return false;
    if (!skip && !pct->updateRec(static_cast<int>(r), {"PCT_PLNAME=" + value})) return false;
  }
  return t.succeed();
}

}  // namespace tav
