// The figures of the judges' deviation report for one segment
// (CSegment.deviation): for every placed skater the executed elements with
// the panel's sorted grades, the median grade and the grades that lie at
// least the threshold away from it, and per judge the number of such
// grades.
//
// Grades of execution arrive per judge position as marks, the grade plus 4
// (9: the position gave no grade).  Medians are kept as the median times 10,
// which is exact: the median of whole grades is a whole or a half grade.
#ifndef TAVC_REPORT_DEVIATION_SEGMENT_H_
#define TAVC_REPORT_DEVIATION_SEGMENT_H_

#include <array>
#include <map>
#include <string>
#include <vector>

#include "event/performance.h"

namespace tav {

class CSegment;

constexpr int kNoGradeMark = 9;

// The judge identifiers (PCT_ID) of the ten mark positions of a segment's
// panel, empty positions kept as 0, so that position k always reads mark k.
using JudgePositions = std::array<int, kJudgeCount>;

// One executed element.
struct ElementDeviation {
  std::string code;    // the element as called (PRF_XNAEee)
  std::string allGoe;  // the sorted grades, each after one blank: " -1 0 0 1"
  long long median10 = 0;  // the median grade times 10 (0 without grades)
  int numDev = 0;      // deviating grades
  // Per mark position: the mark when it deviates, else kNoGradeMark.
  std::array<int, kJudgeCount> deviating{};
};

// One placed skater of the segment, with the deviations per mark position.
struct SkaterDeviation {
  std::string name;
  std::vector<ElementDeviation> elements;
  int numDev = 0;
  std::array<int, kJudgeCount> positionCounts{};
};

// The figures of one segment.
struct SegmentDeviation {
  int scpId = 0;
  std::string name;
  JudgePositions judges{};
  std::vector<SkaterDeviation> skaters;  // by place or by start number
  int numDev = 0;
  std::array<int, kJudgeCount> positionCounts{};
  // Deviations per judge (PCT_ID), for the judges that deviated at least once.
  std::map<int, int> judgeCounts;
};

// The median of `marks` (no-grade marks left out) times 10, and the sorted
// grades as AllGoe text.  Even counts average the two middle grades.
// Grades are computed in 64 bits: a damaged table may hold any integer in a
// mark field.
long long medianTimesTen(const std::array<int, kJudgeCount>& marks, std::string* allGoe);

// A grade deviates when it is at least `threshold` whole steps above or
// below the median (both in tenths here, so the test is exact).
bool gradeDeviates(long long grade, long long median10, int threshold);

// The figures of one element; positions whose judge identifier is 0 or less
// never deviate.
ElementDeviation elementDeviation(const ElementDetail& element, const JudgePositions& judges,
                                  int threshold);

// CSegment.deviation: the figures of `segment`.  Skaters are the performances
// active for the segment's group with a place of 1 or more, ordered by place
// (`sortByPlace`) or by start number; equal keys keep PRF_ID order.
bool segmentDeviation(const CSegment& segment, char categoryType, int threshold,
                      bool sortByPlace, SegmentDeviation* result);

}  // namespace tav

#endif  // TAVC_REPORT_DEVIATION_SEGMENT_H_
