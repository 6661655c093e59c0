// The person import: reading and checking the file, duplicates, and the
// confirmation of couple pairings.  Adding is in pct_import_add.cc.
#include "basic/pct_import.h"

#include <climits>
#include <set>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/club_name.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"
#include "session/tav.h"

namespace tav {
namespace {

constexpr int kCleanerBits = kClubDropThe | kClubDropInc | kClubShortenFsc | kClubShortenSc;

bool isImportKind(int kind) {
  return kind == kImportOfficials || kind == kImportCompetitors || kind == kImportCouples ||
         kind == kImportTeams || kind == kImportClubs;
}

// The whole text as a non-negative int, or -1.
int wholeNumber(std::string_view text) {
  if (text.empty() || text.size() > 10) return -1;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value > INT_MAX ? -1 : static_cast<int>(value);
}

}  // namespace

int PctImport::importPct(const PctImportOptions& options, const CouplePairing& pairing) {
  CallTrace t("CBasic.importPct");
  options_ = options;
  imported_.clear();
  duplicates_.clear();
  invalid_.clear();
  entries_.clear();
  entryLines_.clear();
  pairs_.clear();
  addedClubs_.clear();
  addedInFile_.clear();
  addedRecNos_.clear();
  rebuildMask_ = 0;
  linesRead_ = lineNo_ = 0;
  if (!isImportKind(options.kind)) {
    failWith("Invalid type: " + std::to_string(options.kind));
    return -2;
  }
  if (!prepareRegister()) return -2;
  PctImportFile file;
  if (!file.read(options.file, options.fromUtf8)) return -2;
  for (std::size_t i = 0; i < file.lines().size(); ++i) {
    const std::string& line = file.lines()[i];
    ++linesRead_;
    ++lineNo_;
    if (!file.unheld()[i].empty()) {
      invalid_.push_back(line + " - Not in the database's code page: " + file.unheld()[i]);
      continue;
    }
    const int verdict = verifyPCT(options.kind, std::string(cutComment(line)));
    if (verdict < 0) return verdict;
    if (verdict == 1) entries_.back().comment = commentFor(lineNo_);
  }
  // Nothing is written while any line is invalid: the list tells why.
  if (!invalid_.empty()) {
    t.succeed();
    return 1;
  }
  if (options.kind == kImportCouples) {
    const int confirmed = confirmPairs(pairing);
    if (confirmed <= 0) return confirmed;
    if (!invalid_.empty()) {
      t.succeed();
      return 1;
    }
  }
  // The identifiers in use are counted before erase-first removes records.
  raiseHighestId();
  if (options.eraseFirst && !eraseKind()) return -2;
  const int added = addEntries();
  if (added < 0) return added;
  t.succeed();
  return 1;
}

bool PctImport::prepareRegister() {
  pct_ = session().handles().getDbfHandlePtr("PCT");
  if (pct_ == nullptr) return false;
  idField_ = pct_->getFieldIndex("PCT_ID");
  clubField_ = pct_->getFieldIndex("PCT_CLBID");
  regNoField_ = pct_->getFieldIndex("PCT_REGNO");
  if (idField_ < 0 || clubField_ < 0 || regNoField_ < 0) return false;
  const int comment = pct_->findField("PCT_COMENT");
  commentWidth_ = comment < 0 ? 0 : pct_->fields()[comment].length;
  if (!basic().isPopulated() && !basic().populate(kPctKinds, -1)) return false;
  // Nation codes known to the register: the active records of NAT.
  nations_.clear();
  const auto& tables = session().handles().tables();
  auto nat = tables.find("NAT");
  if (nat != tables.end()) {
    const CDbf& table = *nat->second;
    const int code = table.findField("NAT_OMF");
    for (std::size_t r = 0; code >= 0 && r < table.numScannable(); ++r) {
      if (table.isActive(r)) nations_.insert(upperAscii(table.fieldText(r, code)));
    }
  }
  nations_.erase("");
  return true;
}

int PctImport::verifyPCT(int kind, const std::string& line) {
  CallTrace t("CBasic.verifyPCT");
  ImportLineRules rules;
  rules.kind = kind;
  rules.defGender = options_.defGender;
  rules.defNation = options_.defNation;
  rules.isNation = [this](std::string_view code) { return nations_.count(std::string(code)) != 0; };
  LineCheck check = checkImportLine(rules, line);
  switch (check.verdict) {
    case LineVerdict::kSkipped:
      t.succeed();
      return 0;
    case LineVerdict::kStop:
      failWith(check.reason);
      return -1;
    case LineVerdict::kInvalid:
      invalid_.push_back(check.text + check.reason);
      t.succeed();
      return 0;
    case LineVerdict::kValid:
      break;
  }
  PctImportEntry& e = check.entry;
  cleanClubNameWith(&e.clubName, 0);  // quotes and outer blanks only
  if (kind == kImportClubs) {
    e.gfName = e.gfNameC = e.clubName;
    e.gender = "M";  // as a new club record has it
    e.nation = upperAscii(options_.defNation);
    if (e.clubName.empty()) {
      invalid_.push_back(check.text + " - Missing info.");
      t.succeed();
      return 0;
    }
  }
  if (!options_.eraseFirst) {
    const int found = checkDuplicate(&e);
    if (found < 0) return -2;
    if (found == 0) {
      invalid_.push_back(check.text + " - Multiple name matches in database.");
      t.succeed();
      return 0;
    }
  }
  entries_.push_back(std::move(e));
  entryLines_.push_back(check.text);
  t.succeed();
  return 1;
}

std::string PctImport::cleanedClub(const std::string& name) const {
  std::string cleaned = name;
  cleanClubNameWith(&cleaned, options_.clbNameConvBits & kCleanerBits);
  return cleaned;
}

// The register's clubs of a name: as written, else as cleaned (ST and ST.
// alike either way).  False on a failure.
bool PctImport::findClubs(const std::string& clubName, std::vector<int>* recNos) {
  if (!basic().findByName(kClubs, clubName, recNos)) return false;
  const std::string cleaned = cleanedClub(clubName);
  if (!recNos->empty() || cleaned == clubName) return true;
  return basic().findByName(kClubs, cleaned, recNos);
}

// The identifier of the register's club of that name (the first when
// several have it): 0 for no club name, -1 when the register has no such
// club, -2 on a failure.
int PctImport::clubIdOf(const std::string& clubName) {
  if (clubName.empty()) return 0;
  std::vector<int> recNos;
  if (!findClubs(clubName, &recNos)) return -2;
  if (recNos.empty()) return -1;
  return static_cast<int>(decimalValue(pct_->fieldText(recNos.front(), idField_)));
}

// Searches the register for the entry (rules in pct_import.h).  1 with the
// entry marked when it is new or a single match, 0 for several matches,
// -1 on a failure.
int PctImport::checkDuplicate(PctImportEntry* e) {
  const int kind = options_.kind == kImportCouples ? kImportCompetitors : options_.kind;
  std::vector<int> recNos;
  bool found = false;
  if (kind == kImportOfficials || kind == kImportCompetitors) {
    found = basic().findByName(kind, e->gName, e->fName, &recNos);
  } else if (kind == kImportClubs) {
    found = findClubs(e->clubName, &recNos);
  } else {
    found = basic().findByName(kind, e->gfName, &recNos);
  }
  if (!found) return -1;
  auto onlyWhere = [&](std::vector<int>* list, auto&& keep) {
    std::vector<int> kept;
    for (int r : *list) {
      if (keep(r)) kept.push_back(r);
    }
    list->swap(kept);
  };
  int club = 0;
  if (options_.dupIncClub && kind != kImportClubs) {
    club = clubIdOf(e->clubName);
    if (club == -2) return -1;
    onlyWhere(&recNos, [&](int r) { return decimalValue(pct_->fieldText(r, clubField_)) == club; });
  }
  const int regNo = e->hasRegNo ? wholeNumber(e->regNo) : -1;
  auto sameRegNo = [&](int r) {
    return wholeNumber(pct_->fieldText(r, regNoField_)) == regNo;
  };
  if (recNos.size() > 1 && regNo >= 0) {
    std::vector<int> narrowed = recNos;
    onlyWhere(&narrowed, sameRegNo);
    if (!narrowed.empty()) recNos.swap(narrowed);
  }
  if (recNos.empty() && regNo >= 0 && kind != kImportClubs) {
    if (!basic().findByRegNo(kind, regNo, &recNos)) return -1;
    if (options_.dupIncClub) {
      onlyWhere(&recNos, [&](int r) { return decimalValue(pct_->fieldText(r, clubField_)) == club; });
    }
  }
  if (recNos.size() > 1) return 0;
  if (recNos.size() == 1) {
    e->duplicate = true;
    e->pctId = std::string(pct_->fieldText(recNos.front(), idField_));
  }
  return 1;
}

// File name after its last "/", "-" and the line number; only the last
// characters when that is wider than PCT_COMENT.
std::string PctImport::commentFor(int lineNo) const {
  const std::string& path = options_.file;
  const std::size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (options_.fromUtf8) name = options_.fromUtf8(name).bytes;
  std::string comment = name + "-" + std::to_string(lineNo);
  const std::size_t width = static_cast<std::size_t>(commentWidth_);
  if (width > 0 && comment.size() > width) comment = comment.substr(comment.size() - width);
  return comment;
}

// Shows the pairs to the application and reads back the confirmed ones.
// 1 confirmed (pairs_ filled), 0 cancelled, -1 an answer that cannot be
// used, -2 a failure.
int PctImport::confirmPairs(const CouplePairing& pairing) {
  CallTrace t("CBasic.confirmPairs");
  std::vector<std::string> items;
  for (std::size_t i = 0; i < entries_.size(); i += 2) {
    items.push_back(i + 1 < entries_.size()
                        ? entries_[i].gfName + " / " + entries_[i + 1].gfName
                        : entries_[i].gfName + " /");
  }
  PairingAnswer answer;
  if (!pairing || !pairing(items, static_cast<int>(entries_.size()), &answer)) return -2;
  if (answer.cancelled) {
    t.succeed();
    return 0;
  }
  const int count = static_cast<int>(entries_.size());
  std::string fault;
  std::vector<int> positions;
  std::set<int> used;
  if (!answer.wellFormed) fault = "not a list";
  for (std::size_t i = 0; fault.empty() && i < answer.elements.size(); ++i) {
    const int position = wholeNumber(answer.elements[i]);
    if (position < 0 || position >= count) {
      fault = "not an entry position: " + answer.elements[i];
    } else if (!used.insert(position).second) {
      fault = "entry paired twice: " + answer.elements[i];
    }
    positions.push_back(position);
  }
  if (fault.empty() && positions.size() % 2 != 0) fault = "odd number of positions";
  if (!fault.empty()) {
    failWith("Invalid couple pairing: '" + answer.text + "' (" + fault +
             "). Nothing was imported.");
    return -1;
  }
  for (std::size_t i = 0; i < positions.size(); i += 2) {
    Pair pair;
    pair.first = static_cast<std::size_t>(positions[i]);
    pair.second = static_cast<std::size_t>(positions[i + 1]);
    pair.text = entryLines_[pair.first] + " / " + entryLines_[pair.second];
    const int found = findCouple(&pair);
    if (found < 0) return -2;
    if (found == 0) invalid_.push_back(pair.text + " - Multiple name matches in database.");
    pairs_.push_back(std::move(pair));
  }
  t.succeed();
  return 1;
}

// The register's couple of two matched partners (either order): 1 with the
// couple noted or none, 0 when several couples hold the two.
int PctImport::findCouple(Pair* pair) {
  CallTrace t("CBasic.findCouple");
  const PctImportEntry& a = entries_[pair->first];
  const PctImportEntry& b = entries_[pair->second];
  if (!a.duplicate || !b.duplicate) {
    t.succeed();
    return 1;
  }
  const int id1 = static_cast<int>(decimalValue(a.pctId));
  const int id2 = static_cast<int>(decimalValue(b.pctId));
  std::vector<int> couples, reversed;
  if (!basic().getCoupleListId(id1, id2, &couples)) return -1;
  if (!basic().getCoupleListId(id2, id1, &reversed)) return -1;
  couples.insert(couples.end(), reversed.begin(), reversed.end());
  if (couples.size() > 1) {
    t.succeed();
    return 0;
  }
  if (couples.size() == 1) pair->coupleId = couples.front();
  t.succeed();
  return 1;
}

}  // namespace tav
