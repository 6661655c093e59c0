#include "protocol_competition.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>

namespace tav {
namespace sample {
namespace {

struct Discipline {
  const char* words;
  const char* name;
  char type, gender;
};
const Discipline kDisciplines[] = {{"MEN", "Men", 'S', 'M'},
                                   {"LADIES", "Ladies", 'S', 'F'},
                                   {"PAIRS", "Pairs", 'P', 'X'},
                                   {"ICE DANCE", "Ice Dance", 'D', 'X'}};

struct SegmentKind {
  const char* words;
  const char* name;
  const char* shortName;
  char type;  // SCP_TYPE
  int order;  // short before free
};
const SegmentKind kSegmentKinds[] = {{"SHORT PROGRAM", "Short Program", "SP", 'S', 1},
                                     {"FREE SKATING", "Free Skating", "FS", 'F', 2},
                                     {"SHORT DANCE", "Short Dance", "SD", 'S', 1},
                                     {"FREE DANCE", "Free Dance", "FD", 'F', 2}};

// What a program title such as "JUNIOR PAIRS SHORT PROGRAM" names.
struct ProgramTitle {
  std::string category;  // "JUNIOR PAIRS"
  const Discipline* discipline = nullptr;
  const SegmentKind* segment = nullptr;
  bool junior = false;
};

bool readTitle(const std::string& program, ProgramTitle* title) {
  std::string rest = program;
  title->junior = rest.compare(0, 7, "JUNIOR ") == 0;
  if (title->junior) rest.erase(0, 7);
  for (const Discipline& d : kDisciplines) {
    const std::string words = std::string(d.words) + " ";
    if (rest.compare(0, words.size(), words) != 0) continue;
    for (const SegmentKind& s : kSegmentKinds) {
      if (rest.substr(words.size()) != s.words) continue;
      title->discipline = &d;
      title->segment = &s;
      title->category = (title->junior ? "JUNIOR " : "") + std::string(d.words);
      return true;
    }
  }
  return false;
}

bool isFamilyWord(const std::string& word) {
  bool letter = false;
  for (unsigned char c : word) {
    if (std::islower(c)) return false;
    letter = letter || std::isupper(c) || c >= 0x80;
  }
  return letter;
}

// "Given Names FAMILY NAME": the family name is the run of upper-case words
// at the end.
void splitName(const std::string& name, std::string* given, std::string* family) {
  std::vector<std::string> words;
  std::istringstream in(name);
  for (std::string word; in >> word;) words.push_back(word);
  std::size_t first = words.size();
  while (first > 0 && isFamilyWord(words[first - 1])) --first;
  if (first == words.size()) first = words.empty() ? 0 : words.size() - 1;
  given->clear();
  family->clear();
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::string& part = i < first ? *given : *family;
    part += (part.empty() ? "" : " ") + words[i];
  }
}

// "SS" of "Skating Skills", "TR" of "Transitions".
std::string shortComponentName(const std::string& name) {
  std::string initials;
  std::istringstream in(name);
  for (std::string word; in >> word;) {
    if (std::isupper(static_cast<unsigned char>(word[0]))) initials += word[0];
  }
  if (initials.size() < 2) {
    initials.clear();
    for (char c : name) {
      if (std::isalpha(static_cast<unsigned char>(c)) && initials.size() < 2) {
        initials += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      }
    }
  }
  return initials.substr(0, 4);
}

// The panel's mark times the factor, rounded half up to hundredths (both in
// hundredths; the reader bounds them, the product needs 64 bits).
int factored(int panel, int factor) {
  const long long product = static_cast<long long>(panel) * factor;
  return static_cast<int>(product >= 0 ? (product + 50) / 100 : -((-product + 50) / 100));
}

// A component name as the segment record can hold it (SCP_CRIT, 30
// characters): a longer one loses what follows its last "/"
// ("Interpretation of the Music/Timing"), or is cut.
std::string componentName(const std::string& name) {
  constexpr std::size_t kWidth = 30;
  if (name.size() <= kWidth) return name;
  const std::size_t slash = name.rfind('/');
  return slash != std::string::npos && slash <= kWidth ? name.substr(0, slash) : name.substr(0, kWidth);
}

class Builder {
 public:
  Builder(const Protocol& protocol, const std::string& source, Competition* competition,
          ContestResult* result)
      : protocol_(protocol), source_(source), competition_(*competition), result_(*result) {}

