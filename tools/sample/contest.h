// ContestRunner plays the sample competition through: it draws start orders
// and warm-up groups, writes every protocol that has been skated (grades of
// execution, panel values, element scores, component marks, deductions and
// totals in hundredths of a point), places the performances and the
// participants, and works out each participant's per-segment status letters.
// Everything follows from the description and a fixed seed, so the same
// description always gives the same database.
#ifndef TAVC_TOOLS_SAMPLE_CONTEST_H_
#define TAVC_TOOLS_SAMPLE_CONTEST_H_

#include <array>
#include <map>
#include <string>
#include <vector>

#include "competition.h"

namespace tav {
namespace sample {

constexpr int kJudgePositions = 10;  // PRF_EeeJ01..J10
constexpr int kNoGrade = 9;          // stored mark of a position without a grade
constexpr int kNoComponentMark = -9;
constexpr int kNoVote = -99;

struct ElementScore {
  std::string code;  // as called; "*" marks an invalid element
  std::string info;
  int baseValue = 0;  // hundredths, second-half bonus included
  bool secondHalf = false;
  std::array<int, kJudgePositions> marks{};        // grade + 4, or 9
  std::array<int, kJudgePositions> judgeValues{};  // base value + the judge's value
  int panel = 0;      // panel grade of execution, hundredths
  int deduction = 0;  // element deduction (synchronized skating)
  int bonus = 0;
  int result = 0;     // base value + panel - deduction
};

struct ComponentScore {
  int slot = 1;  // 1..10; stored in the PRF_C family under slot - 1
  std::array<int, kJudgePositions> marks{};
  int panel = 0;
  int factor = 100;
  int result = 0;
};

struct PerformanceResult {
  int prfId = 0, parId = 0, scpId = 0;
  char status = 'L';  // O skated, L to skate
  int startNo = 0, warmupGroup = 0, place = 0;
  bool scored = false;
  int points = 0, elementTotal = 0, componentTotal = 0, bonus = 0, deductionTotal = 0;
  std::vector<ElementScore> elements;
  std::vector<ComponentScore> components;
  std::array<int, 18> deductions{};  // per deduction index; -1: not used in the segment
  std::array<std::array<int, 11>, 3> majorityVotes{};  // judges 1-10, then the referee
  std::vector<std::string> plannedInPerformance;       // pattern dances
};

struct ParticipantResult {
  std::array<char, 6> segmentStatus{};  // O L M per segment slot, blank when no segment
  std::array<int, 6> points{}, places{}, intermediatePlaces{};
  int totalPoints = 0, totalPlace = 0;
};

struct TimelineItem {
  char type = 'P';
  std::string date, begin, end;
  int parId = 0, startNo = 0, group = 0;
};

struct SegmentResult {
  std::vector<int> warmupSizes;
  std::vector<TimelineItem> timeline;  // stored timeline, when asked for
  std::array<int, 3> majorityIndexes{{-1, -1, -1}};
};

// Planned elements of a register entry: program 1 (short) and 2 (free).
struct PlannedElements {
  std::array<std::vector<std::pair<std::string, bool>>, 2> programs;  // code, second half
};

struct ContestResult {
  std::vector<PerformanceResult> performances;  // in PRF_ID order
  std::map<int, ParticipantResult> participants;  // by PAR_ID
  std::map<int, SegmentResult> segments;          // by SCP_ID
  std::map<int, PlannedElements> planned;         // by PCT_ID
};

class ContestRunner {
 public:
  explicit ContestRunner(const Competition& competition) : competition_(competition) {}
  bool run(ContestResult* result, std::string* error);

 private:
  bool runCategory(const Category& category);
  bool runSegment(const Category& category, std::size_t ordinal);
  bool scorePerformance(const Category& category, const Segment& segment, const Entry& entry,
                        const std::string& programName, PerformanceResult* performance);
  bool scoreElement(const Category& category, const Segment& segment, const ProgramElement& planned,
                    int position, const PerformanceNote& note, int goeTenths, int judges,
                    unsigned long long stream, ElementScore* score);
  bool timeline(const Category& category, const Segment& segment,
                const std::vector<PerformanceResult*>& order, SegmentResult* result);
  const ElementDef* element(char group, const std::string& code) const;
  std::string programFor(const Segment& segment, std::size_t entryIndex,
                         const Entry& entry) const;
  bool fail(const std::string& reason);

  const Competition& competition_;
  ContestResult* result_ = nullptr;
  std::string error_;
  int nextPrfId_ = 1;
};

// The segment kind letter of a segment of a category (S P C D I R T U).
char segmentKind(char categoryType, char segmentType);

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_CONTEST_H_
