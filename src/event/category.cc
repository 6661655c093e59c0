#include "event/category.h"

#include "base/failure_record.h"
#include "event/field_number.h"
#include "event/node_lists.h"

namespace tav {
namespace {

FieldSlot gName("CAT_NAME");
FieldSlot gTvName("CAT_TVNAME");
FieldSlot gLevel("CAT_LEVEL");
FieldSlot gGender("CAT_GENDER");
FieldSlot gType("CAT_TYPE");

}  // namespace

CCategory::CCategory(std::uint32_t recNo, int id, char type)
    : record_("CAT", recNo), id_(id), idText_(std::to_string(id)), type_(type) {}

CSegment* CCategory::segmentInSlot(int slot) const {
  if (slot < 0 || slot >= kSlotCount || slots_[slot] <= 0) return nullptr;
  auto it = scps_.find(slots_[slot]);
  return it == scps_.end() ? nullptr : it->second.get();
}

CSegment* CCategory::getScpPtr(int scpId) const {
  CallTrace t("CCategory.getScpPtr");
  auto it = scps_.find(scpId);
  if (it == scps_.end()) {
    failWith("Invalid SCP_ID: " + std::to_string(scpId));
    return nullptr;
  }
  t.succeed();
  return it->second.get();
}

CParticipant* CCategory::getParPtr(int parId) const {
  CallTrace t("CCategory.getParPtr");
  auto it = pars_.find(parId);
  if (it == pars_.end()) {
    failWith("Invalid PAR_ID: " + std::to_string(parId));
    return nullptr;
  }
  t.succeed();
  return it->second.get();
}

bool CCategory::getScpIdRecNo(int scpId, int* recNo) const {
  CallTrace t("CCategory.getScpIdRecNo");
  const CSegment* segment = getScpPtr(scpId);
  if (segment == nullptr) return false;
  *recNo = static_cast<int>(segment->recNo());
  return t.succeed();
}

bool CCategory::getScpIds(std::vector<int>* ids) const {
  ids->clear();
  for (int value : slots_) {
    if (value > 0) ids->push_back(value);
  }
  return true;
}

bool CCategory::getScpNames(std::vector<std::string>* shortNames,
                            std::vector<std::string>* names) const {
  CallTrace t("CCategory.getScpNames");
  shortNames->clear();
  names->clear();
  for (int value : slots_) {
    if (value == 0) continue;
    if (value < 0) {
      shortNames->push_back("XX");
      names->push_back("<Missing segment>");
      continue;
    }
    const CSegment* segment = getScpPtr(value);
    std::string shortName;
    std::string name;
    if (segment == nullptr || !segment->getSName(&shortName) || !segment->getName(&name)) {
      return false;
    }
    shortNames->push_back(shortName);
    names->push_back(orEmptyName(name));
  }
  return t.succeed();
}

bool CCategory::getScpListId(int index, int* id) const {
  CallTrace t("CCategory.getScpListId");
  if (index < 0) return failWith("Invalid index: " + std::to_string(index));
  if (index >= kSlotCount) return failWith("Invalid segment index: " + std::to_string(index));
  int position = 0;
  for (int value : slots_) {
    if (value == 0) continue;
    if (position == index) {
      *id = value;
      return t.succeed();
    }
    ++position;
  }
  return failWith("Invalid index: " + std::to_string(index));
}

bool CCategory::getScpListRecNo(int index, int* recNo) const {
  CallTrace t("CCategory.getScpListRecNo");
  int id = 0;
  return getScpListId(index, &id) && getScpIdRecNo(id, recNo) && t.succeed();
}

int CCategory::getNumSegs() const {
  int count = 0;
  for (int value : slots_) count += value > 0 ? 1 : 0;
  return count;
}

int CCategory::getFirstSeg() const {
  for (int i = 0; i < kSlotCount; ++i) {
    if (slots_[i] > 0) return i;
  }
  return kSlotCount;
}

int CCategory::getLastSeg() const {
  for (int i = kSlotCount - 1; i >= 0; --i) {
    if (slots_[i] > 0) return i;
  }
  return -1;
}

bool CCategory::getName(std::string* name) const {
  CallTrace t("CCategory.getName");
  return record_.text(gName, name) && t.succeed();
}

bool CCategory::getTvName(std::string* name) const {
  CallTrace t("CCategory.getTvName");
  return record_.text(gTvName, name) && t.succeed();
}

bool CCategory::getHtmlName(bool useTvName, std::string* name) const {
  CallTrace t("CCategory.getHtmlName");
  if (useTvName && !getTvName(name)) return false;
  if (!useTvName || name->empty()) {
    if (!getName(name)) return false;
  }
  return t.succeed();
}

bool CCategory::getLevel(char* letter) const {
  CallTrace t("CCategory.getLevel");
  return record_.letter(gLevel, letter) && t.succeed();
}

bool CCategory::getGenderType(char* gender, char* type) const {
  CallTrace t("CCategory.getGenderType");
  return record_.letter(gGender, gender) && record_.letter(gType, type) && t.succeed();
}

bool CCategory::getFieldData(std::vector<std::string>* fields,
                             std::vector<std::string>* values) const {
  CallTrace t("CCategory.getFieldData");
  return record_.getFieldData(fields, values) && t.succeed();
}

bool CCategory::setFieldData(const std::vector<std::string>& fields,
                             const std::vector<std::string>& values,
                             const std::function<bool(int)>& idInUse) {
  CallTrace t("CCategory.setFieldData");
  int newId = id_;
  for (std::size_t i = 0; i < fields.size() && i < values.size(); ++i) {
    if (fields[i] == "CAT_ID") newId = decimalInt(values[i]);
  }
  if (newId != id_ && idInUse(newId)) {
    return failWith("CAT_ID already used by another category: " + std::to_string(newId));
  }
  if (!record_.setFieldData(fields, values)) return false;
  if (newId != id_) {
    // Every segment of the category (also those no slot names) and every
    // participant follows the new identifier.
    for (const auto& [scpId, segment] : scps_) {
      if (!segment->updateCatId(newId)) return false;
    }
    for (const auto& [parId, participant] : pars_) {
      if (!participant->updateCatId(newId)) return false;
    }
    id_ = newId;
    idText_ = std::to_string(newId);
  }
  return t.succeed();
}

bool CCategory::updateNatCodes(int pctId, const std::string& code) const {
  CallTrace t("CCategory.updateNatCodes");
  for (const auto& [scpId, segment] : scps_) {
    if (!segment->updateNatCodes(pctId, code)) return false;
  }
  for (const auto& [parId, participant] : pars_) {
    int id = 0;
    if (!participant->getPctId(&id)) return false;
    if ((pctId <= 0 || id == pctId) && !participant->updateNatCode(code)) return false;
  }
  return t.succeed();
}

bool CCategory::updateClubIds(int pctId, int clubId, int partnerClubId) const {
  CallTrace t("CCategory.updateClubIds");
  for (const auto& [parId, participant] : pars_) {
    int id = 0;
    if (!participant->getPctId(&id)) return false;
    if (id == pctId && !participant->updateClubIds(clubId, partnerClubId)) return false;
  }
  return t.succeed();
}

bool CCategory::updateDpp(const std::string& value) const {
  CallTrace t("CCategory.updateDpp");
  return record_.update({"CAT_NDPP=" + value}) && t.succeed();
}

bool CCategory::addParticipant(std::unique_ptr<CParticipant> participant) {
  const int id = participant->id();
  return pars_.emplace(id, std::move(participant)).second;
}

bool CCategory::addSegment(std::unique_ptr<CSegment> segment) {
  const int id = segment->id();
  return scps_.emplace(id, std::move(segment)).second;
}

bool CCategory::linkSlots() {
  CSegment* last = nullptr;
  bool firstSeen = false;
  for (int i = 0; i < kSlotCount; ++i) {
    if (slots_[i] <= 0) continue;
    auto it = scps_.find(slots_[i]);
    if (it == scps_.end()) {
      slots_[i] = -slots_[i];
      firstSeen = true;  // a missing first segment flags none as first
      continue;
    }
    CSegment* segment = it->second.get();
    segment->setSlot(i);
    if (!firstSeen) segment->setFirst();
    firstSeen = true;
    last = segment;
  }
  if (last != nullptr) last->setLast();
  if (!calcStage()) return false;
  complete_ = true;
  return true;
}

}  // namespace tav