  bool build(std::string* error) {
    competition_ = Competition();
    result_ = ContestResult();
    competition_.event.name =
        protocol_.performances.empty() ? "Protocol" : protocol_.performances[0].competition;
    competition_.source = source_;
    competition_.timings["PROTOCOL"] = Timing();
    competition_.deductionSets["PROTOCOL"] = {DeductionDef{1, "Deductions", 100, false}};
    bool ok = placeCategories() && addOfficials();
    for (std::size_t i = 0; ok && i < protocol_.performances.size(); ++i) ok = addPerformance(i);
    ok = ok && finishSegments();
    for (Category& category : competition_.categories) {
      if (ok) ok = finishEntries(category);
    }
    if (!ok) *error = fault_;
    return ok;
  }

 private:
  bool fail(const std::string& what) {
    fault_ = what;
    return false;
  }

  // Categories by first appearance, their segments short before free.
  bool placeCategories() {
    for (std::size_t i = 0; i < protocol_.performances.size(); ++i) {
      const ProtocolPerformance& p = protocol_.performances[i];
      ProgramTitle title;
      if (!readTitle(p.program, &title)) {
        return fail("performance " + std::to_string(i + 1) + ": unknown program \"" + p.program + "\"");
      }
      Category* category = categoryNamed(title);
      const int scpId = category->id * 10 + title.segment->order;
      const auto has = [&](const Segment& s) { return s.id == scpId; };
      if (std::none_of(category->segments.begin(), category->segments.end(), has)) {
        Segment segment;
        segment.id = scpId;
        segment.name = segment.tvName = title.segment->name;
        segment.shortName = title.segment->shortName;
        segment.type = title.segment->type;
        segment.timing = "PROTOCOL";
        segment.deductions = "PROTOCOL";
        segment.components = "S" + std::to_string(scpId);
        category->segments.push_back(segment);
        std::sort(category->segments.begin(), category->segments.end(),
                  [](const Segment& a, const Segment& b) { return a.id < b.id; });
      }
      segmentOf_.push_back(scpId);
    }
    return true;
  }

  Category* categoryNamed(const ProgramTitle& title) {
    for (Category& c : competition_.categories) {
      if (c.name == (title.junior ? "Junior " : "") + std::string(title.discipline->name)) return &c;
    }
    Category category;
    category.id = static_cast<int>(competition_.categories.size()) + 1;
    category.name = category.tvName = (title.junior ? "Junior " : "") + std::string(title.discipline->name);
    category.type = title.discipline->type;
    category.gender = title.discipline->gender;
    category.level = title.junior ? 'J' : 'S';
    competition_.categories.push_back(category);
    return &competition_.categories.back();
  }

  // "Judge 1" to "Judge N", N the largest panel of the file; one panel of
  // the first n of them per panel size n.
  bool addOfficials() {
    for (const ProtocolPerformance& p : protocol_.performances) judges_ = std::max(judges_, panelSize(p));
    for (int j = 1; j <= judges_; ++j) {
      RegisterEntry judge;
      judge.kind = RegisterEntry::Kind::kOfficial;
      judge.id = j;
      judge.given = "Judge";
      judge.family = std::to_string(j);
      competition_.registry.push_back(judge);
    }
    return true;
  }

  static int panelSize(const ProtocolPerformance& p) {
    int size = 0;
    const auto count = [&size](const auto& values) {
      for (int j = 0; j < kProtocolJudges; ++j) {
        if (values[j]) size = std::max(size, j + 1);
      }
    };
    for (const ProtocolElement& e : p.elements) count(e.grades);
    for (const ProtocolComponent& c : p.components) count(c.marks);
    return size;
  }

  void addNation(const std::string& code) {
    if (!code.empty() && nations_.insert(code).second) competition_.nations.push_back({code, code});
  }

