// Element codes split into their parts, and type letters mapped to the
// award families.
#include <gtest/gtest.h>

#include "report/saa.h"
#include "report/saa_families.h"

namespace tav {
namespace {

TEST(SaaFamiliesTest, ElementParts) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"3Lz", {"3Lz"}},
      {"3Lz+3T+2Lo", {"3Lz", "3T", "2Lo"}},
      {" FCSp4 +\tCCoSp4\t", {"FCSp4", "CCoSp4"}},
      {"3A+", {"3A", ""}},
      {"", {""}},
  };
  for (const auto& c : cases) EXPECT_EQ(elementParts(c.first), c.second) << c.first;
}

TEST(SaaFamiliesTest, FamilyOfTypeLetter) {
  const std::pair<char, int> cases[] = {{'O', kSpins}, {'N', kTwistLifts}, {'M', kDeathSpirals},
                                        {'T', kLifts}, {'A', kTwizzles},   {'J', -1},
                                        {'o', -1},     {' ', -1}};
  for (const auto& c : cases) EXPECT_EQ(familyOfType(c.first), c.second) << c.first;
}

TEST(SaaFamiliesTest, FileNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"Senior Men Short Program", "SAA_Senior Men Short Program.html"},
      {"Men/Boys Free", "SAA_Men_Boys Free.html"},
      {"..\\..\\x", "SAA_.._.._x.html"},
      {"tab\there", "SAA_tab_here.html"},
      // Database text is Windows-1252; file names are UTF-8.
      {"Messieurs \xc9lite", "SAA_Messieurs \xc3\x89lite.html"},
      {"\x80 Cup", "SAA_\xe2\x82\xac Cup.html"},
  };
  for (const auto& c : cases) EXPECT_EQ(saaFileName(c.first), c.second) << c.first;
  EXPECT_EQ(saaFileName(std::string("a\0b", 3)), "SAA_a_b.html");
}

}  // namespace
}  // namespace tav
