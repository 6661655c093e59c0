#include "large_competition.h"

#include <algorithm>
#include <map>
#include <vector>

namespace tav {
namespace sample {
namespace {

// Templates: the first category of the sample of each type whose segments
// all have programs.
std::vector<Category> templatesOf(const Competition& sample) {
  std::vector<Category> found;
  for (const Category& category : sample.categories) {
    bool usable = !category.segments.empty();
    for (const Segment& segment : category.segments) {
      usable = usable && !segment.programs.empty() && segment.group == ' ';
    }
    bool newKind = true;
    for (const Category& other : found) {
      newKind = newKind && !(other.type == category.type && other.gender == category.gender);
    }
    if (usable && newKind) found.push_back(category);
  }
  return found;
}

// A pronounceable second family name for round `n` (1, 2, ...): syllables
// from the digits of n in base 16, the first letter a capital.
std::string madeUpName(std::size_t n) {
  static const char* const kSyllables[] = {"ba", "ke", "lo", "mi", "nu", "ra", "se", "to",
                                           "vi", "zo", "da", "fe", "gu", "ha", "jo", "pe"};
  std::string name;
  do {
    name += kSyllables[n % 16];
    n /= 16;
  } while (n > 0);
  name += "n";
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

}  // namespace

bool scaleCompetition(const Scale& scale, Competition* competition, std::string* error) {
  const std::vector<Category> templates = templatesOf(*competition);
  std::vector<const RegisterEntry*> skaters, officials;
  for (const RegisterEntry& entry : competition->registry) {
    if (entry.kind == RegisterEntry::Kind::kSkater) skaters.push_back(&entry);
  }
  std::vector<RegisterEntry> clubs, keep;
  for (const RegisterEntry& entry : competition->registry) {
    if (entry.kind == RegisterEntry::Kind::kClub) clubs.push_back(entry);
    if (entry.kind == RegisterEntry::Kind::kClub || entry.kind == RegisterEntry::Kind::kOfficial) {
      keep.push_back(entry);
    }
  }
  if (templates.empty() || skaters.empty() || clubs.empty() || competition->nations.empty()) {
    *error = "the description gives no categories, skaters, clubs or nations to copy";
    return false;
  }

  std::vector<RegisterEntry> registry = keep;
  int nextPct = 100000;
  int regNo = 500000;
  std::size_t nameTurn = 0;
  std::map<std::string, std::vector<const RegisterEntry*>> byGender;
  for (const RegisterEntry* skater : skaters) byGender[skater->gender].push_back(skater);
  const auto newPerson = [&](const std::string& gender) {
    const std::vector<const RegisterEntry*>& names =
        byGender[gender].empty() ? skaters : byGender[gender];
    // Every given name meets every family name once per round; from the
    // second round on the family name is double-barrelled with a made-up
    // second part, so names stay nearly unique as in a real register.
    const RegisterEntry& given = *names[nameTurn % names.size()];
    const std::size_t pairing = nameTurn / names.size();
    const RegisterEntry& family = *skaters[(pairing + 3) % skaters.size()];
    const std::size_t round = pairing / skaters.size();
    ++nameTurn;
    RegisterEntry person;
    person.kind = RegisterEntry::Kind::kSkater;
    person.id = ++nextPct;
    person.given = given.given;
    person.family = family.family + (round == 0 ? std::string() : "-" + madeUpName(round));
    person.gender = gender;
    person.nation = competition->nations[nameTurn % competition->nations.size()].code;
    person.club = clubs[nameTurn % clubs.size()].id;
    person.regNo = std::to_string(++regNo);
    person.born = "1996" + std::string(nameTurn % 12 < 9 ? "0" : "") +
                  std::to_string(nameTurn % 12 + 1) + "15";
    person.spMusic = given.spMusic;
    person.fsMusic = given.fsMusic;
    registry.push_back(person);
    return person.id;
  };

  competition->categories.clear();
  competition->notes.clear();
  int parId = 0;
  for (int c = 0; c < scale.categories; ++c) {
    Category category = templates[c % templates.size()];
    category.id = c + 1;
    category.name = category.name + " " + std::to_string(c / templates.size() + 1);
    category.entries.clear();
    for (std::size_t k = 0; k < category.segments.size(); ++k) {
      Segment& segment = category.segments[k];
      segment.id = (c + 1) * 10 + static_cast<int>(k) + 1;
      segment.state = Segment::State::kFinished;
      segment.storedTimeline = false;
      segment.warmupMax = std::max(segment.warmupMax, (scale.entries + 24) / 25);
    }
    for (int e = 0; e < scale.entries; ++e) {
      Entry entry;
      entry.parId = ++parId;
      entry.goeTenths = (e * 37) % 25 - 5;
      entry.pcs = 450 + 25 * ((e * 13) % 17);
      if (category.type == 'S') {
        entry.pctId = newPerson(category.gender == 'M' ? "M" : "F");
      } else {
        RegisterEntry group;
        group.id = ++nextPct;
        group.nation = competition->nations[e % competition->nations.size()].code;
        if (category.type == 'T') {
          group.kind = RegisterEntry::Kind::kTeam;
          group.name = "Team " + std::to_string(group.id);
          group.club = clubs[e % clubs.size()].id;
          group.regNo = std::to_string(++regNo);
        } else {
          group.kind = RegisterEntry::Kind::kCouple;
          group.partner1 = newPerson("F");
          group.partner2 = newPerson("M");
        }
        registry.push_back(group);
        entry.pctId = group.id;
      }
      category.entries.push_back(entry);
    }
    competition->categories.push_back(category);
  }
  while (static_cast<int>(registry.size()) < scale.registerSize) newPerson(nameTurn % 2 ? "F" : "M");
  competition->registry = registry;
  competition->event.name = "Large Generated Event";
  return true;
}

}  // namespace sample
}  // namespace tav