  int person(const std::string& name, const std::string& nation, char gender, int line) {
    const auto found = persons_.find(name);
    if (found != persons_.end()) return found->second;
    RegisterEntry entry;
    entry.kind = RegisterEntry::Kind::kSkater;
    entry.id = nextPctId_++;
    splitName(name, &entry.given, &entry.family);
    entry.nation = nation;
    entry.gender = std::string(1, gender);
    entry.line = line;
    competition_.registry.push_back(entry);
    return persons_[name] = entry.id;
  }

  // The register entry of a skater or couple; couples are "A / B".
  int entrant(const ProtocolPerformance& p, char categoryType, char gender, int line) {
    const std::size_t slash = p.name.find(" / ");
    if (categoryType == 'S' || slash == std::string::npos) return person(p.name, p.nation, gender, line);
    const auto found = couples_.find(p.name);
    if (found != couples_.end()) return found->second;
    RegisterEntry couple;
    couple.kind = RegisterEntry::Kind::kCouple;
    couple.partner1 = person(p.name.substr(0, slash), p.nation, 'F', line);
    couple.partner2 = person(p.name.substr(slash + 3), p.nation, 'M', line);
    couple.id = nextPctId_++;
    couple.nation = p.nation;
    couple.line = line;
    competition_.registry.push_back(couple);
    return couples_[p.name] = couple.id;
  }

  Category& categoryOf(int scpId) {
    for (Category& c : competition_.categories) {
      if (c.id == scpId / 10) return c;
    }
    return competition_.categories.front();  // every segment identifier names a category
  }

  bool addPerformance(std::size_t index) {
    const ProtocolPerformance& p = protocol_.performances[index];
    const int scpId = segmentOf_[index];
    Category& category = categoryOf(scpId);
    const std::string where = "performance " + std::to_string(index + 1) + " (" + p.name + "): ";
    addNation(p.nation);
    const int pctId = entrant(p, category.type, category.gender, static_cast<int>(index) + 1);
    int parId = 0;
    for (const Entry& e : category.entries) {
      if (e.pctId == pctId) parId = e.parId;
    }
    if (parId == 0) {
      Entry entry;
      entry.parId = parId = nextParId_++;
      entry.pctId = pctId;
      category.entries.push_back(entry);
    }
    PerformanceResult r;
    r.prfId = static_cast<int>(result_.performances.size()) + 1;
    r.parId = parId;
    r.scpId = scpId;
    r.status = 'O';
    r.startNo = p.startNo;
    r.warmupGroup = 1;
    r.place = p.rank;
    r.scored = true;
    r.points = p.segmentScore;
    r.elementTotal = p.elementScore;
    r.componentTotal = p.componentScore;
    r.deductionTotal = p.deductions;
    r.deductions.fill(-1);
    r.deductions[0] = p.deductions;
    for (auto& votes : r.majorityVotes) votes.fill(kNoVote);
    for (std::size_t i = 0; i < p.elements.size(); ++i) {
      const ProtocolElement& e = p.elements[i];
      if (e.number != static_cast<int>(i) + 1) return fail(where + "elements are not numbered 1, 2, ...");
      ElementScore score;
      score.code = e.code;
      score.info = e.info;
      score.secondHalf = e.secondHalf;
      score.baseValue = e.baseValue;
      score.panel = e.goe;
      score.result = e.score;
      for (int j = 0; j < kJudgePositions; ++j) score.marks[j] = e.grades[j] ? *e.grades[j] + 4 : kNoGrade;
      r.elements.push_back(score);
    }
    for (std::size_t i = 0; i < p.components.size(); ++i) {
      const ProtocolComponent& c = p.components[i];
      ComponentScore score;
      score.slot = static_cast<int>(i) + 1;
      score.panel = c.score;
      score.factor = c.factor;
      score.result = factored(c.score, c.factor);
      for (int j = 0; j < kJudgePositions; ++j) score.marks[j] = c.marks[j] ? *c.marks[j] : kNoComponentMark;
      r.components.push_back(score);
    }
    for (const PerformanceResult& other : result_.performances) {
      if (other.scpId == scpId && (other.parId == parId || other.startNo == p.startNo)) {
        return fail(where + "a second performance of the entry or start number in its segment");
      }
    }
    result_.performances.push_back(r);
    return true;
  }

