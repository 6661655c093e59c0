#include "report/score_sheet.h"

#include <algorithm>

#include "base/failure_record.h"
#include "event/field_number.h"

namespace tav {
namespace {

constexpr int kNoComponentMark = -9;  // a judge's slot without a mark

}  // namespace

long long roundedDivision(long long value, long long divisor) {
  const long long half = divisor / 2;
  return value >= 0 ? (value + half) / divisor : -((-value + half) / divisor);
}

bool readSheetLayout(const CSegment& segment, SheetLayout* layout) {
  CallTrace trace("ScoreSheet.readSheetLayout");
  if (!segment.getNumJdg(&layout->judges) ||
      !segment.getValidCompIndexes(false, &layout->componentFactors) ||
      !segment.getCompNames(layout->componentFactors, &layout->componentNames,
                            &layout->componentShortNames) ||
      !segment.getValidDedIndexes(&layout->deductionFactors)) {
    return false;
  }
  layout->judges = std::min(layout->judges, kJudgeCount);
  return trace.succeed();
}

bool readScoreSheet(const CSegment& segment, const SheetLayout& layout,
                    const CPerformance& performance, ScoreSheet* sheet) {
  CallTrace trace("ScoreSheet.readScoreSheet");
  *sheet = ScoreSheet();
  if (!performance.getScoreSummaryInt(&sheet->summary) ||
      !performance.getElmScoreDetail(false, false, &sheet->elements)) {
    return false;
  }
  for (int c = 0; c < kComponentCount; ++c) {
    if (layout.componentFactors[c] == 0) continue;
    SheetComponent component;
    component.index = c;
    component.name = layout.componentNames[c];
    component.factor = layout.componentFactors[c];
    std::vector<std::string> texts;
    std::vector<int> marks;
    if (!performance.getCompScoreDetail(c, &texts) || !performance.getCompScoreDetailInt(c, &marks) ||
        !performance.getCompScoreSummaryInt(c, &component.panel, &component.factored)) {
      return false;
    }
    for (int j = 0; j < layout.judges; ++j) {
      component.marks.push_back(decimalInt(texts[j]) == kNoComponentMark ? std::nullopt
                                                                         : std::optional<int>(marks[j]));
    }
    sheet->components.push_back(component);
  }
  std::vector<std::string> names;
  if (!segment.getDedNames(layout.deductionFactors, &names)) return false;
  std::size_t named = 0;
  for (int d = 0; d < kDeductionCount; ++d) {
    if (layout.deductionFactors[d] == 0) continue;
    int value = 0;
    if (!performance.getDedScoreInt(d, &value)) return false;
    const int points = static_cast<int>(static_cast<long long>(value) * layout.deductionFactors[d] / 100);
    sheet->deductions.push_back({named < names.size() ? names[named] : std::string(), points});
    sheet->deductionTotal += points;
    ++named;
  }
  return trace.succeed();
}

}  // namespace tav
