// Combining standings rows: ties marked in a result order, combining by row
// and by person, persons required in every category, shared places
// (1, 2, 2, 4) and the points text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event/standings_combine.h"

namespace tav {
namespace {

StandingsRow row(int pctId, const std::string& name, int points) {
  StandingsRow r;
  r.pctId = pctId;
  r.name1 = name;
  r.points = points;
  return r;
}

// "place name points [Tie]" per row.
std::string render(const std::vector<CombinedRow>& rows) {
  std::string text;
  for (const CombinedRow& r : rows) {
    text += std::to_string(r.place) + " " + r.row.name1 + " " + pointsText(r.row.points) +
            (r.tie ? " Tie" : "") + "\n";
  }
  return text;
}

TEST(StandingsCombineTest, MarkTiesOnBothRows) {
  std::vector<bool> ties;
  markTies({1, 2, 2, 4, 5, 5, 5}, &ties);
  EXPECT_EQ(ties, (std::vector<bool>{false, true, true, false, true, true, true}));
  markTies({}, &ties);
  EXPECT_TRUE(ties.empty());
}

TEST(StandingsCombineTest, CombineByRowByPersonAndOnlyAllInCategories) {
  const std::vector<CategoryRows> categories = {
      {11, {row(1, "Anna", 15000), row(2, "Berit", 12000), row(3, "Carla", 9000)}},
      {12, {row(4, "Dana", 14000), row(1, "Anna", 5000), row(5, "Eva", 14000)}},
  };
  EXPECT_EQ(render(combineStandings(categories, {false, false})),
            "1 Anna 150.00\n"
            "2 Dana 140.00 Tie\n"
            "2 Eva 140.00 Tie\n"
            "4 Berit 120.00\n"
            "5 Carla 90.00\n"
            "6 Anna 50.00\n");
  // By person: Anna's two totals are summed; order of first appearance
  // decides among equal points (Dana before Eva).
  EXPECT_EQ(render(combineStandings(categories, {true, false})),
            "1 Anna 200.00\n"
            "2 Dana 140.00 Tie\n"
            "2 Eva 140.00 Tie\n"
            "4 Berit 120.00\n"
            "5 Carla 90.00\n");
  EXPECT_EQ(render(combineStandings(categories, {true, true})), "1 Anna 200.00\n");
  // A person's second row in the same category is not counted again.
  const std::vector<CategoryRows> twice = {{11, {row(1, "Anna", 100), row(1, "Anna", 100)}},
                                           {12, {row(1, "Anna", 50)}}};
  EXPECT_EQ(render(combineStandings(twice, {true, true})), "1 Anna 1.50\n");
}

TEST(StandingsCombineTest, PlacesSkipAfterEveryRun) {
  std::vector<CombinedRow> rows;
  for (int points : {15000, 14000, 14000, 12000, 12000, 12000, 11000, 0, 0}) {
    rows.push_back({row(0, "x", points), 0, false});
  }
  placeByPoints(&rows);
  std::vector<int> places;
  std::vector<bool> ties;
  for (const CombinedRow& r : rows) {
    places.push_back(r.place);
    ties.push_back(r.tie);
  }
  EXPECT_EQ(places, (std::vector<int>{1, 2, 2, 4, 4, 4, 7, 8, 8}));
  EXPECT_EQ(ties, (std::vector<bool>{false, true, true, true, true, true, false, true, true}));
}

TEST(StandingsCombineTest, PointsText) {
  const std::pair<int, const char*> cases[] = {
      {12345, "123.45"}, {0, "0.00"}, {5, "0.05"}, {-5, "-0.05"}, {-12345, "-123.45"},
      {2147483647, "21474836.47"}, {-2147483647 - 1, "-21474836.48"}};
  for (const auto& [hundredths, text] : cases) EXPECT_EQ(pointsText(hundredths), text);
}

}  // namespace
}  // namespace tav
