// Status, stage, results in order and page names of a segment.
#include "base/failure_record.h"
#include "event/segment.h"

namespace tav {
namespace {

FieldSlot gType("SCP_TYPE");
FieldSlot gGroup("SCP_GROUP");
FieldSlot gShortName("SCP_SNAM");
FieldSlot gName("SCP_NAME");
FieldSlot gTvName("SCP_TVNAME");

}  // namespace

bool CSegment::getType(char* letter) const {
  CallTrace t("CSegment.getType");
  return record_.letter(gType, letter) && t.succeed();
}

bool CSegment::getGroup(char* letter) const {
  CallTrace t("CSegment.getGroup");
  return record_.letter(gGroup, letter) && t.succeed();
}

bool CSegment::getSName(std::string* name) const {
  CallTrace t("CSegment.getSName");
  return record_.text(gShortName, name) && t.succeed();
}

bool CSegment::getName(std::string* name) const {
  CallTrace t("CSegment.getName");
  return record_.text(gName, name) && t.succeed();
}

bool CSegment::getTvName(std::string* name) const {
  CallTrace t("CSegment.getTvName");
  return record_.text(gTvName, name) && t.succeed();
}

bool CSegment::hasStartOrder(bool* has) const {
  CallTrace t("CSegment.hasStartOrder");
  *has = false;
  for (const auto& [id, performance] : prfs_) {
    int startNo = 0;
    if (!performance->getStartNo(&startNo)) return false;
    if (startNo > 0) {
      *has = true;
      break;
    }
  }
  return t.succeed();
}

bool CSegment::hasStarted(bool* started) const {
  CallTrace t("CSegment.hasStarted");
  *started = false;
  for (const auto& [id, performance] : prfs_) {
    if (!performance->hasSkated(started)) return false;
    if (*started) break;
  }
  return t.succeed();
}

bool CSegment::isFinished(bool* finished) const {
  CallTrace t("CSegment.isFinished");
  char group = 0;
  if (!getGroup(&group)) return false;
  bool anySkated = false;
  bool anyToSkate = false;
  for (const auto& [id, performance] : prfs_) {
    bool active = false;
    bool skated = false;
    if (!performance->isActive(group, &active) || !performance->hasSkated(&skated)) return false;
    if (active && skated) anySkated = true;
    if (active && !skated) anyToSkate = true;
  }
  *finished = anySkated && !anyToSkate;
  return t.succeed();
}

// One pass over the performances answers all three questions of the stage:
// a start order, started, finished (the same tests as hasStartOrder,
// hasStarted and isFinished).
bool CSegment::calcStage() {
  CallTrace t("CSegment.calcStage");
  char group = 0;
  if (!getGroup(&group)) return false;
  bool has = false;
  bool started = false;
  bool anyActiveSkated = false;
  bool anyActiveToSkate = false;
  for (const auto& [id, performance] : prfs_) {
    int startNo = 0;
    bool skated = false;
    bool active = false;
    if (!performance->getStartNo(&startNo) || !performance->hasSkated(&skated) ||
        !performance->isActive(group, &active)) {
      return false;
    }
    has = has || startNo > 0;
    started = started || skated;
    if (active && skated) anyActiveSkated = true;
    if (active && !skated) anyActiveToSkate = true;
  }
  stage_ = 0;
  if (has) stage_ = 1;
  if (started) stage_ = 2;
  if (anyActiveSkated && !anyActiveToSkate) stage_ = 3;
  return t.succeed();
}

bool CSegment::sortResults(SegmentResults* results) const {
  CallTrace t("CSegment.sortResults");
  *results = SegmentResults();
  char group = 0;
  if (!getGroup(&group)) return false;
  for (const auto& [id, performance] : prfs_) {
    const CPerformance* p = performance.get();
    bool active = false;
    if (!p->isActive(group, &active)) return false;
    if (active) {
      int place = 0;
      int bonus = 0;
      if (!p->getPlaceBonus(&place, &bonus)) return false;
      if (place > 0) {
        results->placed.emplace(place, p);
        if (bonus >= 1) results->bonus = true;
      } else {
        int startNo = 0;
        if (!p->getStartNo(&startNo)) return false;
        results->toSkate.emplace(startNo, p);
      }
      continue;
    }
    std::string status;
    if (!p->getHtmlStatus(group, false, &status)) return false;
    if (status != " " && !status.empty()) results->withStatus.emplace(0, p);
  }
  return t.succeed();
}

bool CSegment::getHtmlName(bool useTvName, std::string* name) const {
  CallTrace t("CSegment.getHtmlName");
  char type = 0;
  std::string shortName;
  if (!(useTvName ? getTvName(name) : getName(name)) || !getType(&type) ||
      !getSName(&shortName)) {
    return false;
  }
  if (type == 'C' || type == 'D') {
    std::string dance;
    if (!getDanceName(&dance)) return false;
    *name = shortName + ": " + dance;
  }
  if (name->empty()) *name = shortName;
  if (name->empty()) *name = "No Name";
  return t.succeed();
}

bool CSegment::getOutFileBaseName(int kind, char prefix, std::string* name) const {
  CallTrace t("CSegment.getOutFileBaseName");
  const char* pattern = kind == 1 ? "SEGM000" : kind == -1 ? "SEGSO000" : "SEG000";
  *name = outFileName(pattern, idText_);
  if (prefix >= 'A' && prefix <= 'Z') *name = std::string(1, prefix) + "-" + *name;
  return t.succeed();
}

}  // namespace tav
