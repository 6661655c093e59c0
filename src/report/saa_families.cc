#include "report/saa_families.h"

#include <algorithm>

#include "basic/basic.h"

namespace tav {

namespace {

constexpr int kPlusTwoMark = 6;    // grade +2 stored as 2 + 4
constexpr int kPlusThreeMark = 7;  // grade +3

bool hasPlusTwo(const ElementDetail& element) {
  return std::any_of(element.grades.begin(), element.grades.end(),
                     [](int mark) { return mark == kPlusTwoMark || mark == kPlusThreeMark; });
}

}  // namespace

int familyOfType(char typeLetter) {
  switch (typeLetter) {
    case 'O': return kSpins;
    case 'N': return kTwistLifts;
    case 'M': return kDeathSpirals;
    case 'T': return kLifts;
    case 'A': return kTwizzles;
    default: return -1;
  }
}

std::vector<std::string> elementParts(const std::string& code) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t plus = code.find('+', start);
    std::string part = code.substr(start, plus == std::string::npos ? std::string::npos
                                                                    : plus - start);
    const std::size_t first = part.find_first_not_of(" \t");
    const std::size_t last = part.find_last_not_of(" \t");
    parts.push_back(first == std::string::npos ? std::string()
                                               : part.substr(first, last - first + 1));
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  return parts;
}

bool elementFamilies(char segmentKind, const std::string& code, FamilySet* families) {
  families->fill(false);
  for (const std::string& part : elementParts(code)) {
    // The register leaves the type as it was for an unknown key: start each
    // lookup empty, or the part would inherit the family of the one before.
    std::string type;
    std::string nameWl;
    if (!basic().getElmNameType(std::string(1, segmentKind) + "+" + part, &type, &nameWl)) {
      return false;
    }
    const int family = type.empty() ? -1 : familyOfType(type[0]);
    if (family >= 0) (*families)[family] = true;
  }
  return true;
}

bool saaFigures(char segmentKind, const std::vector<ElementDetail>& elements,
                SaaFigures* figures) {
  *figures = SaaFigures();
  for (const ElementDetail& element : elements) {
    FamilySet families;
    if (!elementFamilies(segmentKind, element.name, &families)) return false;
    for (int f = 0; f < kFamilyCount; ++f) {
      if (families[f]) figures->sums[f] += element.panelPoints;
    }
    if (element.panelPoints > 0 && hasPlusTwo(element)) {
      if (!figures->plusTwo.empty()) figures->plusTwo += ", ";
      figures->plusTwo += element.name;
    }
  }
  return true;
}

}  // namespace tav
