// The element families of the special achievement awards and the figures
// one performance contributes to them: per family the sum of the panel
// scores of its executed elements that belong to the family, and the list
// of elements that earned a grade of +2 or higher.
#ifndef TAVC_REPORT_SAA_FAMILIES_H_
#define TAVC_REPORT_SAA_FAMILIES_H_

#include <array>
#include <string>
#include <vector>

#include "event/performance.h"

namespace tav {

enum SaaFamily { kSpins, kTwistLifts, kDeathSpirals, kLifts, kTwizzles, kFamilyCount };
using FamilySet = std::array<bool, kFamilyCount>;

// The family of an element type letter (ELM_TYPE): O spins, N twist lifts,
// M death spirals, T lifts, A twizzles; -1 for any other letter.
int familyOfType(char typeLetter);

// The parts of an element code joined by "+", each trimmed of blanks and
// tabs ("CCoSp4 + FSSp3" gives CCoSp4 and FSSp3).
std::vector<std::string> elementParts(const std::string& code);

// The families of an element: those of any of its parts, each part looked
// up in the element register as the segment kind letter, "+" and the part.
// An element counts once per family however many of its parts belong to
// it.  An unknown part belongs to no family.
bool elementFamilies(char segmentKind, const std::string& code, FamilySet* families);

// What one performance contributes to the awards.
struct SaaFigures {
  std::array<long long, kFamilyCount> sums{};  // hundredths of a point
  std::string plusTwo;  // codes with a +2 or +3 and a panel score above 0, ", "
};

bool saaFigures(char segmentKind, const std::vector<ElementDetail>& elements,
                SaaFigures* figures);

}  // namespace tav

#endif  // TAVC_REPORT_SAA_FAMILIES_H_
