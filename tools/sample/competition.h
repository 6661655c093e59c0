// The competition a sample database holds, as the generator's description
// file states it: the register (nations, clubs, officials, skaters, couples,
// teams), the element register and verification rules, and one event with
// its categories, segments, entries and the way each performance went.
// ContestRunner turns this into protocols, places and start orders.
#ifndef TAVC_TOOLS_SAMPLE_COMPETITION_H_
#define TAVC_TOOLS_SAMPLE_COMPETITION_H_

#include <array>
#include <map>
#include <string>
#include <vector>

namespace tav {
namespace sample {

struct Nation {
  std::string code;
  std::string name;
};

// One entry of the person register (PCT).
struct RegisterEntry {
  enum class Kind { kClub, kOfficial, kSkater, kCouple, kTeam };
  Kind kind = Kind::kSkater;
  int id = 0;
  std::string given, family;  // persons
  std::string name;           // clubs and teams
  std::string gender, nation, city, regNo, born, spMusic, fsMusic;
  int club = 0;
  int partner1 = 0, partner2 = 0;  // couples
  int line = 0;                    // line of the description, for the comment field
};

struct ElementDef {
  int id = 0;
  char group = 'S';      // segment kind letter: S P C D I R T U
  std::string code;      // as called, e.g. CCoSp4
  std::string noLevel;   // without the level, e.g. CCoSp
  std::string name;
  char type = 'J';       // O spin, N twist, M death spiral, T lift, A twizzle, ...
  int baseValue = 0;     // hundredths
  int goePlus = 0;       // value of one positive grade step, hundredths
  int goeMinus = 0;      // value of one negative grade step, hundredths
};

struct ElementGroup {  // DGR
  std::string code, description;
};

struct ElementDetail {  // ELL
  char group = 'T';
  std::string element;
  std::string detail;
};

struct Rule {  // WBG with its checks (WBP)
  int id = 0;
  std::string name;
  std::vector<std::pair<std::string, int>> checks;
};

struct ComponentDef {
  int slot = 1;  // 1..10
  std::string shortName, name;
};

struct DeductionDef {
  int number = 1;  // 1..17
  std::string name;
  int factor = 100;  // hundredths of a point per unit
  bool majority = false;
};

// Officials by slot: 0-11 judges, 15 referee, 16 technical controller,
// 17 technical specialist, 18 assistant specialist, 19 assistant (or ice
// level) referee, 20 data operator, 21 video replay operator.
struct Panel {
  std::array<int, 22> slots{};
};

struct Timing {
  std::string warmup = "00:06:00", perform = "00:04:00", judging = "00:01:00",
              judgingLast = "00:03:00", resurface = "00:15:00", intro = "00:05:00",
              announce = "00:00:30";
  std::vector<int> resurfaceAfter;  // warm-up groups followed by an ice resurface
};

struct ProgramElement {
  std::string code;
  bool secondHalf = false;
  std::string info;  // marks such as "e" or "!"
};

struct Program {
  std::vector<ProgramElement> elements;
};

struct Entry {
  int parId = 0;
  int pctId = 0;
  char status = 'A';       // A D N Q R W
  int withdrawnBefore = 0; // R: ordinal (1-based) of the first segment not skated
  char group = ' ';
  int goeTenths = 0;       // usual grade of execution, in tenths
  int pcs = 700;           // usual component mark, hundredths
};

// How one performance went, when it differs from the entry's usual form.
struct PerformanceNote {
  std::string program;
  bool hasGoe = false;
  int goeTenths = 0;
  bool hasPcs = false;
  int pcs = 0;
  std::vector<int> falls;             // element positions (1-based) with a fall
  std::map<int, int> deductions;      // deduction number -> units in hundredths
  std::map<int, int> bonuses;         // element position -> bonus in hundredths
  std::map<int, int> elementDeductions;
  std::vector<int> invalid;           // element positions called invalid (*)
};

struct Segment {
  enum class State { kFinished, kInProgress, kDrawn, kOpen, kEmpty };
  int id = 0;
  std::string shortName, name, tvName;
  char type = 'S';   // SCP_TYPE
  char group = ' ';  // SCP_GROUP
  State state = State::kFinished;
  int skated = 0;    // in progress: how many have skated
  int venue = 1;
  std::string date, begin;
  std::string laterBegin;  // later groups begin at this time ...
  int laterAfterGroup = 0; // ... after this warm-up group
  std::string timing;
  std::string panel;
  std::string components;
  std::vector<int> factors;  // per component, hundredths
  int generalFactor = 10;
  std::string deductions;
  int rule = 0;
  char timeKind = 'M';
  int seconds = 0, secondHalf = 0;
  std::string danceName, danceCode;
  std::vector<std::string> comments;
  std::vector<std::string> programs;  // program names, given out in turn
  int warmupMax = 6;
  bool storedTimeline = false;
  int plannedCount = 0;  // TIM_NUMPAR
};

struct Category {
  int id = 0;
  std::string name, tvName;
  char type = 'S', gender = 'F', level = 'S';
  bool qualifying = false;
  std::vector<Segment> segments;
  std::vector<Entry> entries;
};

struct Event {
  int id = 1;
  std::string name, regNo, begin, end, place, titles;
  std::vector<std::string> venues;
  bool international = true;
};

struct Competition {
  Event event;
  std::vector<Nation> nations;
  std::vector<RegisterEntry> registry;
  std::vector<ElementDef> elements;
  std::vector<ElementGroup> groups;
  std::vector<ElementDetail> details;
  std::vector<Rule> rules;
  std::map<std::string, std::vector<ComponentDef>> componentSets;
  std::map<std::string, std::vector<DeductionDef>> deductionSets;
  std::map<std::string, Panel> panels;
  std::map<std::string, Timing> timings;
  std::map<std::string, Program> programs;
  std::vector<Category> categories;
  // (segment id, participant id) -> note
  std::map<std::pair<int, int>, PerformanceNote> notes;
  std::vector<std::pair<std::string, std::string>> stateAbbreviations;
  std::vector<std::pair<std::string, std::string>> miscAbbreviations;
  unsigned long long seed = 20141106;
  std::string source = "competition.txt";  // named in the register entries' comments

};

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_COMPETITION_H_
