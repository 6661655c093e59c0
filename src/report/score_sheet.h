// ScoreSheet is everything a performance's protocol holds, read once from
// the event tree in hundredths of a point: the totals, each executed element,
// each used program component with every judge's mark, its panel mark and
// factored score, and each used deduction in points.  The JSON export and
// the score audit read performances through it, so both see the same
// figures the judges' details page shows.
#ifndef TAVC_REPORT_SCORE_SHEET_H_
#define TAVC_REPORT_SCORE_SHEET_H_

#include <optional>
#include <string>
#include <vector>

#include "event/performance.h"
#include "event/segment.h"

namespace tav {

// What a segment's record says about every protocol of the segment.
struct SheetLayout {
  int judges = 0;  // judges' slots of the panel in use (at most ten marks)
  ComponentFactors componentFactors{};
  std::vector<std::string> componentNames, componentShortNames;  // by index 0-9
  DeductionFactors deductionFactors{};
};

struct SheetComponent {
  int index = 0;  // 0-9
  std::string name;
  int factor = 0;  // hundredths
  std::vector<std::optional<int>> marks;  // one per judge of the panel; none: no mark
  int panel = 0, factored = 0;
};

struct SheetDeduction {
  std::string name;
  int points = 0;  // value times the deduction's factor, hundredths
};

struct ScoreSheet {
  ScoreSummary summary;  // start number, place, bonus, segment, element and component totals
  std::vector<ElementDetail> elements;
  std::vector<SheetComponent> components;
  std::vector<SheetDeduction> deductions;  // every deduction the segment uses
  int deductionTotal = 0;
};

bool readSheetLayout(const CSegment& segment, SheetLayout* layout);
bool readScoreSheet(const CSegment& segment, const SheetLayout& layout,
                    const CPerformance& performance, ScoreSheet* sheet);

// value / divisor rounded half away from zero (half up for scores).
long long roundedDivision(long long value, long long divisor);

}  // namespace tav

#endif  // TAVC_REPORT_SCORE_SHEET_H_
