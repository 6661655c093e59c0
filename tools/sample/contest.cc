#include "contest.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace tav {
namespace sample {
namespace {

// A small deterministic generator (splitmix64): the same seed gives the same
// numbers on every platform and compiler, which std::*_distribution does not
// promise.
class Rng {
 public:
  explicit Rng(unsigned long long seed) : state_(seed) {}
  unsigned long long next() {
    unsigned long long z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A number from lo to hi, both included.
  int range(int lo, int hi) {
    return lo + static_cast<int>(next() % static_cast<unsigned long long>(hi - lo + 1));
  }

 private:
  unsigned long long state_;
};

unsigned long long streamOf(unsigned long long seed, long long a, long long b, long long c = 0) {
  Rng mix(seed ^ (static_cast<unsigned long long>(a) * 0x100000001B3ULL));
  mix.next();
  Rng second(mix.next() ^ (static_cast<unsigned long long>(b) * 0xC2B2AE3D27D4EB4FULL));
  second.next();
  return second.next() ^ static_cast<unsigned long long>(c) * 0x165667B19E3779F9ULL;
}

template <typename T>
void shuffle(std::vector<T>* items, Rng* rng) {
  for (std::size_t i = items->size(); i > 1; --i) {
    const std::size_t j = static_cast<std::size_t>(rng->next() % i);
    std::swap((*items)[i - 1], (*items)[j]);
  }
}

// Division rounded half away from zero.
int roundedDivision(long long value, long long divisor) {
  const long long half = divisor / 2;
  return static_cast<int>(value >= 0 ? (value + half) / divisor : -((-value + half) / divisor));
}

// The panel's value from the judges' values: the highest and the lowest are
// dropped and the others averaged, rounded to hundredths.
int trimmedMean(std::vector<int> values) {
  if (values.size() < 3) return 0;
  std::sort(values.begin(), values.end());
  long long sum = 0;
  for (std::size_t i = 1; i + 1 < values.size(); ++i) sum += values[i];
  return roundedDivision(sum, static_cast<long long>(values.size() - 2));
}

std::vector<std::string> splitCode(const std::string& code) {
  std::vector<std::string> parts;
  std::stringstream in(code);
  std::string part;
  while (std::getline(in, part, '+')) parts.push_back(part);
  return parts;
}

// Clock texts "HH:MM:SS" as seconds of the day and back.
bool parseClock(const std::string& text, int* seconds) {
  int h = 0, m = 0, s = 0;
  if (text.size() != 8 || text[2] != ':' || text[5] != ':' ||
      std::sscanf(text.c_str(), "%2d:%2d:%2d", &h, &m, &s) != 3) {
    return false;
  }
  *seconds = h * 3600 + m * 60 + s;
  return true;
}

std::string clockText(int seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", (seconds / 3600) % 24, (seconds / 60) % 60,
                seconds % 60);
  return text;
}

int judgesOf(const Panel& panel) {
  int count = 0;
  for (int slot = 0; slot < kJudgePositions; ++slot) count += panel.slots[slot] > 0 ? 1 : 0;
  return count;
}

enum class Role { kNone, kSkates, kWithdrawnHere, kDisqualified };

Role roleOf(const Entry& entry, const Segment& segment, std::size_t ordinal) {
  if (segment.state == Segment::State::kEmpty) return Role::kNone;
  if (segment.group != ' ' && entry.group != segment.group) return Role::kNone;
  const int number = static_cast<int>(ordinal) + 1;
  switch (entry.status) {
    case 'A': return Role::kSkates;
    case 'N': return number == 1 ? Role::kSkates : Role::kNone;
    case 'D': return number == 1 ? Role::kDisqualified : Role::kNone;
    case 'R':
      if (number < entry.withdrawnBefore) return Role::kSkates;
      return number == entry.withdrawnBefore ? Role::kWithdrawnHere : Role::kNone;
    default: return Role::kNone;  // W, Q
  }
}

bool hasStartOrder(Segment::State state) {
  return state == Segment::State::kFinished || state == Segment::State::kInProgress ||
         state == Segment::State::kDrawn;
}

}  // namespace

char segmentKind(char categoryType, char segmentType) {
  switch (categoryType) {
    case 'D':
      return segmentType == 'C' ? 'C' : segmentType == 'D' ? 'D'
             : segmentType == 'F' ? 'I' : segmentType == 'S' ? 'R' : ' ';
    case 'P': return 'P';
    case 'S': return 'S';
    case 'T': return segmentType == 'F' ? 'T' : segmentType == 'S' ? 'U' : ' ';
    default: return ' ';
  }
}

bool ContestRunner::fail(const std::string& reason) {
  error_ = reason;
  return false;
}

bool ContestRunner::run(ContestResult* result, std::string* error) {
  result_ = result;
  *result = ContestResult();
  nextPrfId_ = 1;
  for (const Category& category : competition_.categories) {
    if (!runCategory(category)) {
      *error = "category " + std::to_string(category.id) + ": " + error_;
      return false;
    }
  }
  return true;
}

const ElementDef* ContestRunner::element(char group, const std::string& code) const {
  for (const ElementDef& def : competition_.elements) {
    if (def.group == group && def.code == code) return &def;
  }
  return nullptr;
}

std::string ContestRunner::programFor(const Segment& segment, std::size_t entryIndex,
                                      const Entry& entry) const {
  const auto note = competition_.notes.find({segment.id, entry.parId});
  if (note != competition_.notes.end() && !note->second.program.empty()) return note->second.program;
  if (segment.programs.empty()) return std::string();
  return segment.programs[entryIndex % segment.programs.size()];
}

bool ContestRunner::runCategory(const Category& category) {
  for (const Entry& entry : category.entries) {
    ParticipantResult& participant = result_->participants[entry.parId];
    participant.segmentStatus.fill(' ');
    for (std::size_t k = 0; k < category.segments.size(); ++k) participant.segmentStatus[k] = 'M';
  }
  for (std::size_t k = 0; k < category.segments.size(); ++k) {
    if (!runSegment(category, k)) return false;
  }
  int lastStarted = -1;
  for (std::size_t k = 0; k < category.segments.size(); ++k) {
    for (const Entry& entry : category.entries) {
      if (result_->participants[entry.parId].segmentStatus[k] == 'O') lastStarted = static_cast<int>(k);
    }
  }
  for (const Entry& entry : category.entries) {
    ParticipantResult& participant = result_->participants[entry.parId];
    for (std::size_t k = 0; k < category.segments.size(); ++k) {
      if (participant.segmentStatus[k] == 'O') participant.totalPoints += participant.points[k];
    }
    if (lastStarted >= 0 && participant.segmentStatus[lastStarted] == 'O') {
      participant.totalPlace = participant.intermediatePlaces[lastStarted];
    }
  }
  return true;
}

bool ContestRunner::runSegment(const Category& category, std::size_t ordinal) {
  const Segment& segment = category.segments[ordinal];
  SegmentResult& segmentResult = result_->segments[segment.id];
  Rng draw(streamOf(competition_.seed, segment.id, 0, 1));

  struct Place {
    std::size_t entryIndex;
    Role role;
  };
  std::vector<Place> ordered, unordered;
  for (std::size_t i = 0; i < category.entries.size(); ++i) {
    const Role role = roleOf(category.entries[i], segment, ordinal);
    if (role == Role::kNone) continue;
    const bool numbered = hasStartOrder(segment.state) && role != Role::kDisqualified;
    (numbered ? ordered : unordered).push_back({i, role});
  }

  // Start order: after a finished segment the reverse of the standing so
  // far, otherwise a draw; warm-up groups as even as possible.
  bool byStanding = ordinal > 0 && category.segments[ordinal - 1].state == Segment::State::kFinished &&
                    !ordered.empty();
  for (const Place& p : ordered) {
    const int previous =
        ordinal > 0 ? result_->participants[category.entries[p.entryIndex].parId]
                          .intermediatePlaces[ordinal - 1]
                    : 0;
    byStanding = byStanding && previous > 0;
  }
  if (byStanding) {
    std::stable_sort(ordered.begin(), ordered.end(), [&](const Place& a, const Place& b) {
      return result_->participants[category.entries[a.entryIndex].parId].intermediatePlaces[ordinal - 1] >
             result_->participants[category.entries[b.entryIndex].parId].intermediatePlaces[ordinal - 1];
    });
  } else {
    shuffle(&ordered, &draw);
  }
  const int count = static_cast<int>(ordered.size());
  if (count > 0) {
    const int groups = std::max(1, (count + segment.warmupMax - 1) / segment.warmupMax);
    for (int g = 0; g < groups; ++g) {
      segmentResult.warmupSizes.push_back(count / groups + (g >= groups - count % groups ? 1 : 0));
    }
    if (segmentResult.warmupSizes.size() > 25) return fail("more than 25 warm-up groups");
    if (byStanding) {  // the order inside each warm-up group is drawn
      std::size_t first = 0;
      for (int size : segmentResult.warmupSizes) {
        std::vector<Place> group(ordered.begin() + first, ordered.begin() + first + size);
        shuffle(&group, &draw);
        std::copy(group.begin(), group.end(), ordered.begin() + first);
        first += size;
      }
    }
  }

  // Performances in start order, then those without a start number.
  std::vector<PerformanceResult*> made;
  std::vector<Place> all = ordered;
  all.insert(all.end(), unordered.begin(), unordered.end());
  int position = 0;
  for (const Place& p : all) {
    const Entry& entry = category.entries[p.entryIndex];
    PerformanceResult performance;
    performance.prfId = nextPrfId_++;
    performance.parId = entry.parId;
    performance.scpId = segment.id;
    const bool numbered = position < count;
    if (numbered) {
      performance.startNo = position + 1;
      int bound = 0;
      for (std::size_t g = 0; g < segmentResult.warmupSizes.size(); ++g) {
        bound += segmentResult.warmupSizes[g];
        if (position < bound) {
          performance.warmupGroup = static_cast<int>(g) + 1;
          break;
        }
      }
    }
    ++position;
    const bool skates = p.role == Role::kSkates;
    const bool skated =
        skates && (segment.state == Segment::State::kFinished ||
                   (segment.state == Segment::State::kInProgress && performance.startNo >= 1 &&
                    performance.startNo <= segment.skated));
    performance.status = skated ? 'O' : 'L';
    const std::string program = programFor(segment, p.entryIndex, entry);
    if (skated && !scorePerformance(category, segment, entry, program, &performance)) {
      return fail("segment " + std::to_string(segment.id) + ", participant " +
                  std::to_string(entry.parId) + ": " + error_);
    }
    if (segment.type == 'C' || segment.type == 'D') {
      const auto found = competition_.programs.find(program);
      if (found == competition_.programs.end()) return fail("no program " + program + " for a pattern dance");
      for (const ProgramElement& e : found->second.elements) performance.plannedInPerformance.push_back(e.code);
    } else if (!program.empty() && (segment.type == 'S' || segment.type == 'F')) {
      PlannedElements& planned = result_->planned[entry.pctId];
      auto& list = planned.programs[segment.type == 'S' ? 0 : 1];
      const auto found = competition_.programs.find(program);
      if (found == competition_.programs.end()) return fail("unknown program " + program);
      if (list.empty()) {
        for (const ProgramElement& e : found->second.elements) list.emplace_back(e.code, e.secondHalf);
      }
    }
    result_->participants[entry.parId].segmentStatus[ordinal] = performance.status;
    result_->performances.push_back(performance);
  }
  for (std::size_t i = result_->performances.size() - all.size(); i < result_->performances.size(); ++i) {
    made.push_back(&result_->performances[i]);
  }

  // Places of the segment, then the standing after it.
  std::vector<PerformanceResult*> placed;
  for (PerformanceResult* p : made) {
    if (p->status == 'O') placed.push_back(p);
  }
  std::sort(placed.begin(), placed.end(), [](const PerformanceResult* a, const PerformanceResult* b) {
    if (a->points != b->points) return a->points > b->points;
    if (a->elementTotal != b->elementTotal) return a->elementTotal > b->elementTotal;
    return a->prfId < b->prfId;
  });
  for (std::size_t i = 0; i < placed.size(); ++i) {
    placed[i]->place = static_cast<int>(i) + 1;
    ParticipantResult& participant = result_->participants[placed[i]->parId];
    participant.points[ordinal] = placed[i]->points;
    participant.places[ordinal] = placed[i]->place;
  }
  struct Standing {
    int parId;
    int total;
    int segmentPoints;
  };
  std::vector<Standing> standing;
  for (const Entry& entry : category.entries) {
    const ParticipantResult& participant = result_->participants[entry.parId];
    if (participant.segmentStatus[ordinal] != 'O') continue;
    int total = 0;
    for (std::size_t k = 0; k <= ordinal; ++k) {
      if (participant.segmentStatus[k] == 'O') total += participant.points[k];
    }
    standing.push_back({entry.parId, total, participant.points[ordinal]});
  }
  std::sort(standing.begin(), standing.end(), [](const Standing& a, const Standing& b) {
    if (a.total != b.total) return a.total > b.total;
    if (a.segmentPoints != b.segmentPoints) return a.segmentPoints > b.segmentPoints;
    return a.parId < b.parId;
  });
  for (std::size_t i = 0; i < standing.size(); ++i) {
    result_->participants[standing[i].parId].intermediatePlaces[ordinal] = static_cast<int>(i) + 1;
  }

  // Majority deductions of the segment (0-based deduction indexes).
  const auto deductions = competition_.deductionSets.find(segment.deductions);
  if (deductions != competition_.deductionSets.end()) {
    int k = 0;
    for (const DeductionDef& d : deductions->second) {
      if (d.majority && k < 3) segmentResult.majorityIndexes[k++] = d.number - 1;
    }
  }
  if (segment.storedTimeline) {
    std::vector<PerformanceResult*> order;
    for (PerformanceResult* p : made) {
      if (p->startNo > 0) order.push_back(p);
    }
    if (!timeline(category, segment, order, &segmentResult)) return false;
  }
  return true;
}

bool ContestRunner::scorePerformance(const Category& category, const Segment& segment,
                                     const Entry& entry, const std::string& programName,
                                     PerformanceResult* performance) {
  const auto program = competition_.programs.find(programName);
  if (program == competition_.programs.end()) {
    return fail("segment " + std::to_string(segment.id) + ": no program '" + programName + "'");
  }
  const auto panel = competition_.panels.find(segment.panel);
  if (panel == competition_.panels.end()) return fail("unknown panel " + segment.panel);
  const int judges = judgesOf(panel->second);
  if (judges < 3) return fail("a panel needs at least three judges");
  static const PerformanceNote kNoNote;
  const auto found = competition_.notes.find({segment.id, entry.parId});
  const PerformanceNote& note = found == competition_.notes.end() ? kNoNote : found->second;
  const unsigned long long stream = streamOf(competition_.seed, segment.id, entry.parId);
  Rng form(stream);
  const int goe = note.hasGoe ? note.goeTenths : entry.goeTenths + form.range(-4, 4);
  const int pcs = note.hasPcs ? note.pcs : entry.pcs + 25 * form.range(-2, 2);

  // Executed elements.
  int position = 0;
  for (const ProgramElement& planned : program->second.elements) {
    ++position;
    ElementScore score;
    if (!scoreElement(category, segment, planned, position, note, goe, judges, stream, &score)) {
      return false;
    }
    performance->elementTotal += score.result;
    performance->bonus += score.bonus;
    performance->elements.push_back(score);
  }

  // Program components: marks in steps of 0.25, panel mark trimmed mean.
  const auto components = competition_.componentSets.find(segment.components);
  if (components == competition_.componentSets.end()) {
    return fail("unknown component set " + segment.components);
  }
  Rng marks(stream ^ 0xC0FFEE);
  int c = 0;
  for (const ComponentDef& def : components->second) {
    ComponentScore score;
    score.slot = def.slot;
    score.factor = segment.factors.size() == 1 ? segment.factors[0]
                   : c < static_cast<int>(segment.factors.size()) ? segment.factors[c] : 0;
    if (score.factor <= 0) return fail("component factor missing in segment " + std::to_string(segment.id));
    const int level = pcs + 25 * marks.range(-1, 1);
    std::vector<int> values;
    for (int j = 0; j < kJudgePositions; ++j) {
      if (j >= judges) {
        score.marks[j] = kNoComponentMark;
        continue;
      }
      int mark = level + 25 * marks.range(-2, 2);
      mark = std::min(1000, std::max(25, mark));
      score.marks[j] = mark;
      values.push_back(mark);
    }
    score.panel = trimmedMean(values);
    score.result = roundedDivision(static_cast<long long>(score.panel) * score.factor, 100);
    performance->componentTotal += score.result;
    performance->components.push_back(score);
    ++c;
  }

  // Deductions: units in hundredths times the segment's factor.
  performance->deductions.fill(-1);
  const auto deductions = competition_.deductionSets.find(segment.deductions);
  if (deductions == competition_.deductionSets.end()) {
    return fail("unknown deduction set " + segment.deductions);
  }
  for (const DeductionDef& d : deductions->second) performance->deductions[d.number - 1] = 0;
  if (category.type != 'T' && !note.falls.empty()) {
    if (performance->deductions[0] < 0) return fail("falls need deduction 1");
    performance->deductions[0] += 100 * static_cast<int>(note.falls.size());
  }
  for (const auto& [number, units] : note.deductions) {
    if (number < 1 || number > 17 || performance->deductions[number - 1] < 0) {
      return fail("deduction " + std::to_string(number) + " is not used in segment " +
                  std::to_string(segment.id));
    }
    performance->deductions[number - 1] += units;
  }
  for (const DeductionDef& d : deductions->second) {
    performance->deductionTotal += performance->deductions[d.number - 1] * d.factor / 100;
  }

  // Majority votes: the judges and the referee vote on each majority
  // deduction that was given; -99 where nobody voted.
  for (auto& votes : performance->majorityVotes) votes.fill(kNoVote);
  int k = 0;
  Rng ballots(stream ^ 0xBA11075);
  for (const DeductionDef& d : deductions->second) {
    if (!d.majority || k >= 3) continue;
    const int given = performance->deductions[d.number - 1];
    if (given > 0) {
      std::vector<int> seats;
      for (int j = 0; j < judges; ++j) seats.push_back(j);
      shuffle(&seats, &ballots);
      const std::size_t inFavour = seats.size() / 2 + 2;  // a clear majority: 6 of 9
      for (std::size_t s = 0; s < seats.size(); ++s) {
        performance->majorityVotes[k][seats[s]] = s < inFavour ? given : 0;
      }
      performance->majorityVotes[k][10] = given;
    }
    ++k;
  }

  performance->points = performance->elementTotal + performance->bonus +
                        performance->componentTotal - performance->deductionTotal;
  performance->scored = true;
  return true;
}

bool ContestRunner::scoreElement(const Category& category, const Segment& segment,
                                 const ProgramElement& planned, int position,
                                 const PerformanceNote& note, int goeTenths, int judges,
                                 unsigned long long stream, ElementScore* score) {
  const char kind = segmentKind(category.type, segment.type);
  const bool invalid = std::count(note.invalid.begin(), note.invalid.end(), position) > 0;
  const bool fall = std::count(note.falls.begin(), note.falls.end(), position) > 0;
  score->code = planned.code + (invalid ? "*" : "");
  score->info = planned.info;
  int baseValue = 0;
  const ElementDef* steps = nullptr;
  for (const std::string& part : splitCode(planned.code)) {
    const ElementDef* def = element(kind, part);
    if (def == nullptr) {
      return fail(std::string("element ") + kind + "+" + part + " is not in the register");
    }
    baseValue += def->baseValue;
    if (steps == nullptr || def->baseValue > steps->baseValue) steps = def;
  }
  if (planned.secondHalf && (category.type == 'S' || category.type == 'P')) {
    baseValue = roundedDivision(static_cast<long long>(baseValue) * 11, 10);
    score->secondHalf = true;
  }
  if (invalid) {
    score->marks.fill(kNoGrade);
    score->judgeValues.fill(0);
    return true;  // no value, no grades
  }
  score->baseValue = baseValue;
  Rng grades(stream ^ (0x51ED2701ULL * static_cast<unsigned long long>(position)));
  const int elementForm = goeTenths + grades.range(-5, 5) - (planned.info.find('e') != std::string::npos ? 10 : 0);
  score->marks.fill(kNoGrade);
  score->judgeValues.fill(0);
  std::vector<int> values;
  for (int j = 0; j < judges; ++j) {
    int grade = -3;
    if (!fall) {
      grade = roundedDivision(elementForm + grades.range(-6, 6), 10);
      grade = std::min(3, std::max(-3, grade));
    }
    const int value = grade > 0 ? grade * steps->goePlus : grade * steps->goeMinus;
    score->marks[j] = grade + 4;
    score->judgeValues[j] = baseValue + value;
    values.push_back(value);
  }
  score->panel = trimmedMean(values);
  const auto deduction = note.elementDeductions.find(position);
  if (deduction != note.elementDeductions.end()) {
    if (category.type != 'T') return fail("element deductions belong to synchronized skating");
    score->deduction = deduction->second;
  }
  const auto bonus = note.bonuses.find(position);
  if (bonus != note.bonuses.end()) score->bonus = bonus->second;
  score->result = score->baseValue + score->panel - score->deduction;
  return true;
}

bool ContestRunner::timeline(const Category& category, const Segment& segment,
                             const std::vector<PerformanceResult*>& order, SegmentResult* result) {
  const auto found = competition_.timings.find(segment.timing);
  if (found == competition_.timings.end()) return fail("unknown timing " + segment.timing);
  const Timing& timing = found->second;
  int now = 0, warmup = 0, perform = 0, judging = 0, last = 0, resurface = 0, intro = 0, announce = 0;
  if (!parseClock(segment.begin, &now) || !parseClock(timing.warmup, &warmup) ||
      !parseClock(timing.perform, &perform) || !parseClock(timing.judging, &judging) ||
      !parseClock(timing.judgingLast, &last) || !parseClock(timing.resurface, &resurface) ||
      !parseClock(timing.intro, &intro) || !parseClock(timing.announce, &announce)) {
    return fail("invalid time in the timing of segment " + std::to_string(segment.id));
  }
  const auto add = [&](char type, int duration, const PerformanceResult* p) {
    TimelineItem item;
    item.type = type;
    item.date = segment.date;
    item.begin = clockText(now);
    now += duration;
    item.end = clockText(now);
    if (p != nullptr) {
      item.parId = p->parId;
      item.startNo = p->startNo;
      item.group = p->warmupGroup;
    }
    result->timeline.push_back(item);
  };
  if (intro > 0) add('I', intro, nullptr);
  int previousGroup = -1;
  for (std::size_t i = 0; i <= order.size(); ++i) {
    const bool closing = i == order.size();
    const int group = closing ? -2 : order[i]->warmupGroup;
    if (closing || group != previousGroup) {
      if (previousGroup > 0 && category.type != 'T' && !closing) {
        if (std::count(timing.resurfaceAfter.begin(), timing.resurfaceAfter.end(), previousGroup) > 0) {
          add('R', resurface, nullptr);
        }
        if (previousGroup == segment.laterAfterGroup && !segment.laterBegin.empty()) {
          int later = 0;
          if (!parseClock(segment.laterBegin, &later) || later < now) {
            return fail("later groups of segment " + std::to_string(segment.id) + " begin too early");
          }
          add('B', later - now, nullptr);
        }
      }
      if (!closing) add('W', warmup, nullptr);
    }
    if (!closing) add('P', announce + perform + judging, order[i]);
    previousGroup = group;
  }
  if (last > 0) add('W', last, nullptr);
  return true;
}

}  // namespace sample
}  // namespace tav
