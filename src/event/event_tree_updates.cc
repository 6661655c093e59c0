// Bulk updates that carry a change of the register or of a category setting
// into the event tables.
#include <unordered_set>

#include "base/failure_record.h"
#include "event/event_tree.h"
#include "event/field_number.h"
#include "session/tav.h"

namespace tav {
namespace {

// Writes "<HANDLE>_NAT=code" into every active record of a panel table whose
// SCP_ID is one of `segments` and whose PCT_ID is pctId (any when pctId is
// 0 or less): one pass over the table for all segments.
bool updatePanelTable(const char* handle, const std::unordered_set<int>& segments, int pctId,
                      const std::string& code) {
  CDbf* table = session().handles().getDbfHandlePtr(handle);
  if (table == nullptr) return false;
  FieldSlot scpId("SCP_ID");
  FieldSlot pct("PCT_ID");
  const std::string assignment = std::string(handle) + "_NAT=" + code;
  const std::size_t count = table->numScannable();
  for (std::size_t recNo = 0; recNo < count; ++recNo) {
    if (!table->isActive(recNo)) continue;
    if (segments.count(decimalInt(fieldOrEmpty(*table, recNo, scpId))) == 0) continue;
    if (pctId > 0 && decimalInt(fieldOrEmpty(*table, recNo, pct)) != pctId) continue;
    if (!table->updateRec(static_cast<int>(recNo), {assignment})) return false;
  }
  return true;
}

}  // namespace

bool CEventTree::eventEvtUpdateNatCodes(int evtId, int pctId, const std::string& code) const {
  CallTrace t("CTav.eventEvtUpdateNatCodes");
  std::unordered_set<int> segments;
  for (const auto& [id, event] : evts_) {
    if (evtId != 0 && id != evtId) continue;
    if (!event->updateNatCodes(pctId, code)) return false;
    for (const auto& [catId, category] : event->categories()) {
      for (const auto& [scpId, segment] : category->segments()) segments.insert(scpId);
    }
  }
  if (!segments.empty() && (!updatePanelTable("PJS", segments, pctId, code) ||
                            !updatePanelTable("JPS", segments, pctId, code))) {
    return false;
  }
  return t.succeed();
}

bool CEventTree::eventEvtUpdateClubIds(int pctId, int clubId, int partnerClubId) const {
  CallTrace t("CTav.eventEvtUpdateClubIds");
  for (const auto& [id, event] : evts_) {
    if (!event->updateClubIds(pctId, clubId, partnerClubId)) return false;
  }
  return t.succeed();
}

bool CEventTree::eventEvtUpdateDpp(int evtId, int catId, const std::string& value) const {
  CallTrace t("CTav.eventEvtUpdateDpp");
  for (const auto& [id, event] : evts_) {
    if ((evtId == 0 || id == evtId) && !event->updateDpp(catId, value)) return false;
  }
  return t.succeed();
}

}  // namespace tav
