// Status, stage, results in order, result title and page name of a category.
#include "base/failure_record.h"
#include "event/category.h"

namespace tav {
namespace {

// Key of an entry with a status letter: the highest points first.
constexpr int kWithStatusBase = 200000;

}  // namespace

bool CCategory::getStatus(int* finished, std::string* marker, int* segments) const {
  CallTrace t("CCategory.getStatus");
  *segments = static_cast<int>(scps_.size());
  *finished = 0;
  *marker = "  ";
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const CSegment* segment = segmentInSlot(slot);
    if (segment == nullptr) continue;
    char group = 0;
    if (!segment->getGroup(&group)) return false;
    int in = 0;
    int skated = 0;
    for (const auto& [parId, participant] : pars_) {
      bool isIn = false;
      bool hasSkated = false;
      if (!participant->inSegment(slot, group, &isIn)) return false;
      if (!isIn) continue;
      ++in;
      if (!participant->hasSkated(slot, &hasSkated)) return false;
      if (hasSkated) ++skated;
    }
    if (in > 0 && skated == in) {
      ++*finished;
    } else if (skated > 0) {
      *marker = "+";
    }
  }
  return t.succeed();
}

bool CCategory::hasStarted(bool* started) const {
  CallTrace t("CCategory.hasStarted");
  int finished = 0;
  int segments = 0;
  std::string marker;
  if (!getStatus(&finished, &marker, &segments)) return false;
  *started = finished >= 1 || marker == "+";
  return t.succeed();
}

bool CCategory::isFinished(bool* isDone) const {
  CallTrace t("CCategory.isFinished");
  int finished = 0;
  int segments = 0;
  std::string marker;
  if (!getStatus(&finished, &marker, &segments)) return false;
  *isDone = finished >= 1 && finished == segments;
  return t.succeed();
}

bool CCategory::calcStage() {
  CallTrace t("CCategory.calcStage");
  int stage = pars_.empty() ? 0 : 1;
  int n = 0;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const CSegment* segment = segmentInSlot(slot);
    if (segment == nullptr) continue;
    ++n;
    // The segment's stage, computed when it was built, says whether it has
    // started (2) and whether it is finished (3).
    if (segment->stage() >= 2) stage = 2 * n;
    if (segment->stage() == 3) stage = 2 * n + 1;
  }
  if (stage % 2 == 1 && stage >= 3 && stage == 2 * n + 1) stage = 14;
  stage_ = stage;
  return t.succeed();
}

bool CCategory::pointPlaceFor(const CParticipant& participant, int slot, int* points,
                              int* place) const {
  if (slot == getFirstSeg()) return participant.getSegPointPlace(slot, points, place);
  if (slot == getLastSeg()) return participant.getTotalPointPlace(points, place);
  return participant.getSegPointIPlace(slot, points, place);
}

bool CCategory::sortResults(int slot, CategoryResults* results) const {
  CallTrace t("CCategory.sortResults");
  *results = CategoryResults();
  int lastStarted = -1;
  for (int s = 0; s < kSlotCount; ++s) {
    const CSegment* segment = segmentInSlot(s);
    if (segment == nullptr) continue;
    std::string shortName;
    bool started = false;
    if (!segment->getSName(&shortName) || !segment->hasStarted(&started)) return false;
    results->shortNames.push_back(shortName);
    if (started) lastStarted = s;
  }
  const bool explicitSlot = slot != -1;
  if (!explicitSlot) {
    if (lastStarted < 0) return t.succeed();
    slot = lastStarted;
  }
  const CSegment* segment = segmentInSlot(slot);
  if (segment == nullptr) return failWith("Invalid segment: " + std::to_string(slot));
  results->slot = slot;
  for (const auto& [parId, participant] : pars_) {
    const CParticipant* p = participant.get();
    char status = 0;
    bool skated = false;
    if (!p->getStatus(&status) || !p->hasSkated(slot, &skated)) return false;
    int points = 0;
    int place = 0;
    if (status == 'A' || (explicitSlot && skated)) {
      if (skated) {
        if (!pointPlaceFor(*p, slot, &points, &place)) return false;
        results->placed.emplace(place, p);
      } else {
        int startNo = 0;
        if (!segment->getParPrfStNum(parId, &startNo)) return false;
        results->toSkate.emplace(startNo, p);
      }
      continue;
    }
    std::string html;
    if (!p->getHtmlStatus(false, &html)) return false;
    if (html == " " || html.empty()) continue;
    if (!pointPlaceFor(*p, slot, &points, &place)) return false;
    results->withStatus.emplace(kWithStatusBase - points, p);
  }
  if (results->toSkate.size() > 1 && !segment->getName(&results->toSkateSegName)) return false;
  return t.succeed();
}

bool CCategory::getResultTitle(int liveScpId, std::string* title, bool* isLive) const {
  CallTrace t("CCategory.getResultTitle");
  *isLive = false;
  title->clear();
  int lastStarted = -1;
  int lastFinished = -1;
  int inProgress = -1;
  bool several = false;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const CSegment* segment = segmentInSlot(slot);
    if (segment == nullptr) continue;
    if (segment->id() == liveScpId) {
      *title = "Live Unofficial Results";
      *isLive = true;
      return t.succeed();
    }
    bool started = false;
    bool finished = false;
    if (!segment->hasStarted(&started) || !segment->isFinished(&finished)) return false;
    if (started) lastStarted = slot;
    if (finished) lastFinished = slot;
    if (started && !finished) {
      if (inProgress >= 0) several = true;
      inProgress = slot;
    }
  }
  if (lastStarted < 0) {
    std::string name;
    if (!getName(&name)) return false;
    setErrStr(false, "Inconsistant cat/seg status. Unable to create result title: " + name,
              false, true);
    return false;
  }
  bool done = false;
  if (!isFinished(&done)) return false;
  std::string segmentName;
  if (done) {
    *title = "Final Results";
  } else if (several) {
    *title = "Intermediate Results";
  } else if (lastStarted == lastFinished) {
    if (!segmentInSlot(lastFinished)->getHtmlName(false, &segmentName)) return false;
    *title = "Results after " + segmentName;
  } else {
    if (!segmentInSlot(lastStarted)->getHtmlName(false, &segmentName)) return false;
    *title = "Results during " + segmentName;
  }
  return t.succeed();
}

bool CCategory::getOutFileBaseName(char prefix, std::string* name) const {
  CallTrace t("CCategory.getOutFileBaseName");
  *name = outFileName("CAT000", idText_);
  if (prefix != ' ' && prefix != 0) *name = std::string(1, prefix) + "-" + *name;
  return t.succeed();
}

}  // namespace tav
