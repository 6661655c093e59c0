#include "event/standings_combine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

namespace tav {

void markTies(const std::vector<int>& keys, std::vector<bool>* ties) {
  ties->assign(keys.size(), false);
  for (std::size_t i = 1; i < keys.size(); ++i) {
    if (keys[i] == keys[i - 1]) (*ties)[i] = (*ties)[i - 1] = true;
  }
}

namespace {

// One person of a combination by person.
struct PersonEntry {
  CombinedRow combined;
  std::set<int> categories;  // the categories whose rows were counted
};

std::vector<CombinedRow> mergeByPerson(const std::vector<CategoryRows>& categories,
                                       bool onlyAllInCategories) {
  std::vector<PersonEntry> persons;
  std::map<int, std::size_t> byPctId;  // PCT_ID to its place in `persons`
  std::set<int> selected;
  for (const CategoryRows& category : categories) {
    selected.insert(category.catId);
    for (const StandingsRow& row : category.rows) {
      const auto [found, isNew] = byPctId.emplace(row.pctId, persons.size());
      if (isNew) {
        persons.push_back({CombinedRow{row, 0, false}, {category.catId}});
        continue;
      }
      PersonEntry& person = persons[found->second];
      if (person.categories.insert(category.catId).second) person.combined.row.points += row.points;
    }
  }
  std::vector<CombinedRow> rows;
  for (PersonEntry& person : persons) {
    if (onlyAllInCategories && person.categories.size() != selected.size()) continue;
    rows.push_back(std::move(person.combined));
  }
  return rows;
}

}  // namespace

std::vector<CombinedRow> combineStandings(const std::vector<CategoryRows>& categories,
                                          const CombineOptions& options) {
  std::vector<CombinedRow> rows;
  if (options.byPerson) {
    rows = mergeByPerson(categories, options.onlyAllInCategories);
  } else {
    for (const CategoryRows& category : categories) {
      for (const StandingsRow& row : category.rows) rows.push_back({row, 0, false});
    }
  }
  placeByPoints(&rows);
  return rows;
}

void placeByPoints(std::vector<CombinedRow>* rows) {
  std::stable_sort(rows->begin(), rows->end(), [](const CombinedRow& a, const CombinedRow& b) {
    return a.row.points > b.row.points;
  });
  int placed = 0;  // the place just given
  int run = 1;     // rows sharing that place
  for (std::size_t i = 0; i < rows->size(); ++i) {
    CombinedRow& row = (*rows)[i];
    row.tie = false;
    if (i > 0 && row.row.points == (*rows)[i - 1].row.points) {
      row.place = placed;
      row.tie = (*rows)[i - 1].tie = true;
      ++run;
      continue;
    }
    row.place = placed + run;
    placed = row.place;
    run = 1;
  }
}

std::string pointsText(int hundredths) {
  const long long value = hundredths;
  const long long magnitude = value < 0 ? -value : value;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", value < 0 ? "-" : "", magnitude / 100,
                magnitude % 100);
  return buffer;
}

}  // namespace tav
