#include "report/deviation_segment.h"

#include <algorithm>
#include <vector>

#include "base/failure_record.h"
#include "event/segment.h"

namespace tav {

namespace {

constexpr int kMarkOffset = 4;      // a mark is the grade plus 4
constexpr int kJudgeSlotMask = 1023;  // panel slots 1-10: the judges

// The skaters of the segment in report order.
bool reportOrder(const CSegment& segment, bool sortByPlace, PerformanceMap* order) {
  char group = 0;
  if (!segment.getGroup(&group)) return false;
  for (const auto& entry : segment.performances()) {
    const CPerformance& performance = *entry.second;
    bool active = false;
    int place = 0;
    int bonus = 0;
    if (!performance.isActive(group, &active)) return false;
    if (!active) continue;
    if (!performance.getPlaceBonus(&place, &bonus)) return false;
    if (place < 1) continue;  // not skated yet
    int key = place;
    if (!sortByPlace && !performance.getStartNo(&key)) return false;
    order->emplace(key, &performance);
  }
  return true;
}

// The judges of the ten mark positions.  The panel is read unfiltered (empty
// slots kept), so that the k-th identifier belongs to the k-th mark.
bool judgePositions(const CSegment& segment, char categoryType, JudgePositions* judges) {
  PanelList panel;
  if (!segment.getOffIds(categoryType, kJudgeSlotMask, 0, &panel)) return false;
  judges->fill(0);
  const std::size_t count = std::min<std::size_t>(panel.ids.size(), judges->size());
  for (std::size_t k = 0; k < count; ++k) (*judges)[k] = panel.ids[k];
  return true;
}

}  // namespace

long long medianTimesTen(const std::array<int, kJudgeCount>& marks, std::string* allGoe) {
  std::vector<long long> grades;
  for (int mark : marks) {
    if (mark != kNoGradeMark) grades.push_back(static_cast<long long>(mark) - kMarkOffset);
  }
  std::sort(grades.begin(), grades.end());
  allGoe->clear();
  for (long long grade : grades) allGoe->append(" " + std::to_string(grade));
  const std::size_t n = grades.size();
  if (n == 0) return 0;
  const std::size_t h = n / 2;
  if (n % 2 == 1) return grades[h] * 10;
  return (grades[h - 1] + grades[h]) * 5;
}

bool gradeDeviates(long long grade, long long median10, int threshold) {
  const long long g = grade * 10;
  const long long t = threshold * 10LL;
  return g >= median10 + t || g <= median10 - t;
}

ElementDeviation elementDeviation(const ElementDetail& element, const JudgePositions& judges,
                                  int threshold) {
  ElementDeviation result;
  result.code = element.name;
  result.median10 = medianTimesTen(element.grades, &result.allGoe);
  for (int k = 0; k < kJudgeCount; ++k) {
    const int mark = element.grades[k];
    const bool deviates = mark != kNoGradeMark && judges[k] > 0 &&
                          gradeDeviates(static_cast<long long>(mark) - kMarkOffset,
                                        result.median10, threshold);
    result.deviating[k] = deviates ? mark : kNoGradeMark;
    if (deviates) ++result.numDev;
  }
  return result;
}

bool segmentDeviation(const CSegment& segment, char categoryType, int threshold,
                      bool sortByPlace, SegmentDeviation* result) {
  CallTrace trace("CSegment.deviation");
  *result = SegmentDeviation();
  result->scpId = segment.id();
  if (!segment.getName(&result->name)) return false;
  PerformanceMap order;
  if (!reportOrder(segment, sortByPlace, &order)) return false;
  if (!judgePositions(segment, categoryType, &result->judges)) return false;
  // One record per skater holds its name, elements and counts together, so
  // the lists of a skater cannot disagree in length.
  for (const auto& entry : order) {
    const CPerformance& performance = *entry.second;
    SkaterDeviation skater;
    std::vector<ElementDetail> elements;
    if (!performance.getParName(std::string(), &skater.name)) return false;
    if (!performance.getElmScoreDetail(false, false, &elements)) return false;
    for (const ElementDetail& element : elements) {
      ElementDeviation figures = elementDeviation(element, result->judges, threshold);
      for (int k = 0; k < kJudgeCount; ++k) {
        if (figures.deviating[k] != kNoGradeMark) ++skater.positionCounts[k];
      }
      skater.numDev += figures.numDev;
      skater.elements.push_back(std::move(figures));
    }
    for (int k = 0; k < kJudgeCount; ++k) {
      result->positionCounts[k] += skater.positionCounts[k];
    }
    result->numDev += skater.numDev;
    result->skaters.push_back(std::move(skater));
  }
  for (int k = 0; k < kJudgeCount; ++k) {
    if (result->positionCounts[k] > 0) {
      result->judgeCounts[result->judges[k]] += result->positionCounts[k];
    }
  }
  return trace.succeed();
}

}  // namespace tav
