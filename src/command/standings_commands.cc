// tav_eventGetEvtCatStandings: the standings of one or several categories
// of an event, optionally only for participants of given clubs, shown per
// category or combined into one ranking by total points.  The rows are
// written as text into elements of the Tcl array the caller names:
// (c,SegNames), (c,Data), (c,DataSize), (c,Stat) per category c, or
// (0,SegNames), (0,Data), (0,DataSize) for a combined standing.
//
// Names, clubs and nations are written in braces.  One that holds a double
// quote, a brace or a backslash would break the row's list; it is written
// as a Tcl list element instead (ordinary names keep the braces).
#include <cstdlib>
#include <climits>

#include "command/commands.h"
#include "command/event_args.h"
#include "command/interp_helpers.h"
#include "event/standings.h"

namespace tav {
namespace {

constexpr const char* kInvalidCatId = "tav_getCatStandings: Invalid CAT id: ";
constexpr const char* kNotAlike =
    "All selected categories must have same Level, Gender, and Type. Please re-select.";
constexpr const char* kNotFinal =
    "All selected categories must have final standings. Please re-select.";

// The C library's decimal conversion (leading blanks, optional sign, digits
// up to the first non-digit, none gives 0), held to the range of an int.
int decimal(const std::string& text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// "{first, second} ": the second part only when not empty.
std::string group(const std::string& first, const std::string& second = "") {
  const std::string text = second.empty() ? first : first + ", " + second;
  if (text.find_first_of("\"{}\\") != std::string::npos) return listToTcl({text}) + " ";
  return "{" + text + "} ";
}

// The name, club and nation groups of a row, as UTF-8.
std::string personGroups(Call& call, const StandingsRow& row, bool incNation) {
  return group(utf8(call, "PCT", row.name1), utf8(call, "PCT", row.name2)) +
         group(utf8(call, "PCT", row.club1), utf8(call, "PCT", row.club2)) +
         (incNation ? group(utf8(call, "PCT", row.nation)) : "{} ");
}

std::string categoryRowText(Call& call, const StandingsRow& row, bool incNation) {
  std::string text = "{" + row.place + " " + personGroups(call, row, incNation);
  text += row.points == 0 ? "{} {" : pointsText(row.points) + " {";
  for (int place : row.segmentPlaces) text += place == 0 ? "{} " : std::to_string(place) + " ";
  return text + "} " + (row.tie ? "Tie } " : "{} } ");
}

std::string combinedRowText(Call& call, const CombinedRow& row, bool incNation) {
  return "{ " + std::to_string(row.place) + " " + personGroups(call, row.row, incNation) + " " +
         pointsText(row.row.points) + " {} " + (row.tie ? "Tie } " : "{} } ");
}

// Rows plus 3, and the rows once more for pairs and dance (two lines a row).
int dataSize(std::size_t rows, char type) {
  const int count = static_cast<int>(rows);
  return count + 3 + (type == 'P' || type == 'D' ? count : 0);
}

// The level, gender and type letters of a category.
bool levelGenderType(const CCategory& category, std::string* letters) {
  char level = 0;
  char gender = 0;
  char type = 0;
  if (!category.getLevel(&level) || !category.getGenderType(&gender, &type)) return false;
  *letters = {level, gender, type};
  return true;
}

class ArrayWriter {
 public:
  ArrayWriter(Call& call, std::string base) : call_(call), base_(std::move(base)) {}
  bool set(const std::string& key, const std::string& name, const std::string& value) {
    const std::string element = key + "," + name;
    return Tcl_SetVar2(call_.interp(), base_.c_str(), element.c_str(), value.c_str(),
                       TCL_LEAVE_ERR_MSG) != nullptr;
  }

 private:
  Call& call_;
  std::string base_;
};

}  // namespace

Outcome tav_eventGetEvtCatStandings(Call& call) {
  int evtId = 0;
  std::vector<std::string> catEntries;
  std::vector<int> clubList;
  std::vector<int> flags;  // combineCats incNation combineByPerson combineOnlyAllInCat
  if (!call.intArg(1, &evtId) || !call.listArg(2, &catEntries) || !call.intListArg(3, &clubList) ||
      !intArgs(call, 5, 4, &flags)) {
    return call.done();
  }
  const bool combine = flags[0] != 0;
  const bool incNation = flags[1] != 0;
  const CombineOptions options{flags[2] != 0, flags[3] != 0};

  std::vector<const CCategory*> categories;
  for (const std::string& entry : catEntries) {
    const int catId = decimal(entry);
    if (catId < 1) return call.answer(kInvalidCatId + entry, TCL_ERROR);
    const CCategory* category = events().getEvtCatPtr(evtId, catId);
    if (category == nullptr) return call.failed();
    categories.push_back(category);
  }
  std::string common;
  for (const CCategory* category : categories) {
    std::string letters;
    if (!levelGenderType(*category, &letters)) return call.failed();
    if (combine && !common.empty() && letters != common) return call.answer(kNotAlike, TCL_ERROR);
    common = letters;
  }
  if (combine) {
    for (const CCategory* category : categories) {
      std::string status;
      if (!getStandingsStatus(*category, &status)) return call.failed();
      if (!status.empty()) return call.answer(kNotFinal, TCL_ERROR);
    }
  }

  const std::set<int> clubIds(clubList.begin(), clubList.end());
  std::vector<CategoryStandings> standings(categories.size());
  for (std::size_t i = 0; i < categories.size(); ++i) {
    if (!getStandings(*categories[i], clubIds, combine, &standings[i])) return call.failed();
  }

  ArrayWriter array(call, call.arg(4));
  if (!combine) {
    for (std::size_t i = 0; i < categories.size(); ++i) {
      const std::string key = categories[i]->idText();
      std::string data;
      for (const StandingsRow& row : standings[i].rows) data += categoryRowText(call, row, incNation);
      if (!array.set(key, "SegNames", listToTcl(utf8(call, "SCP", standings[i].shortNames))) ||
          !array.set(key, "Data", data) ||
          !array.set(key, "DataSize",
                     std::to_string(dataSize(standings[i].rows.size(), categories[i]->getType()))) ||
          !array.set(key, "Stat", standings[i].status)) {
        return call.done();
      }
    }
    return call.ok("1");
  }

  std::vector<CategoryRows> gathered;
  for (std::size_t i = 0; i < categories.size(); ++i) {
    gathered.push_back({categories[i]->id(), standings[i].rows});
  }
  const std::vector<CombinedRow> rows = combineStandings(gathered, options);
  std::string data;
  for (const CombinedRow& row : rows) data += combinedRowText(call, row, incNation);
  const std::vector<std::string> lastNames =
      standings.empty() ? std::vector<std::string>() : standings.back().shortNames;
  const char type = common.size() == 3 ? common[2] : ' ';
  if (!array.set("0", "SegNames", listToTcl(utf8(call, "SCP", lastNames))) ||
      !array.set("0", "Data", data) ||
      !array.set("0", "DataSize", std::to_string(dataSize(rows.size(), type)))) {
    return call.done();
  }
  return call.ok("1");
}

}  // namespace tav
