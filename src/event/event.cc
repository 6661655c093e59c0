#include "event/event.h"

#include <algorithm>
#include <set>

#include "base/failure_record.h"
#include "event/node_lists.h"
#include "event/field_number.h"
#include "event/register_link.h"

namespace tav {
namespace {

FieldSlot gName("EVT_NAME");
FieldSlot gRegNo("EVT_REGNO");
FieldSlot gBegin("EVT_BEGDAT");
FieldSlot gEnd("EVT_ENDDAT");
FieldSlot gPlace("EVT_PLACE");
FieldSlot gExtra("EVT_EXTDT");
FieldSlot gVenues[4] = {FieldSlot("EVT_R1NAM"), FieldSlot("EVT_TITLE1"), FieldSlot("EVT_TITLE2"),
                        FieldSlot("EVT_TITLE3")};

}  // namespace

CEvent::CEvent(std::uint32_t recNo, int id)
    : record_("EVT", recNo), id_(id), idText_(std::to_string(id)) {}

CCategory* CEvent::getCatPtr(int catId) const {
  CallTrace t("CEvent.getCatPtr");
  auto it = cats_.find(catId);
  if (it == cats_.end()) {
    failWith("Invalid CAT_ID: " + std::to_string(catId));
    return nullptr;
  }
  t.succeed();
  return it->second.get();
}

bool CEvent::getCatIdRecNo(int catId, int* recNo) const {
  CallTrace t("CEvent.getCatIdRecNo");
  const CCategory* category = getCatPtr(catId);
  if (category == nullptr) return false;
  *recNo = static_cast<int>(category->recNo());
  return t.succeed();
}

bool CEvent::getCatNames(std::vector<std::string>* names) const {
  CallTrace t("CEvent.getCatNames");
  return nodeNames(cats_, names) && t.succeed();
}

bool CEvent::getCatListId(int index, int* id) const {
  CallTrace t("CEvent.getCatListId");
  if (!listIndexFails(index, cats_.size())) return false;
  *id = std::next(cats_.begin(), index)->first;
  return t.succeed();
}

bool CEvent::getCatListRecNo(int index, int* recNo) const {
  CallTrace t("CEvent.getCatListRecNo");
  int id = 0;
  return getCatListId(index, &id) && getCatIdRecNo(id, recNo) && t.succeed();
}

bool CEvent::getClubNames(std::vector<std::string>* names) {
  CallTrace t("CEvent.getClubNames");
  names->clear();
  clubIds_.clear();
  std::set<int> ids;
  for (const auto& [catId, category] : cats_) {
    for (const auto& [parId, participant] : category->participants()) {
      int club = 0;
      int partnerClub = 0;
      if (!participant->getParClubIds(&club, &partnerClub)) return false;
      if (club > 0) ids.insert(club);
      if (partnerClub > 0) ids.insert(partnerClub);
    }
  }
  std::vector<std::pair<std::string, int>> clubs;
  for (int id : ids) {
    std::string name;
    if (!reg::clubName(id, &name)) return false;
    if (name != "Not found") clubs.emplace_back(name, id);
  }
  std::stable_sort(clubs.begin(), clubs.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [name, id] : clubs) {
    names->push_back(name);
    clubIds_.push_back(id);
  }
  return t.succeed();
}

bool CEvent::getClubNameId(int index, int* id) const {
  CallTrace t("CEvent.getClubNameId");
  if (!listIndexFails(index, clubIds_.size())) return false;
  *id = clubIds_[index];
  return t.succeed();
}

bool CEvent::getName(std::string* name) const {
  CallTrace t("CEvent.getName");
  return record_.text(gName, name) && t.succeed();
}

bool CEvent::getRegNo(std::string* regNo) const {
  CallTrace t("CEvent.getRegNo");
  return record_.text(gRegNo, regNo) && t.succeed();
}

bool CEvent::getHtmlInfo(EventHtmlInfo* info) const {
  CallTrace t("CEvent.getHtmlInfo");
  return record_.text(gName, &info->name) && record_.text(gBegin, &info->beginDate) &&
         record_.text(gEnd, &info->endDate) && record_.text(gPlace, &info->place) &&
         record_.text(gExtra, &info->extra) && t.succeed();
}

bool CEvent::getVenueList(std::vector<std::string>* venues) const {
  CallTrace t("CEvent.getVenueList");
  venues->clear();
  for (int i = 0; i < 4; ++i) {
    std::string venue;
    if (!record_.text(gVenues[i], &venue)) return false;
    if (i == 0 || !venue.empty()) venues->push_back(venue);
  }
  return t.succeed();
}

bool CEvent::getVenue(int index, std::string* venue) const {
  CallTrace t("CEvent.getVenue");
  std::string first;
  if (!record_.text(gVenues[0], &first)) return false;
  *venue = first;
  if (index >= 2 && index <= 4) {
    if (!record_.text(gVenues[index - 1], venue)) return false;
    if (venue->empty()) *venue = first;
  }
  return t.succeed();
}

bool CEvent::getFieldData(std::vector<std::string>* fields,
                          std::vector<std::string>* values) const {
  CallTrace t("CEvent.getFieldData");
  return record_.getFieldData(fields, values) && t.succeed();
}

bool CEvent::setFieldData(const std::vector<std::string>& fields,
                          const std::vector<std::string>& values) const {
  CallTrace t("CEvent.setFieldData");
  return refuseIdChange(fields, values, "EVT_ID", id_) && record_.setFieldData(fields, values) &&
         t.succeed();
}

bool CEvent::updateNatCodes(int pctId, const std::string& code) const {
  CallTrace t("CEvent.updateNatCodes");
  for (const auto& [id, category] : cats_) {
    if (!category->updateNatCodes(pctId, code)) return false;
  }
  return t.succeed();
}

bool CEvent::updateClubIds(int pctId, int clubId, int partnerClubId) const {
  CallTrace t("CEvent.updateClubIds");
  for (const auto& [id, category] : cats_) {
    if (!category->updateClubIds(pctId, clubId, partnerClubId)) return false;
  }
  return t.succeed();
}

bool CEvent::updateDpp(int catId, const std::string& value) const {
  CallTrace t("CEvent.updateDpp");
  for (const auto& [id, category] : cats_) {
    if ((catId == 0 || id == catId) && !category->updateDpp(value)) return false;
  }
  return t.succeed();
}

bool CEvent::addCategory(std::unique_ptr<CCategory> category) {
  const int id = category->id();
  return cats_.emplace(id, std::move(category)).second;
}

}  // namespace tav
