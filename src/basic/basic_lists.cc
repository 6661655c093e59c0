// The ordered lists of the register: entries of a PCT kind by sort name,
// couples of a partner, and the nations.  "Index" arguments count positions
// in a list from 0.
#include <string>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/basic_impl.h"
#include "dbf/dbf.h"

namespace tav {
namespace {

constexpr char kEmptyName[] = "<Empty Name>";

bool checkIndex(int index, std::size_t size) {
  if (index < 0) return failWith("Invalid index: " + std::to_string(index));
  if (static_cast<std::size_t>(index) >= size) {
    return failWith("Index: " + std::to_string(index) + "  >= size: " + std::to_string(size));
  }
  return true;
}

bool invalidType(int type) { return failWith("Invalid type: " + std::to_string(type)); }

}  // namespace

int CBasic::getPctListSize(int type) const {
  const PctKind* kind = impl_->kind(type);
  return kind == nullptr ? 0 : static_cast<int>(kind->list().size());
}

bool CBasic::getPctNames(int type, std::vector<std::string>* names) {
  CallTrace t("CBasic.getPctNames");
  names->clear();
  const PctKind* kind = impl_->kind(type);
  if (kind == nullptr) return invalidType(type);
  if (kind->list().empty()) return t.succeed();
  if (!requirePct()) return false;
  std::string name;
  for (const PctListEntry& entry : kind->list()) {
    if (!readText(pct_, entry.recNo, impl_->fields.cname, &name)) return false;
    names->push_back(name.empty() ? kEmptyName : name);
  }
  return t.succeed();
}

bool CBasic::getPctListId(int type, int index, int* id) {
  CallTrace t("CBasic.getPctListId");
  const PctKind* kind = impl_->kind(type);
  if (kind == nullptr) return invalidType(type);
  if (!checkIndex(index, kind->list().size())) return false;
  *id = kind->list()[index].id;
  return t.succeed();
}

bool CBasic::getPctListRecNo(int type, int index, int* recNo) {
  CallTrace t("CBasic.getPctListRecNo");
  const PctKind* kind = impl_->kind(type);
  if (kind == nullptr) return invalidType(type);
  if (!checkIndex(index, kind->list().size())) return false;
  *recNo = kind->list()[index].recNo;
  return t.succeed();
}

// Positions of the entry's club and partner club in the club list, from a
// map built with the club list: "-1" for an identifier below 1 or a club
// that is not in the list.
bool CBasic::getPctListClubIdxs(int type, int index, std::string* club1, std::string* club2) {
  CallTrace t("CBasic.getPctListClubIdxs");
  if (type != kCompetitors && type != kCouples && type != kTeams) return invalidType(type);
  const PctKind* kind = impl_->kind(type);
  if (!checkIndex(index, kind->list().size()) || !requirePct()) return false;
  const int recNo = kind->list()[index].recNo;
  const int clbid = pct_->getFieldIndex("PCT_CLBID");
  const int pclbid = clbid < 0 ? -1 : pct_->getFieldIndex("PCT_PCLBID");
  std::string first, second;
  if (pclbid < 0 || !readText(pct_, recNo, clbid, &first) ||
      !readText(pct_, recNo, pclbid, &second)) {
    return false;
  }
  auto position = [this](const std::string& text) {
    const int club = intValue(text);
    auto found = impl_->clubPositions.find(club);
    return club < 1 || found == impl_->clubPositions.end() ? std::string("-1")
                                                            : std::to_string(found->second);
  };
  *club1 = position(first);
  *club2 = position(second);
  return t.succeed();
}

// Couples of a first partner (id1), of a second partner (id2), or - with
// both - the couples under both, that is the couple the two form.
bool CBasic::getCoupleListId(int id1, int id2, std::vector<int>* couples) {
  CallTrace t("CBasic.getCoupleListId");
  couples->clear();
  const PctKind& kind = *impl_->kind(kCouples);
  auto under = [](const std::multimap<int, int>& index, int id) {
    std::vector<int> ids;
    auto [first, last] = index.equal_range(id);
    for (auto it = first; it != last; ++it) ids.push_back(it->second);
    return ids;
  };
  if (id1 > 0 && id2 > 0) {
    const std::vector<int> second = under(kind.secondPartners(), id2);
    for (int couple : under(kind.firstPartners(), id1)) {
      for (int other : second) {
        if (other == couple) couples->push_back(couple);
      }
    }
  } else if (id1 > 0) {
    *couples = under(kind.firstPartners(), id1);
  } else if (id2 > 0) {
    *couples = under(kind.secondPartners(), id2);
  }
  return t.succeed();
}

bool CBasic::getNatNames(std::vector<std::string>* names) {
  CallTrace t("CBasic.getNatNames");
  names->clear();
  if (impl_->nations.empty()) return t.succeed();
  CDbf* nat = impl_->nat;
  const int omf = fieldIndexOf(nat, "NAT_OMF");
  const int name = omf < 0 ? -1 : nat->getFieldIndex("NAT_NAME");
  if (name < 0) return false;
  std::string code, text;
  for (const NatEntry& entry : impl_->nations) {
    if (!readText(nat, entry.recNo, omf, &code) || !readText(nat, entry.recNo, name, &text)) {
      return false;
    }
    names->push_back(code + " " + text);
  }
  return t.succeed();
}

bool CBasic::getNatListOmf(int index, std::string* code) {
  CallTrace t("CBasic.getNatListOmf");
  if (!checkIndex(index, impl_->nations.size())) return false;
  CDbf* nat = impl_->nat;
  const int omf = fieldIndexOf(nat, "NAT_OMF");
  return omf >= 0 && readText(nat, impl_->nations[index].recNo, omf, code) && t.succeed();
}

}  // namespace tav
