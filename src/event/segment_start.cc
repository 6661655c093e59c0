// Start order, warm-up groups, program time, dance, comments, venue, music
// and planned elements of a segment.
#include "base/failure_record.h"
#include "event/field_number.h"
#include "event/participant.h"
#include "event/segment.h"

namespace tav {
namespace {

std::vector<FieldSlot> family(const char* pattern, int first, int last) {
  std::vector<FieldSlot> fields;
  for (int i = first; i <= last; ++i) fields.emplace_back(numberedField(pattern, i));
  return fields;
}

std::vector<FieldSlot> gWarmupGroups = family("SCP_WUG00", 1, 25);
std::vector<FieldSlot> gComments = family("SCP_COM0", 1, 6);
FieldSlot gType("SCP_TYPE");
FieldSlot gTimeKind("SCP_OFPTIM");
FieldSlot gTime("SCP_OFPTLI");
FieldSlot gTime2("SCP_OFPT2H");
FieldSlot gDanceName("SCP_NAMD");
FieldSlot gDanceCode("SCP_DANCE");
FieldSlot gVenue("SCP_EXTDT");
FieldSlot gRule("SCP_WBG_ID");
FieldSlot gTimDate("TIM_DATE");
FieldSlot gTimBegin("TIM_BEGTIM");
FieldSlot gTimBegin2("TIM_BEGTI2");
FieldSlot gTimLaterGroup("TIM_LGSTWG");

std::string minutesSeconds(int seconds) {
  const int rest = seconds % 60;
  return std::to_string(seconds / 60) + ":" + (rest < 10 && rest > -10 ? "0" : "") +
         std::to_string(rest < 0 ? -rest : rest);
}

}  // namespace

bool CSegment::getWarmupGroups(std::vector<int>* sizes) const {
  CallTrace t("CSegment.getWarmupGroups");
  sizes->clear();
  for (FieldSlot& field : gWarmupGroups) {
    int size = 0;
    if (!record_.integer(field, &size)) return false;
    if (size > 0) sizes->push_back(size);
  }
  return t.succeed();
}

bool CSegment::getStartList(std::vector<int>* prfIds) const {
  CallTrace t("CSegment.getStartList");
  prfIds->clear();
  std::multimap<int, int> order;
  for (const auto& [id, performance] : prfs_) {
    int startNo = 0;
    if (!performance->getStartNo(&startNo)) return false;
    if (startNo > 0) order.emplace(startNo, id);
  }
  for (const auto& [startNo, id] : order) prfIds->push_back(id);
  return t.succeed();
}

bool CSegment::getParPrfStNum(int parId, int* startNo) const {
  CallTrace t("CSegment.getParPrfStNum");
  *startNo = 0;
  auto it = parPrf_.find(parId);
  if (it != parPrf_.end()) {
    auto performance = prfs_.find(it->second);
    if (performance != prfs_.end() && !performance->second->getStartNo(startNo)) return false;
  }
  return t.succeed();
}

bool CSegment::getStartOrder(const std::vector<int>& parIds, std::vector<int>* startNos) const {
  CallTrace t("CSegment.getStartOrder");
  startNos->clear();
  for (int parId : parIds) {
    int startNo = 0;
    if (!getParPrfStNum(parId, &startNo)) return false;
    startNos->push_back(startNo);
  }
  return t.succeed();
}

bool CSegment::getStartOrderMap(bool withWithdrawn, PerformanceMap* order) const {
  CallTrace t("CSegment.getStartOrderMap");
  order->clear();
  for (const auto& [id, performance] : prfs_) {
    bool skated = false;
    char parStatus = 0;
    int startNo = 0;
    if (!performance->hasSkated(&skated) || !performance->getParStatus(&parStatus) ||
        !performance->getStartNo(&startNo)) {
      return false;
    }
    if (skated || parStatus == 'A' || (withWithdrawn && parStatus == 'R')) {
      order->emplace(startNo, performance.get());
    }
  }
  return t.succeed();
}

bool CSegment::getNumSk(int* count) const {
  CallTrace t("CSegment.getNumSk");
  *count = 0;
  char group = 0;
  if (!getGroup(&group)) return false;
  for (const auto& [id, performance] : prfs_) {
    bool active = false;
    if (!performance->isActive(group, &active)) return false;
    if (active) ++*count;
  }
  return t.succeed();
}

bool CSegment::getTime(int rtnType, std::string* kind, std::string* time,
                       std::string* time2) const {
  CallTrace t("CSegment.getTime");
  char letter = 0;
  int seconds = 0;
  int seconds2 = 0;
  if (!record_.letter(gTimeKind, &letter) || !record_.integer(gTime, &seconds) ||
      !record_.integer(gTime2, &seconds2)) {
    return false;
  }
  struct KindRow {
    char letter;
    const char* texts[3];  // rtnType 0, 1, 2
  };
  static const KindRow kRows[] = {{'A', {"Approx", "A_", ""}},
                                  {'M', {"Max", "M_", "Max"}},
                                  {'T', {"+-10", "+-10_", "+-10 Sec."}}};
  static const KindRow kOther = {'?', {"???", "?_", "???"}};
  const KindRow* row = &kOther;
  for (const KindRow& r : kRows) {
    if (r.letter == letter) row = &r;
  }
  const int column = (rtnType == 1 || rtnType == 2) ? rtnType : 0;
  *kind = row->texts[column];
  *time = minutesSeconds(seconds);
  *time2 = minutesSeconds(seconds2);
  return t.succeed();
}

bool CSegment::getStartDateTime(std::string* date, std::string* begin, std::string* begin2,
                                int* laterGroup) const {
  CallTrace t("CSegment.getStartDateTime");
  if (record_.liveTable() == nullptr) return false;
  if (timRecNo_ < 0) return failWith("No TIM record for SCP_ID: " + idText_);
  const NodeRecord tim("TIM", static_cast<std::uint32_t>(timRecNo_));
  return tim.text(gTimDate, date) && tim.text(gTimBegin, begin) &&
         tim.text(gTimBegin2, begin2) && tim.integer(gTimLaterGroup, laterGroup) && t.succeed();
}

bool CSegment::getDanceName(std::string* name) const {
  CallTrace t("CSegment.getDanceName");
  char type = 0;
  name->clear();
  if (!record_.letter(gType, &type)) return false;
  if ((type == 'C' || type == 'D') && !record_.text(gDanceName, name)) return false;
  return t.succeed();
}

bool CSegment::getDanceCode(std::string* code) const {
  CallTrace t("CSegment.getDanceCode");
  char type = 0;
  code->clear();
  if (!record_.letter(gType, &type)) return false;
  if ((type == 'C' || type == 'D') && !record_.text(gDanceCode, code)) return false;
  return t.succeed();
}

bool CSegment::getComment(int selection, std::string* text) const {
  CallTrace t("CSegment.getComment");
  if (selection < 1 || selection > 6) {
    return failWith("Selection out of range: " + std::to_string(selection));
  }
  return record_.text(gComments[selection - 1], text) && t.succeed();
}

bool CSegment::getVenueIndex(int* index) const {
  CallTrace t("CSegment.getVenueIndex");
  return record_.integer(gVenue, index) && t.succeed();
}

bool CSegment::getVRuleId(int* id) const {
  CallTrace t("CSegment.getVRuleId");
  return record_.integer(gRule, id) && t.succeed();
}

bool CSegment::getMusic(int prfId, std::string* music) const {
  CallTrace t("CSegment.getMusic");
  music->clear();
  char type = 0;
  if (!record_.letter(gType, &type)) return false;
  const CPerformance* performance = getPrfPtr(prfId);
  if (performance == nullptr) return false;
  if (type == 'S' && !performance->getParSpMusic(music)) return false;
  if (type == 'F' && !performance->getParFsMusic(music)) return false;
  return t.succeed();
}

bool CSegment::getPelData(int prfId, int flag, std::vector<std::string>* codes,
                          std::vector<std::string>* second) const {
  CallTrace t("CSegment.getPelData");
  char type = 0;
  if (!record_.letter(gType, &type)) return false;
  const CPerformance* performance = getPrfPtr(prfId);
  if (performance == nullptr) return false;
  int list = 0;
  if (type == 'C' || type == 'D') list = -1;
  if (type == 'S' || type == 'O') list = 1;
  if (type == 'F') list = 2;
  return performance->getPelData(list, flag, codes, second) && t.succeed();
}

}  // namespace tav
