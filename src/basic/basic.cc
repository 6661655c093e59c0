// Building and emptying the register: populate and close, and the small
// helpers the register's files share.
#include "basic/basic.h"

#include <algorithm>
#include <climits>
#include <string_view>

#include "base/failure_record.h"
#include "basic/basic_impl.h"
#include "dbf/case_fold.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"
#include "session/tav.h"

namespace tav {
namespace {

bool inMask(int mask, int bit) { return mask == 0 || (mask & bit) != 0; }

CDbf* openTable(const char* handle) { return session().handles().getDbfHandlePtr(handle); }

// A field's width, or 0 when the table lacks it (such a field is not fitted).
int widthOf(const CDbf& table, const char* name) {
  const int index = table.findField(name);
  return index < 0 ? 0 : table.fields()[index].length;
}

std::string textAt(const CDbf& table, int recNo, int field) {
  return std::string(table.fieldText(recNo, field));
}

}  // namespace

// ---- Shared helpers ---------------------------------------------------------

int pctKindOf(std::string_view type, std::string_view function) {
  if (type == "PER") {
    if (function == "JDG") return kOfficials;
    if (function == "CMP") return kCompetitors;
    return 0;
  }
  if (type == "COU") return kCouples;
  if (type == "PTS") return kTeams;
  if (type == "CLU") return kClubs;
  return 0;
}

int intValue(std::string_view text) {
  const long long value = decimalValue(text);
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool parseRegNo(std::string_view text, int* value) {
  std::size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  if (at == text.size()) return false;
  long long result = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    result = result * 10 + (text[at] - '0');
    if (result > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) result = -result;
  if (result < INT_MIN || result > INT_MAX) return false;
  *value = static_cast<int>(result);
  return true;
}

bool readText(CDbf* table, int recNo, int field, std::string* text) {
  if (table == nullptr) return failWith("Register not populated: no table");
  if (field < 0 || field >= table->getNumFields()) {
    return failWith(table->code() + ": invalid field index " + std::to_string(field));
  }
  if (recNo < 0 || static_cast<std::size_t>(recNo) >= table->numRecordsHeld()) {
    return failWith(table->code() + ": Invalid record number: " + std::to_string(recNo));
  }
  *text = textAt(*table, recNo, field);
  return true;
}

int fieldIndexOf(CDbf* table, const std::string& name) {
  if (table == nullptr) {
    failWith("Register not populated: no table");
    return -1;
  }
  return table->getFieldIndex(name);
}

PctKind* CBasic::Impl::kind(int type) {
  switch (type) {
    case kOfficials: return &kinds[0];
    case kCompetitors: return &kinds[1];
    case kCouples: return &kinds[2];
    case kTeams: return &kinds[3];
    case kClubs: return &kinds[4];
    default: return nullptr;
  }
}

// ---- Construction -----------------------------------------------------------

CBasic::CBasic() : impl_(std::make_unique<Impl>()) {}
CBasic::~CBasic() = default;

// Operations that read the register's PCT entries answer this when nothing
// was populated yet, instead of reading through a missing table.
bool CBasic::requirePct() {
  if (pct_ != nullptr) return true;
  return failWith("Register not populated: run tav_basicPopulate first");
}

// ---- close ------------------------------------------------------------------

bool CBasic::close(int mask) {
  CallTrace t("CBasic.close");
  Impl& d = *impl_;
  for (PctKind& kind : d.kinds) {
    if (inMask(mask, kind.bit())) kind.clear();
  }
  if (inMask(mask, kClubs)) d.clubPositions.clear();
  if (inMask(mask, kPlannedElements)) {
    d.pelIds.clear();
    d.pelOfPct.clear();
    nextPelId_ = 1;
  }
  if (inMask(mask, kNations)) {
    d.nations.clear();
    d.natCodes.clear();
  }
  if (inMask(mask, kElements)) {
    d.elmIds.clear();
    d.elmKeys.clear();
    d.elmDetails.clear();
    d.groups.clear();
    nextElmId_ = 1;
  }
  if (inMask(mask, kVerificationRules)) d.wbgIds.clear();
  if (mask == 0) {
    d.pctIds.clear();
    d.idOfRecNo.clear();
    pct_ = nullptr;
    d.pel = d.nat = d.elm = d.dgr = nullptr;
    d.fields = PctFieldIndexes();
    widths_ = NameWidths();
  }
  return t.succeed();
}

void CBasic::endSession() {
  nextPctId_ = 1;
  referencesCounted_ = false;
}

// Register identifiers sit in PCT_ID and TEAM_ID fields, in fields ending in
// PCTID or CLBID (partners, clubs) and in the panel fields SCP_JID...
namespace {
bool holdsRegisterId(const std::string& field) {
  auto endsWith = [&](std::string_view tail) {
    return field.size() >= tail.size() &&
           field.compare(field.size() - tail.size(), tail.size(), tail) == 0;
  };
  return field == "PCT_ID" || field == "TEAM_ID" || endsWith("PCTID") || endsWith("CLBID") ||
         field.compare(0, 7, "SCP_JID") == 0;
}
}  // namespace

// Raises the next PCT_ID above every register identifier that any open
// table holds in any record held (deleted ones too).  Done once after each
// rebuild, before the first new PCT record, not during the rebuild itself.
void CBasic::raiseNextPctIdOverReferences() {
  if (referencesCounted_) return;
  referencesCounted_ = true;
  int largest = nextPctId_ - 1;
  for (const auto& entry : session().handles().tables()) {
    const CDbf& table = *entry.second;
    const std::vector<DbfField>& fields = table.fields();
    for (int f = 0; f < static_cast<int>(fields.size()); ++f) {
      if (!holdsRegisterId(fields[f].storedName())) continue;
      for (std::size_t r = 0; r < table.numRecordsHeld(); ++r) {
        largest = std::max(largest, intValue(table.fieldText(static_cast<int>(r), f)));
      }
    }
  }
  if (largest < INT_MAX) nextPctId_ = std::max(nextPctId_, largest + 1);
}

// ---- populate ---------------------------------------------------------------

namespace {

bool pctFieldIndexes(CDbf* pct, PctFieldIndexes* f) {
  std::vector<int> i;
  if (!pct->getFieldIndexes({"PCT_ID", "PCT_TYPE", "PCT_AFUNCT", "PCT_CNAME", "PCT_GNAME",
                             "PCT_FNAME", "PCT_SNAME", "PCT_REGNO", "PCT_PCTID", "PCT_PPCTID"},
                            &i)) {
    return false;
  }
  *f = PctFieldIndexes{i[0], i[1], i[2], i[3], i[4], i[5], i[6], i[7], i[8], i[9]};
  return true;
}

NameWidths nameWidths(const CDbf& pct) {
  NameWidths w;
  w.cname = widthOf(pct, "PCT_CNAME");
  w.plname = widthOf(pct, "PCT_PLNAME");
  w.psname = widthOf(pct, "PCT_PSNAME");
  w.tlname = widthOf(pct, "PCT_TLNAME");
  w.tsname = widthOf(pct, "PCT_TSNAME");
  w.s1name = widthOf(pct, "PCT_S1NAME");
  w.s2name = widthOf(pct, "PCT_S2NAME");
  w.s3name = widthOf(pct, "PCT_S3NAME");
  w.s4name = widthOf(pct, "PCT_S4NAME");
  return w;
}

// The keys of record `r` of kind `bit`; only the fields that kind is
// indexed by are read (given and family names for persons, partners for
// couples, registration numbers for all but clubs).
PctKeys pctKeys(const CDbf& pct, int r, const PctFieldIndexes& f, int id, int bit) {
  PctKeys k;
  k.id = id;
  k.fold = &CaseFold::forCodePage(pct.header().codePage);
  k.sortName = pct.fieldText(r, f.sname);
  k.name = pct.fieldText(r, f.cname);
  if (bit == kOfficials || bit == kCompetitors) {
    k.given = pct.fieldText(r, f.gname);
    k.family = pct.fieldText(r, f.fname);
  }
  if (bit != kClubs) k.hasRegNo = parseRegNo(pct.fieldText(r, f.regno), &k.regNo);
  if (bit == kCouples) {
    k.partner1 = intValue(pct.fieldText(r, f.pctid));
    k.partner2 = intValue(pct.fieldText(r, f.ppctid));
  }
  return k;
}

}  // namespace

bool CBasic::populate(int mask, int recNo) {
  CallTrace t("CBasic.populate");
  if (recNo == -1) close(mask);
  if ((mask == 0 || (mask & kPctKinds) != 0) && !populatePct(mask, recNo)) return false;
  // The other kinds are always built whole; a populate of one PCT record
  // rebuilds them from scratch rather than entering their records twice.
  const int wholeKinds = (mask == 0 ? ~0 : mask) & (kNations | kElements | kVerificationRules);
  if (recNo != -1 && wholeKinds != 0) close(wholeKinds);
  if (recNo == -1 && inMask(mask, kPlannedElements) && !populatePel()) return false;
  if (inMask(mask, kNations) && !populateNat()) return false;
  if (inMask(mask, kElements) && !populateElm()) return false;
  if (inMask(mask, kVerificationRules) && !populateWbg()) return false;
  return t.succeed();
}

bool CBasic::populatePct(int mask, int recNo) {
  Impl& d = *impl_;
  CDbf* pct = openTable("PCT");
  if (pct == nullptr) return false;
  PctFieldIndexes f;
  if (!pctFieldIndexes(pct, &f)) return false;
  const int held = static_cast<int>(pct->numScannable());
  if (recNo != -1 && (recNo < 0 || recNo >= held)) {
    return failWith("Invalid pct record number: " + std::to_string(recNo));
  }
  pct_ = pct;
  d.fields = f;
  widths_ = nameWidths(*pct);
  int first = recNo, last = recNo + 1, largest = 0;
  if (recNo == -1) {
    first = 0;
    last = held;
    d.pctIds.clear();
    d.idOfRecNo.clear();
    d.idOfRecNo.assign(held, kNoPctId);
    for (PctKind& kind : d.kinds) {
      if (inMask(mask, kind.bit())) kind.beginBulk(kind.bit() == kCompetitors ? held : 0);
    }
  } else {
    forgetPctRecord(recNo);
    largest = nextPctId_ - 1;
  }
  for (int r = first; r < last; ++r) {
    const int id = intValue(pct->fieldText(r, f.id));
    // A deleted record's identifier is not handed out again either.
    largest = std::max(largest, id);
    if (pct->isDeleted(r)) continue;
    // A full build enters the identifiers at the end, from idOfRecNo.
    if (recNo != -1 || id == kNoPctId) d.pctIds.set(id, r);
    if (static_cast<std::size_t>(r) >= d.idOfRecNo.size()) d.idOfRecNo.resize(r + 1, kNoPctId);
    d.idOfRecNo[r] = id;
    const int bit = pctKindOf(pct->fieldText(r, f.type), pct->fieldText(r, f.afunct));
    if (bit != 0 && inMask(mask, bit)) d.kind(bit)->add(r, pctKeys(*pct, r, f, id, bit));
  }
  // In record order: a repeated identifier keeps its last record.
  if (recNo == -1) d.pctIds.setAll(d.idOfRecNo, kNoPctId);
  for (PctKind& kind : d.kinds) kind.endBulk();
  // The next identifier never goes back within a session: a rebuild after
  // entries were erased keeps counting from where it was.
  if (largest < INT_MAX) nextPctId_ = std::max(nextPctId_, largest + 1);
  if (recNo == -1) referencesCounted_ = false;
  if (inMask(mask, kClubs)) rebuildClubPositions();
  return true;
}

// A record repopulated alone first leaves the identifier map and every kind
// it was in, so that a changed identifier, name or kind leaves nothing stale.
void CBasic::forgetPctRecord(int recNo) {
  Impl& d = *impl_;
  if (static_cast<std::size_t>(recNo) < d.idOfRecNo.size() && d.idOfRecNo[recNo] != kNoPctId) {
    const int* entry = d.pctIds.find(d.idOfRecNo[recNo]);
    if (entry != nullptr && *entry == recNo) d.pctIds.erase(d.idOfRecNo[recNo]);
    d.idOfRecNo[recNo] = kNoPctId;
  }
  bool wasClub = d.kinds[4].contains(recNo);
  for (PctKind& kind : d.kinds) kind.remove(recNo);
  if (wasClub) rebuildClubPositions();
}

void CBasic::rebuildClubPositions() {
  Impl& d = *impl_;
  d.clubPositions.clear();
  const std::vector<PctListEntry>& clubs = d.kinds[4].list();
  for (std::size_t i = 0; i < clubs.size(); ++i) {
    d.clubPositions.emplace(clubs[i].id, static_cast<int>(i));
  }
}

bool CBasic::populatePel() {
  Impl& d = *impl_;
  CDbf* pel = openTable("PEL");
  if (pel == nullptr) return false;
  std::vector<int> f;
  if (!pel->getFieldIndexes({"PEL_ID", "PCT_ID"}, &f)) return false;
  d.pel = pel;
  int largest = 0;
  const int held = static_cast<int>(pel->numScannable());
  for (int r = 0; r < held; ++r) {
    if (pel->isDeleted(r)) continue;
    const int pelId = intValue(pel->fieldText(r, f[0]));
    const std::string pctIdText(pel->fieldText(r, f[1]));
    const int pctId = intValue(pctIdText);
    d.pelIds[pelId] = r;
    largest = std::max(largest, pelId);
    if (!d.pelOfPct.emplace(pctId, pelId).second) {
      return failWith("Duplicate PEL PCT_ID: " + pctIdText);
    }
  }
  nextPelId_ = largest + 1;
  return true;
}

bool CBasic::populateNat() {
  Impl& d = *impl_;
  CDbf* nat = openTable("NAT");
  if (nat == nullptr) return false;
  std::vector<int> f;
  if (!nat->getFieldIndexes({"NAT_OMF", "NAT_SORT"}, &f)) return false;
  d.nat = nat;
  const int held = static_cast<int>(nat->numScannable());
  for (int r = 0; r < held; ++r) {
    if (nat->isDeleted(r)) continue;
    d.natCodes[upperAscii(nat->fieldText(r, f[0]))] = r;
    d.nations.push_back(NatEntry{textAt(*nat, r, f[1]), r});
  }
  std::stable_sort(d.nations.begin(), d.nations.end(),
                   [](const NatEntry& a, const NatEntry& b) { return a.sortKey < b.sortKey; });
  return true;
}

// Elements are keyed by their group letter, "+" and the upper-cased short
// name (S+3LZ).  An element made of other elements (ELL) is also keyed by
// its parts: the group letter, "+" and the upper-cased parts joined by "+"
// (T+I4+BL4 names the element whose detail is I4+Bl4).  Every part must be
// an element of the same group; a detail that names an unknown element or
// an unknown part cannot be resolved.
bool CBasic::populateElm() {
  Impl& d = *impl_;
  CDbf* elm = openTable("ELM");
  CDbf* ell = elm == nullptr ? nullptr : openTable("ELL");
  CDbf* dgr = ell == nullptr ? nullptr : openTable("DGR");
  if (dgr == nullptr) return false;
  std::vector<int> e, l, g;
  if (!elm->getFieldIndexes({"ELM_ID", "ELM_GROUP", "ELM_SNAME"}, &e) ||
      !ell->getFieldIndexes({"ELL_ELM_ID", "ELL_DETAIL"}, &l) ||
      !dgr->getFieldIndexes({"DGR_NAME"}, &g)) {
    return false;
  }
  d.elm = elm;
  d.dgr = dgr;
  int largest = 0;
  for (int r = 0; r < static_cast<int>(elm->numScannable()); ++r) {
    if (elm->isDeleted(r)) continue;
    const int elmId = intValue(elm->fieldText(r, e[0]));
    d.elmIds[elmId] = r;
    largest = std::max(largest, elmId);
    d.elmKeys.emplace(std::string(elm->fieldText(r, e[1]).substr(0, 1)) + "+" +
                          upperAscii(elm->fieldText(r, e[2])),
                      r);
  }
  nextElmId_ = largest + 1;
  for (int r = 0; r < static_cast<int>(ell->numScannable()); ++r) {
    if (ell->isDeleted(r)) continue;
    if (!enterElementDetail(intValue(ell->fieldText(r, l[0])), textAt(*ell, r, l[1]), e[1])) {
      return false;
    }
  }
  for (int r = 0; r < static_cast<int>(dgr->numScannable()); ++r) {
    if (dgr->isDeleted(r)) continue;
    d.groups[upperAscii(dgr->fieldText(r, g[0]))] = r;
  }
  return true;
}

bool CBasic::enterElementDetail(int elmId, const std::string& detail, int groupField) {
  Impl& d = *impl_;
  auto element = d.elmIds.find(elmId);
  if (element == d.elmIds.end()) return failWith("Invalid element detail: " + detail);
  const std::string group(d.elm->fieldText(element->second, groupField).substr(0, 1));
  std::string key = group;
  std::size_t start = 0;
  while (start <= detail.size()) {
    std::size_t end = detail.find('+', start);
    if (end == std::string::npos) end = detail.size();
    const std::string part = upperAscii(trimBlanks(std::string_view(detail).substr(start, end - start)));
    if (part.empty() || d.elmKeys.count(group + "+" + part) == 0) {
      return failWith("Invalid element detail: " + detail);
    }
    key += "+" + part;
    start = end + 1;
  }
  d.elmDetails.emplace(key, element->second);
  return true;
}

bool CBasic::populateWbg() {
  Impl& d = *impl_;
  CDbf* wbg = openTable("WBG");
  if (wbg == nullptr) return false;
  const int field = wbg->getFieldIndex("WBG_ID");
  if (field < 0) return false;
  for (int r = 0; r < static_cast<int>(wbg->numScannable()); ++r) {
    if (!wbg->isDeleted(r)) d.wbgIds.insert(intValue(wbg->fieldText(r, field)));
  }
  return true;
}

}  // namespace tav