  // Components and factors, panel and warm-up group of every segment, from
  // its performances (all of which must show the same components).
  bool finishSegments() {
    for (Category& category : competition_.categories) {
      for (Segment& segment : category.segments) {
        const ProtocolPerformance* first = nullptr;
        int judges = 0, skaters = 0;
        for (std::size_t i = 0; i < protocol_.performances.size(); ++i) {
          if (segmentOf_[i] != segment.id) continue;
          const ProtocolPerformance& p = protocol_.performances[i];
          ++skaters;
          judges = std::max(judges, panelSize(p));
          if (first == nullptr) first = &p;
          if (!sameComponents(*first, p)) {
            return fail(category.name + " " + segment.name + ": " + p.name + " has other components");
          }
        }
        std::vector<ComponentDef>& defs = competition_.componentSets[segment.components];
        for (std::size_t c = 0; first != nullptr && c < first->components.size(); ++c) {
          const std::string name = componentName(first->components[c].name);
          defs.push_back({static_cast<int>(c) + 1, shortComponentName(name), name});
          segment.factors.push_back(first->components[c].factor);
        }
        segment.panel = "J" + std::to_string(judges);
        Panel& panel = competition_.panels[segment.panel];
        for (int j = 0; j < judges; ++j) panel.slots[j] = j + 1;
        segment.warmupMax = skaters;
        SegmentResult& done = result_.segments[segment.id];
        done.warmupSizes = {skaters};
      }
    }
    return true;
  }

  static bool sameComponents(const ProtocolPerformance& a, const ProtocolPerformance& b) {
    if (a.components.size() != b.components.size()) return false;
    for (std::size_t c = 0; c < a.components.size(); ++c) {
      if (a.components[c].name != b.components[c].name ||
          a.components[c].factor != b.components[c].factor) {
        return false;
      }
    }
    return true;
  }

  // Per entry: segment status, points and places, places after each
  // segment, total points and place.
  bool finishEntries(const Category& category) {
    std::map<int, ParticipantResult> done;
    for (const Entry& entry : category.entries) {
      ParticipantResult& r = done[entry.parId];
      for (std::size_t k = 0; k < category.segments.size(); ++k) {
        r.segmentStatus[k] = 'L';
        for (const PerformanceResult& p : result_.performances) {
          if (p.parId != entry.parId || p.scpId != category.segments[k].id) continue;
          r.segmentStatus[k] = 'O';
          r.points[k] = p.points;
          r.places[k] = p.place;
        }
      }
    }
    for (std::size_t k = 0; k < category.segments.size(); ++k) {
      for (auto& [parId, r] : done) {
        int sum = 0;
        for (std::size_t s = 0; s <= k; ++s) sum += r.points[s];
        int place = 1;
        for (const auto& [otherId, other] : done) {
          int otherSum = 0;
          for (std::size_t s = 0; s <= k; ++s) otherSum += other.points[s];
          if (otherSum > sum) ++place;
        }
        r.intermediatePlaces[k] = place;
        if (k + 1 == category.segments.size()) {
          r.totalPoints = sum;
          r.totalPlace = place;
        }
      }
    }
    for (auto& [parId, r] : done) result_.participants[parId] = r;
    return true;
  }

  const Protocol& protocol_;
  const std::string source_;
  Competition& competition_;
  ContestResult& result_;
  std::vector<int> segmentOf_;  // SCP_ID of each performance
  std::set<std::string> nations_;
  std::map<std::string, int> persons_, couples_;
  int judges_ = 0;
  int nextPctId_ = 101;
  int nextParId_ = 1;
  std::string fault_;
};

}  // namespace

bool protocolCompetition(const Protocol& protocol, const std::string& source,
                         Competition* competition, ContestResult* result, std::string* error) {
  return Builder(protocol, source, competition, result).build(error);
}

}  // namespace sample
}  // namespace tav
