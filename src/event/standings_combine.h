// Standings rows of categories and their combination into one ranking.
//
// A row is one listed participant of a category, with its names, clubs,
// nation, total points, place text and segment places.  Rows of several
// categories of the same level, gender and type can be combined into one
// list ordered by total points, either row by row or merged by person
// (PCT_ID), and placed so that equal points share a place and the next place
// skips (1, 2, 2, 4).  This is the computation alone; standings.h gathers the
// rows from the event tree.
#ifndef TAVC_EVENT_STANDINGS_COMBINE_H_
#define TAVC_EVENT_STANDINGS_COMBINE_H_

#include <string>
#include <vector>

namespace tav {

struct StandingsRow {
  int pctId = 0;
  std::string name1, name2;  // second name line empty for single skaters
  std::string club1, club2;
  std::string nation;
  int points = 0;            // hundredths of a point; 0 when not placed
  std::string place;         // PAR_TPLACE, "0" still to skate, or a status letter
  std::vector<int> segmentPlaces;  // PAR_PLACE of each existing segment
  bool tie = false;
};

// The rows of one category.
struct CategoryRows {
  int catId = 0;
  std::vector<StandingsRow> rows;
};

struct CombinedRow {
  StandingsRow row;  // the first row of the person when merged by person
  int place = 0;
  bool tie = false;
};

struct CombineOptions {
  bool byPerson = false;            // merge rows of the same PCT_ID
  bool onlyAllInCategories = false; // with byPerson: keep persons placed in every category
};

// Marks ties in a result order: a row whose place key equals the key of the
// row before it is tied, and so is that row.  `keys` and `ties` run in
// parallel; `ties` is resized to match.
void markTies(const std::vector<int>& keys, std::vector<bool>* ties);

// Combines the rows of the categories (in the order given) and places them.
// Persons merged by person enter in the order of their first appearance;
// equal points keep the order of entry.  A person's second row within the
// same category is not counted again.
std::vector<CombinedRow> combineStandings(const std::vector<CategoryRows>& categories,
                                          const CombineOptions& options);

// Orders rows by points, highest first (stable), and gives places: equal
// points share the place of the first of them, the next row's place counts
// every row before it (150, 140, 140, 120 give 1, 2, 2, 4).
void placeByPoints(std::vector<CombinedRow>* rows);

// Hundredths as a decimal text with two decimals: 12345 gives "123.45",
// -5 gives "-0.05".
std::string pointsText(int hundredths);

}  // namespace tav

#endif  // TAVC_EVENT_STANDINGS_COMBINE_H_
