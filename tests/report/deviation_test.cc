// The judges' deviation figures of one element and the CSV field rule.
#include <gtest/gtest.h>

#include "report/deviation_report.h"
#include "report/deviation_segment.h"

namespace tav {
namespace {

// Marks of ten positions from grades; 'n' stands for "no grade" (9).
std::array<int, kJudgeCount> marks(const std::string& grades) {
  std::array<int, kJudgeCount> result;
  result.fill(kNoGradeMark);
  int k = 0;
  for (std::size_t i = 0; i < grades.size() && k < kJudgeCount; ++i) {
    if (grades[i] == ' ') continue;
    if (grades[i] == 'n') {
      ++k;
      continue;
    }
    const bool negative = grades[i] == '-';
    if (negative) ++i;
    result[k++] = (negative ? -(grades[i] - '0') : grades[i] - '0') + 4;
  }
  return result;
}

TEST(DeviationTest, ElementFigures) {
  const JudgePositions nine = {11, 12, 13, 14, 15, 16, 17, 18, 19, 0};
  const JudgePositions gap = {11, 0, 13, 14, 0, 0, 0, 0, 0, 0};
  struct Case {
    const char* what;
    std::string grades;
    JudgePositions judges;
    int threshold;
    std::string allGoe;
    int median10;
    int numDev;
    std::string deviating;  // per position: the grade, or "." for none
  };
  const Case cases[] = {
      {"median 0.5, T 1: nothing deviates", "0 0 1 1", nine, 1, " 0 0 1 1", 5, 0,
       ".........."},
      {"median 0.5, T 0: every grade deviates", "0 0 1 1", nine, 0, " 0 0 1 1", 5, 4,
       "0011......"},
      {"odd count takes the middle grade", "2 -1 0 3 0", nine, 2, " -1 0 0 2 3", 0, 2,
       "2..3......"},
      {"a whole step away deviates with T 1", "1 1 1 0 2", nine, 1, " 0 1 1 1 2", 10, 2,
       "...02....."},
      {"negative half median", "-1 0 -1 0", nine, 1, " -1 -1 0 0", -5, 0, ".........."},
      {"no grades: median 0, no deviations", "", nine, 0, "", 0, 0, ".........."},
      {"a position without a judge never deviates", "3 3 0 0 0", gap, 1, " 0 0 0 3 3", 0, 1,
       "3........."},
      {"no-grade marks are left out of the median", "n 2 n 2 0", nine, 1, " 0 2 2", 20, 1,
       "....0....."},
  };
  for (const Case& c : cases) {
    ElementDetail element;
    element.name = "3Lz";
    element.grades = marks(c.grades);
    const ElementDeviation figures = elementDeviation(element, c.judges, c.threshold);
    std::string deviating;
    for (int mark : figures.deviating) {
      deviating += mark == kNoGradeMark ? "." : std::to_string(mark - 4);
    }
    EXPECT_EQ(figures.code, "3Lz") << c.what;
    EXPECT_EQ(figures.allGoe, c.allGoe) << c.what;
    EXPECT_EQ(figures.median10, c.median10) << c.what;
    EXPECT_EQ(figures.numDev, c.numDev) << c.what;
    EXPECT_EQ(deviating, c.deviating) << c.what;
  }
}

TEST(DeviationTest, CsvFields) {
  const std::pair<const char*, const char*> cases[] = {
      {"Anna SMITH", "Anna SMITH"},
      {"SMITH, Anna", "\"SMITH, Anna\""},
      {"Anna \"Nan\" SMITH", "\"Anna \"\"Nan\"\" SMITH\""},
      {"two\nlines", "\"two\nlines\""},
      {"carriage\rreturn", "\"carriage\rreturn\""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(csvField(c.first), c.second) << c.first;
}

}  // namespace
}  // namespace tav
