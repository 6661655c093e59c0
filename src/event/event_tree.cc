// Lookups, ordered lists and generic field access of the event tree.
#include "event/event_tree.h"

#include "base/failure_record.h"
#include "event/node_lists.h"

namespace tav {

CEvent* CEventTree::getEvtPtr(int evtId) const {
  CallTrace t("CTav.getEvtPtr");
  auto it = evts_.find(evtId);
  if (it == evts_.end()) {
    failWith("Invalid EVT_ID: " + std::to_string(evtId));
    return nullptr;
  }
  t.succeed();
  return it->second.get();
}

CCategory* CEventTree::getEvtCatPtr(int evtId, int catId) const {
  const CEvent* event = getEvtPtr(evtId);
  return event == nullptr ? nullptr : event->getCatPtr(catId);
}

CSegment* CEventTree::getEvtCatScpPtr(int evtId, int catId, int scpId) const {
  const CCategory* category = getEvtCatPtr(evtId, catId);
  return category == nullptr ? nullptr : category->getScpPtr(scpId);
}

CPerformance* CEventTree::getEvtCatScpPrfPtr(int evtId, int catId, int scpId, int prfId) const {
  const CSegment* segment = getEvtCatScpPtr(evtId, catId, scpId);
  return segment == nullptr ? nullptr : segment->getPrfPtr(prfId);
}

bool CEventTree::eventGetEvtIdRecNo(int evtId, int* recNo) const {
  CallTrace t("CTav.eventGetEvtIdRecNo");
  const CEvent* event = getEvtPtr(evtId);
  if (event == nullptr) return false;
  *recNo = static_cast<int>(event->recNo());
  return t.succeed();
}

bool CEventTree::eventGetEvtIdRegNo(int evtId, std::string* regNo) const {
  CallTrace t("CTav.eventGetEvtIdRegNo");
  const CEvent* event = getEvtPtr(evtId);
  return event != nullptr && event->getRegNo(regNo) && t.succeed();
}

bool CEventTree::eventGetEvtNames(std::vector<std::string>* names) const {
  CallTrace t("CTav.eventGetEvtNames");
  return nodeNames(evts_, names) && t.succeed();
}

bool CEventTree::eventGetEvtListId(int index, int* id) const {
  CallTrace t("CTav.eventGetEvtListId");
  if (!listIndexFails(index, evts_.size())) return false;
  *id = std::next(evts_.begin(), index)->first;
  return t.succeed();
}

bool CEventTree::eventGetEvtListRecNo(int index, int* recNo) const {
  CallTrace t("CTav.eventGetEvtListRecNo");
  int id = 0;
  return eventGetEvtListId(index, &id) && eventGetEvtIdRecNo(id, recNo) && t.succeed();
}

bool CEventTree::eventGetEvtClubNames(int evtId, std::vector<std::string>* names) const {
  CallTrace t("CTav.eventGetEvtClubNames");
  CEvent* event = getEvtPtr(evtId);
  return event != nullptr && event->getClubNames(names) && t.succeed();
}

bool CEventTree::eventGetEvtClubListId(int evtId, int index, int* id) const {
  CallTrace t("CTav.eventGetEvtClubListId");
  const CEvent* event = getEvtPtr(evtId);
  return event != nullptr && event->getClubNameId(index, id) && t.succeed();
}

bool CEventTree::eventGetEvtCatIdRecNo(int evtId, int catId, int* recNo) const {
  CallTrace t("CTav.eventGetEvtCatIdRecNo");
  const CEvent* event = getEvtPtr(evtId);
  return event != nullptr && event->getCatIdRecNo(catId, recNo) && t.succeed();
}

bool CEventTree::eventGetEvtCatNames(int evtId, std::vector<std::string>* names) const {
  CallTrace t("CTav.eventGetEvtCatNames");
  const CEvent* event = getEvtPtr(evtId);
  return event != nullptr && event->getCatNames(names) && t.succeed();
}

bool CEventTree::eventGetEvtCatListId(int evtId, int index, int* id) const {
  CallTrace t("CTav.eventGetEvtCatListId");
  const CEvent* event = getEvtPtr(evtId);
  return event != nullptr && event->getCatListId(index, id) && t.succeed();
}

bool CEventTree::eventGetEvtCatListRecNo(int evtId, int index, int* recNo) const {
  CallTrace t("CTav.eventGetEvtCatListRecNo");
  const CEvent* event = getEvtPtr(evtId);
  return event != nullptr && event->getCatListRecNo(index, recNo) && t.succeed();
}

bool CEventTree::eventGetEvtCatScpIds(int evtId, int catId, std::vector<int>* ids) const {
  CallTrace t("CTav.eventGetEvtCatScpIds");
  const CCategory* category = getEvtCatPtr(evtId, catId);
  return category != nullptr && category->getScpIds(ids) && t.succeed();
}

bool CEventTree::eventGetEvtCatScpNames(int evtId, int catId, std::vector<std::string>* shortNames,
                                        std::vector<std::string>* names) const {
  CallTrace t("CTav.eventGetEvtCatScpNames");
  const CCategory* category = getEvtCatPtr(evtId, catId);
  return category != nullptr && category->getScpNames(shortNames, names) && t.succeed();
}

bool CEventTree::eventGetEvtCatScpListId(int evtId, int catId, int index, int* id) const {
  CallTrace t("CTav.eventGetEvtCatScpListId");
  const CCategory* category = getEvtCatPtr(evtId, catId);
  return category != nullptr && category->getScpListId(index, id) && t.succeed();
}

bool CEventTree::eventGetEvtCatScpListRecNo(int evtId, int catId, int index, int* recNo) const {
  CallTrace t("CTav.eventGetEvtCatScpListRecNo");
  const CCategory* category = getEvtCatPtr(evtId, catId);
  return category != nullptr && category->getScpListRecNo(index, recNo) && t.succeed();
}

bool CEventTree::eventGetFieldData(int evtId, int catId, int parId, int scpId, int /*offIdx*/,
                                   std::vector<std::string>* fields,
                                   std::vector<std::string>* values) const {
  CallTrace t("CTav.eventGetFieldData");
  const CEvent* event = getEvtPtr(evtId);
  if (event == nullptr) return false;
  bool ok = false;
  if (catId < 1) {
    ok = event->getFieldData(fields, values);
  } else if (const CCategory* category = event->getCatPtr(catId); category == nullptr) {
    return false;
  } else if (parId >= 1) {
    const CParticipant* participant = category->getParPtr(parId);
    ok = participant != nullptr && participant->getFieldData(fields, values);
  } else if (scpId >= 1) {
    const CSegment* segment = category->getScpPtr(scpId);
    ok = segment != nullptr && segment->getFieldData(fields, values);
  } else {
    ok = category->getFieldData(fields, values);
  }
  return ok && t.succeed();
}

bool CEventTree::categoryIdInUse(int catId) const {
  for (const auto& [evtId, event] : evts_) {
    for (const auto& [key, category] : event->categories()) {
      if (key == catId || category->id() == catId) return true;
    }
  }
  return false;
}

bool CEventTree::eventSetFieldData(int evtId, int catId, int parId, int scpId, int /*offIdx*/,
                                   const std::vector<std::string>& fields,
                                   const std::vector<std::string>& values) {
  CallTrace t("CTav.eventSetFieldData");
  const CEvent* event = getEvtPtr(evtId);
  if (event == nullptr) return false;
  bool ok = false;
  if (catId < 1) {
    ok = event->setFieldData(fields, values);
  } else if (CCategory* category = event->getCatPtr(catId); category == nullptr) {
    return false;
  } else if (parId >= 1) {
    const CParticipant* participant = category->getParPtr(parId);
    ok = participant != nullptr && participant->setFieldData(fields, values);
  } else if (scpId >= 1) {
    const CSegment* segment = category->getScpPtr(scpId);
    ok = segment != nullptr && segment->setFieldData(fields, values);
  } else {
    ok = category->setFieldData(fields, values,
                                [this](int id) { return categoryIdInUse(id); });
  }
  return ok && t.succeed();
}

}  // namespace tav
