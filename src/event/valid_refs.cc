#include "event/valid_refs.h"

#include <cstdlib>

#include "base/app_calls.h"
#include "base/failure_record.h"
#include "basic/basic.h"
#include "event/event_tree.h"

namespace tav {
namespace {

// Every panel position, SCP_JID01 to SCP_JID22.
constexpr int kAllPanelSlots = (1 << kOfficialSlotCount) - 1;
// Function names as the panel lists give them for filled positions.
constexpr int kNamedOfficials = 1;

void warn(const std::string& line) { setErrStr(false, line, true, false); }

// A progress line; a failing call is recorded and the check goes on.
void progress(const std::string& text, bool fault = false) {
  if (fault) {
    callApp({"add_verif_msg", text, "E"});
  } else {
    callApp({"add_verif_msg", text});
  }
}

bool isValidClub(int id) {
  if (id <= 0) return true;
  std::string type;
  if (!basic().isValidPctId(id)) return false;
  CallTrace t("allValidIdRefs.clubType");
  const bool read = basic().getPctIdType(id, &type);
  t.succeed();
  return read && type == "CLU";
}

}  // namespace

bool allValidIdRefs(const CParticipant& participant) {
  CallTrace t("CParticipant.allValidIdRefs");
  int pctId = 0;
  int clubId = 0;
  int partnerClubId = 0;
  if (!participant.getPctId(&pctId) || !participant.getParClubIds(&clubId, &partnerClubId)) {
    return false;
  }
  if (!basic().isValidPctId(pctId)) {
    warn("ERROR: Participant contains invalid name ID");
    return t.succeed();
  }
  std::string name;
  if (!participant.getName("", &name)) return false;
  if (!isValidClub(clubId)) warn("ERROR: Participant: " + name + "  contains invalid club ID");
  if (!isValidClub(partnerClubId)) {
    warn("ERROR: Participant: " + name + "  contains invalid partner club ID");
  }
  return t.succeed();
}

bool allValidIdRefs(const CSegment& segment, char categoryType) {
  CallTrace t("CSegment.allValidIdRefs");
  PanelList panel;
  if (!segment.getOffIds(categoryType, kAllPanelSlots, kNamedOfficials, &panel)) return false;
  for (std::size_t i = 0; i < panel.ids.size(); ++i) {
    if (!basic().isValidPctId(panel.ids[i])) {
      warn("ERROR: Segment contains invalid " + panel.functionNames[i] + " ID");
    }
  }
  int rule = 0;
  if (!segment.getVRuleId(&rule)) return false;
  if (rule > 2 && !basic().isValidWbgId(rule)) {
    warn("ERROR: Segment contains invalid verification rule ID");
  }
  return t.succeed();
}

bool allValidIdRefs(const CCategory& category) {
  CallTrace t("CCategory.allValidIdRefs");
  for (const auto& entry : category.participants()) {
    if (!allValidIdRefs(*entry.second)) return false;
  }
  for (int scpId : category.slots()) {
    if (scpId == 0 || category.segments().count(std::abs(scpId)) != 0) continue;
    progress("      Missing segment for ID: " + std::to_string(std::abs(scpId)), true);
  }
  for (const auto& entry : category.segments()) {
    std::string name;
    if (!entry.second->getName(&name)) return false;
    progress("      Verifying segment: " + name);
    if (!allValidIdRefs(*entry.second, category.getType())) return false;
  }
  return t.succeed();
}

bool allValidIdRefs(const CEvent& event) {
  CallTrace t("CEvent.allValidIdRefs");
  for (const auto& entry : event.categories()) {
    std::string name;
    if (!entry.second->getName(&name)) return false;
    progress("    Verifying category: " + name);
    if (!allValidIdRefs(*entry.second)) return false;
  }
  return t.succeed();
}

bool eventsAllValidIdRefs() {
  CallTrace t("CEventTree.allValidIdRefs");
  // Both structures are needed: participants and panels are checked against
  // the register.
  if (!basic().isPopulated() && !basic().populate(0, -1)) return false;
  if (events().eventMap().empty() && !events().eventPopulate()) return false;
  for (const auto& entry : events().eventMap()) {
    std::string name;
    if (!entry.second->getName(&name)) return false;
    progress("  Verifying event: " + name);
    if (!allValidIdRefs(*entry.second)) return false;
  }
  return t.succeed();
}

}  // namespace tav
