#include "description_reader.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace tav {
namespace sample {
namespace {

// key -> value of the options of a line; positional words are skipped.
std::map<std::string, std::string> options(const std::vector<Word>& words) {
  std::map<std::string, std::string> found;
  for (const Word& w : words) {
    if (!w.key.empty()) found[w.key] = w.value;
  }
  return found;
}

std::vector<std::string> positionals(const std::vector<Word>& words) {
  std::vector<std::string> found;
  for (const Word& w : words) {
    if (w.key.empty()) found.push_back(w.value);
  }
  return found;
}

std::vector<std::string> splitText(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

// The options a line may carry; anything else is a typing error.
bool onlyKnownOptions(const std::vector<Word>& words, const std::string& allowed,
                      std::string* unknown) {
  const std::vector<std::string> names = splitText(allowed, ' ');
  for (const Word& w : words) {
    if (w.key.empty()) continue;
    bool known = false;
    for (const std::string& name : names) known = known || name == w.key;
    if (!known) {
      *unknown = w.key;
      return false;
    }
  }
  return true;
}

}  // namespace

bool splitDescriptionLine(const std::string& line, std::vector<Word>* words) {
  words->clear();
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size() || line[i] == '#') break;
    Word word;
    std::string text;
    bool inKey = true;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      if (line[i] == '"') {
        const std::size_t close = line.find('"', i + 1);
        if (close == std::string::npos) return false;
        text += line.substr(i + 1, close - i - 1);
        i = close + 1;
        continue;
      }
      if (line[i] == '=' && inKey && !text.empty()) {
        word.key = text;
        text.clear();
        inKey = false;
        ++i;
        continue;
      }
      text += line[i++];
    }
    word.value = text;
    words->push_back(word);
  }
  return true;
}

bool DescriptionReader::read(const std::string& path, Competition* competition,
                             std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = path + ": cannot be read";
    return false;
  }
  competition_ = competition;
  std::string text;
  line_ = 0;
  while (std::getline(in, text)) {
    ++line_;
    std::vector<Word> words;
    if (!splitDescriptionLine(text, &words)) {
      *error = path + ":" + std::to_string(line_) + ": unclosed quote";
      return false;
    }
    if (words.empty()) continue;
    if (!readLine(words)) {
      *error = path + ":" + std::to_string(line_) + ": " + error_;
      return false;
    }
  }
  return true;
}

bool DescriptionReader::fail(const std::string& reason) {
  error_ = reason;
  return false;
}

bool DescriptionReader::positional(const std::vector<Word>& words, std::size_t i,
                                   std::string* value) {
  const std::vector<std::string> values = positionals(words);
  if (i >= values.size()) return fail("missing value " + std::to_string(i) + " of " + values[0]);
  *value = values[i];
  return true;
}

bool DescriptionReader::number(const std::string& text, int* value) {
  try {
    std::size_t used = 0;
    *value = std::stoi(text, &used);
    if (used == text.size()) return true;
  } catch (const std::exception&) {
  }
  return fail("not a number: " + text);
}

// "8.5" with 2 decimals -> 850; "-1.2" with 1 decimal -> -12
bool DescriptionReader::fixedPoint(const std::string& text, int decimals, int* value) {
  const std::size_t point = text.find('.');
  std::string whole = text.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
  if (static_cast<int>(fraction.size()) > decimals) return fail("too many decimals: " + text);
  fraction.append(decimals - fraction.size(), '0');
  const bool negative = !whole.empty() && whole[0] == '-';
  if (negative || (!whole.empty() && whole[0] == '+')) whole.erase(0, 1);
  int integral = 0, part = 0;
  if (!number(whole.empty() ? "0" : whole, &integral)) return false;
  if (!fraction.empty() && !number(fraction, &part)) return false;
  int scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  *value = (integral * scale + part) * (negative ? -1 : 1);
  return true;
}

bool DescriptionReader::numberList(const std::string& text, std::vector<int>* values) {
  for (const std::string& part : splitText(text, ',')) {
    int n = 0;
    if (!number(part, &n)) return false;
    values->push_back(n);
  }
  return true;
}

// "2:100,5:50" -> {2: 100, 5: 50}
bool DescriptionReader::keyedNumbers(const std::string& text, std::map<int, int>* values) {
  for (const std::string& part : splitText(text, ',')) {
    const std::size_t colon = part.find(':');
    int key = 0, value = 0;
    if (colon == std::string::npos) return fail("expected number:value in " + text);
    if (!number(part.substr(0, colon), &key) || !number(part.substr(colon + 1), &value)) {
      return false;
    }
    (*values)[key] = value;
  }
  return true;
}

bool DescriptionReader::readLine(const std::vector<Word>& words) {
  const std::string& keyword = words[0].value;
  if (keyword == "seed") {
    std::string text;
    if (!positional(words, 1, &text)) return false;
    competition_->seed = std::stoull(text);
    return true;
  }
  if (keyword == "event") return readEvent(words);
  if (keyword == "nation") {
    Nation nation;
    if (!positional(words, 1, &nation.code) || !positional(words, 2, &nation.name)) return false;
    competition_->nations.push_back(nation);
    return true;
  }
  if (keyword == "abbrev") {
    std::string table, text, abbreviation;
    if (!positional(words, 1, &table) || !positional(words, 2, &text) ||
        !positional(words, 3, &abbreviation)) {
      return false;
    }
    if (table != "state" && table != "misc") return fail("abbrev table must be state or misc");
    (table == "state" ? competition_->stateAbbreviations : competition_->miscAbbreviations)
        .emplace_back(text, abbreviation);
    return true;
  }
  if (keyword == "club" || keyword == "official" || keyword == "skater" ||
      keyword == "couple" || keyword == "team") {
    return readRegister(words);
  }
  if (keyword == "element") return readElement(words);
  if (keyword == "group") {
    ElementGroup group;
    if (!positional(words, 1, &group.code) || !positional(words, 2, &group.description)) {
      return false;
    }
    competition_->groups.push_back(group);
    return true;
  }
  if (keyword == "detail") {
    ElementDetail detail;
    std::string group;
    if (!positional(words, 1, &group) || !positional(words, 2, &detail.element) ||
        !positional(words, 3, &detail.detail)) {
      return false;
    }
    detail.group = group[0];
    competition_->details.push_back(detail);
    return true;
  }
  if (keyword == "rule") {
    Rule rule;
    std::string id;
    if (!positional(words, 1, &id) || !number(id, &rule.id) || !positional(words, 2, &rule.name)) {
      return false;
    }
    competition_->rules.push_back(rule);
    return true;
  }
  if (keyword == "check") {
    std::string id, name, value;
    int ruleId = 0, limit = 0;
    if (!positional(words, 1, &id) || !number(id, &ruleId) || !positional(words, 2, &name) ||
        !positional(words, 3, &value) || !number(value, &limit)) {
      return false;
    }
    for (Rule& rule : competition_->rules) {
      if (rule.id == ruleId) {
        rule.checks.emplace_back(name, limit);
        return true;
      }
    }
    return fail("check of an unknown rule " + id);
  }
  if (keyword == "component") {
    std::string set, slot;
    ComponentDef component;
    if (!positional(words, 1, &set) || !positional(words, 2, &slot) ||
        !number(slot, &component.slot) || !positional(words, 3, &component.shortName) ||
        !positional(words, 4, &component.name)) {
      return false;
    }
    if (component.slot < 1 || component.slot > 10) return fail("component slot must be 1-10");
    competition_->componentSets[set].push_back(component);
    return true;
  }
  if (keyword == "deduction") {
    std::string set, number_text, factor;
    DeductionDef deduction;
    if (!positional(words, 1, &set) || !positional(words, 2, &number_text) ||
        !number(number_text, &deduction.number) || !positional(words, 3, &deduction.name) ||
        !positional(words, 4, &factor) || !number(factor, &deduction.factor)) {
      return false;
    }
    if (deduction.number < 1 || deduction.number > 17) return fail("deduction number must be 1-17");
    const std::vector<std::string> values = positionals(words);
    deduction.majority = values.size() > 5 && values[5] == "majority";
    competition_->deductionSets[set].push_back(deduction);
    return true;
  }
  if (keyword == "panel") return readPanel(words);
  if (keyword == "timing") return readTiming(words);
  if (keyword == "program") return readProgram(words);
  if (keyword == "category") return readCategory(words);
  if (keyword == "segment") return readSegment(words);
  if (keyword == "entry") return readEntry(words);
  if (keyword == "skate") return readSkate(words);
  return fail("unknown keyword " + keyword);
}

bool DescriptionReader::readEvent(const std::vector<Word>& words) {
  std::string unknown;
  if (!onlyKnownOptions(words, "regno begin end place titles venue intl", &unknown)) {
    return fail("unknown option " + unknown);
  }
  Event& event = competition_->event;
  std::string id;
  if (!positional(words, 1, &id) || !number(id, &event.id) || !positional(words, 2, &event.name)) {
    return false;
  }
  const auto o = options(words);
  event.regNo = o.count("regno") ? o.at("regno") : "";
  event.begin = o.count("begin") ? o.at("begin") : "";
  event.end = o.count("end") ? o.at("end") : "";
  event.place = o.count("place") ? o.at("place") : "";
  event.titles = o.count("titles") ? o.at("titles") : "";
  event.international = !o.count("intl") || o.at("intl") == "T";
  for (const Word& w : words) {
    if (w.key == "venue") event.venues.push_back(w.value);
  }
  return true;
}

bool DescriptionReader::readRegister(const std::vector<Word>& words) {
  std::string unknown;
  if (!onlyKnownOptions(words, "nat city gender club regno born sp fs", &unknown)) {
    return fail("unknown option " + unknown);
  }
  const std::string& keyword = words[0].value;
  RegisterEntry entry;
  entry.line = line_;
  std::string id;
  if (!positional(words, 1, &id) || !number(id, &entry.id)) return false;
  if (keyword == "club" || keyword == "team") {
    entry.kind = keyword == "club" ? RegisterEntry::Kind::kClub : RegisterEntry::Kind::kTeam;
    if (!positional(words, 2, &entry.name)) return false;
  } else if (keyword == "couple") {
    entry.kind = RegisterEntry::Kind::kCouple;
    std::string first, second;
    if (!positional(words, 2, &first) || !number(first, &entry.partner1) ||
        !positional(words, 3, &second) || !number(second, &entry.partner2)) {
      return false;
    }
  } else {
    entry.kind = keyword == "official" ? RegisterEntry::Kind::kOfficial
                                       : RegisterEntry::Kind::kSkater;
    if (!positional(words, 2, &entry.given) || !positional(words, 3, &entry.family)) return false;
  }
  const auto o = options(words);
  entry.nation = o.count("nat") ? o.at("nat") : "";
  entry.city = o.count("city") ? o.at("city") : "";
  entry.gender = o.count("gender") ? o.at("gender") : "";
  entry.regNo = o.count("regno") ? o.at("regno") : "";
  entry.born = o.count("born") ? o.at("born") : "";
  entry.spMusic = o.count("sp") ? o.at("sp") : "";
  entry.fsMusic = o.count("fs") ? o.at("fs") : "";
  if (o.count("club") && !number(o.at("club"), &entry.club)) return false;
  for (const RegisterEntry& other : competition_->registry) {
    if (other.id == entry.id) return fail("register id used twice: " + id);
  }
  competition_->registry.push_back(entry);
  return true;
}

bool DescriptionReader::readElement(const std::vector<Word>& words) {
  std::string unknown;
  if (!onlyKnownOptions(words, "type bv goe nolevel", &unknown)) {
    return fail("unknown option " + unknown);
  }
  ElementDef element;
  std::string group;
  if (!positional(words, 1, &group) || !positional(words, 2, &element.code) ||
      !positional(words, 3, &element.name)) {
    return false;
  }
  element.group = group[0];
  const auto o = options(words);
  if (!o.count("type") || !o.count("bv") || !o.count("goe")) {
    return fail("element needs type, bv and goe");
  }
  element.type = o.at("type")[0];
  if (!fixedPoint(o.at("bv"), 2, &element.baseValue)) return false;
  const std::vector<std::string> goe = splitText(o.at("goe"), '/');
  if (goe.size() != 2 || !fixedPoint(goe[0], 2, &element.goePlus) ||
      !fixedPoint(goe[1], 2, &element.goeMinus)) {
    return fail("goe must be plus/minus step, e.g. 0.7/0.7");
  }
  if (o.count("nolevel")) {
    element.noLevel = o.at("nolevel");
  } else {
    element.noLevel = element.code;
    while (!element.noLevel.empty() && std::isdigit(static_cast<unsigned char>(element.noLevel.back()))) {
      element.noLevel.pop_back();
    }
    if (element.noLevel.empty()) element.noLevel = element.code;
  }
  element.id = static_cast<int>(competition_->elements.size()) + 1;
  competition_->elements.push_back(element);
  return true;
}

bool DescriptionReader::readPanel(const std::vector<Word>& words) {
  std::string unknown;
  if (!onlyKnownOptions(words, "judges referee tc ts ats assistant deo video", &unknown)) {
    return fail("unknown option " + unknown);
  }
  std::string name;
  if (!positional(words, 1, &name)) return false;
  Panel panel;
  const auto o = options(words);
  std::vector<int> judges;
  if (!o.count("judges") || !numberList(o.at("judges"), &judges)) return fail("panel needs judges");
  if (judges.size() > 12) return fail("at most 12 judges");
  for (std::size_t i = 0; i < judges.size(); ++i) panel.slots[i] = judges[i];
  const std::pair<const char*, int> slots[] = {{"referee", 15}, {"tc", 16}, {"ts", 17},
                                              {"ats", 18}, {"assistant", 19}, {"deo", 20},
                                              {"video", 21}};
  for (const auto& [key, slot] : slots) {
    if (o.count(key) && !number(o.at(key), &panel.slots[slot])) return false;
  }
  competition_->panels[name] = panel;
  return true;
}

bool DescriptionReader::readTiming(const std::vector<Word>& words) {
  std::string unknown;
  if (!onlyKnownOptions(words, "warmup perform judging last resurface intro announce after",
                        &unknown)) {
    return fail("unknown option " + unknown);
  }
  std::string name;
  if (!positional(words, 1, &name)) return false;
  Timing timing;
  const auto o = options(words);
  const std::pair<const char*, std::string*> texts[] = {
      {"warmup", &timing.warmup},       {"perform", &timing.perform},
      {"judging", &timing.judging},     {"last", &timing.judgingLast},
      {"resurface", &timing.resurface}, {"intro", &timing.intro},
      {"announce", &timing.announce}};
  for (const auto& [key, target] : texts) {
    if (o.count(key)) *target = o.at(key);
  }
  if (o.count("after") && !numberList(o.at("after"), &timing.resurfaceAfter)) return false;
  competition_->timings[name] = timing;
  return true;
}

bool DescriptionReader::readProgram(const std::vector<Word>& words) {
  const std::vector<std::string> values = positionals(words);
  if (values.size() < 3) return fail("program needs a name and elements");
  Program program;
  for (std::size_t i = 2; i < values.size(); ++i) {
    const std::vector<std::string> parts = splitText(values[i], ':');
    ProgramElement element;
    element.code = parts[0];
    for (std::size_t k = 1; k < parts.size(); ++k) {
      if (parts[k] == "x") {
        element.secondHalf = true;
      } else {
        element.info += parts[k];
      }
    }
    program.elements.push_back(element);
  }
  if (program.elements.size() > 20) return fail("at most 20 elements");
  competition_->programs[values[1]] = program;
  return true;
}

bool DescriptionReader::readCategory(const std::vector<Word>& words) {
  std::string unknown;
  if (!onlyKnownOptions(words, "type gender level tv qualifying", &unknown)) {
    return fail("unknown option " + unknown);
  }
  Category category;
  std::string id;
  if (!positional(words, 1, &id) || !number(id, &category.id) ||
      !positional(words, 2, &category.name)) {
    return false;
  }
  const auto o = options(words);
  if (!o.count("type") || !o.count("gender") || !o.count("level")) {
    return fail("category needs type, gender and level");
  }
  category.type = o.at("type")[0];
  category.gender = o.at("gender")[0];
  category.level = o.at("level")[0];
  category.tvName = o.count("tv") ? o.at("tv") : "";
  category.qualifying = o.count("qualifying") && o.at("qualifying") == "T";
  competition_->categories.push_back(category);
  return true;
}

bool DescriptionReader::readSegment(const std::vector<Word>& words) {
  std::string unknown;
  if (!onlyKnownOptions(words,
                        "type state group venue date begin later timing panel components "
                        "factors general deductions rule time dance comment programs warmup "
                        "timeline tv planned",
                        &unknown)) {
    return fail("unknown option " + unknown);
  }
  if (competition_->categories.empty()) return fail("segment before any category");
  Category& category = competition_->categories.back();
  if (category.segments.size() == 6) return fail("at most 6 segments");
  Segment segment;
  std::string id;
  if (!positional(words, 1, &id) || !number(id, &segment.id) ||
      !positional(words, 2, &segment.shortName) || !positional(words, 3, &segment.name)) {
    return false;
  }
  const auto o = options(words);
  const auto text = [&o](const char* key) { return o.count(key) ? o.at(key) : std::string(); };
  if (!o.count("type") || !o.count("state")) return fail("segment needs type and state");
  segment.type = text("type")[0];
  const std::string state = text("state");
  if (state == "finished") {
    segment.state = Segment::State::kFinished;
  } else if (state.rfind("progress:", 0) == 0) {
    segment.state = Segment::State::kInProgress;
    if (!number(state.substr(9), &segment.skated)) return false;
  } else if (state == "drawn") {
    segment.state = Segment::State::kDrawn;
  } else if (state == "open") {
    segment.state = Segment::State::kOpen;
  } else if (state == "empty") {
    segment.state = Segment::State::kEmpty;
  } else {
    return fail("state must be finished, progress:N, drawn, open or empty");
  }
  if (o.count("group")) segment.group = text("group")[0];
  if (o.count("venue") && !number(text("venue"), &segment.venue)) return false;
  segment.date = text("date");
  segment.begin = text("begin");
  if (o.count("later")) {
    const std::vector<std::string> later = splitText(text("later"), '/');
    if (later.size() != 2 || !number(later[1], &segment.laterAfterGroup)) {
      return fail("later must be time/group");
    }
    segment.laterBegin = later[0];
  }
  segment.timing = text("timing");
  segment.panel = text("panel");
  segment.components = text("components");
  if (o.count("factors") && !numberList(text("factors"), &segment.factors)) return false;
  if (o.count("general") && !number(text("general"), &segment.generalFactor)) return false;
  segment.deductions = text("deductions");
  if (o.count("rule") && !number(text("rule"), &segment.rule)) return false;
  if (o.count("time")) {
    const std::vector<std::string> time = splitText(text("time"), '/');
    if (time.size() != 3 || time[0].size() != 1 || !number(time[1], &segment.seconds) ||
        !number(time[2], &segment.secondHalf)) {
      return fail("time must be kind/seconds/second-half-seconds");
    }
    segment.timeKind = time[0][0];
  }
  if (o.count("dance")) {
    const std::vector<std::string> dance = splitText(text("dance"), '/');
    if (dance.size() != 2) return fail("dance must be name/code");
    segment.danceName = dance[0];
    segment.danceCode = dance[1];
  }
  for (const Word& w : words) {
    if (w.key == "comment") segment.comments.push_back(w.value);
  }
  if (segment.comments.size() > 6) return fail("at most 6 comments");
  if (o.count("programs")) segment.programs = splitText(text("programs"), ',');
  if (o.count("warmup") && !number(text("warmup"), &segment.warmupMax)) return false;
  segment.storedTimeline = text("timeline") == "stored";
  segment.tvName = text("tv");
  if (o.count("planned") && !number(text("planned"), &segment.plannedCount)) return false;
  category.segments.push_back(segment);
  return true;
}

bool DescriptionReader::readEntry(const std::vector<Word>& words) {
  std::string unknown;
  if (!onlyKnownOptions(words, "goe pcs status withdrawn group", &unknown)) {
    return fail("unknown option " + unknown);
  }
  if (competition_->categories.empty()) return fail("entry before any category");
  Entry entry;
  std::string parId, pctId;
  if (!positional(words, 1, &parId) || !number(parId, &entry.parId) ||
      !positional(words, 2, &pctId) || !number(pctId, &entry.pctId)) {
    return false;
  }
  const auto o = options(words);
  if (o.count("goe") && !fixedPoint(o.at("goe"), 1, &entry.goeTenths)) return false;
  if (o.count("pcs") && !fixedPoint(o.at("pcs"), 2, &entry.pcs)) return false;
  if (o.count("status")) entry.status = o.at("status")[0];
  if (std::string("ADNQRW").find(entry.status) == std::string::npos) {
    return fail("status must be one of A D N Q R W");
  }
  if (o.count("withdrawn") && !number(o.at("withdrawn"), &entry.withdrawnBefore)) return false;
  if (entry.status == 'R' && entry.withdrawnBefore < 1) {
    return fail("a withdrawn entry needs withdrawn=<segment ordinal>");
  }
  if (o.count("group")) entry.group = o.at("group")[0];
  competition_->categories.back().entries.push_back(entry);
  return true;
}

bool DescriptionReader::readSkate(const std::vector<Word>& words) {
  std::string unknown;
  if (!onlyKnownOptions(words, "program goe pcs fall ded bonus eded invalid", &unknown)) {
    return fail("unknown option " + unknown);
  }
  std::string scp, par;
  int scpId = 0, parId = 0;
  if (!positional(words, 1, &scp) || !number(scp, &scpId) || !positional(words, 2, &par) ||
      !number(par, &parId)) {
    return false;
  }
  PerformanceNote note;
  const auto o = options(words);
  if (o.count("program")) note.program = o.at("program");
  if (o.count("goe")) {
    note.hasGoe = true;
    if (!fixedPoint(o.at("goe"), 1, &note.goeTenths)) return false;
  }
  if (o.count("pcs")) {
    note.hasPcs = true;
    if (!fixedPoint(o.at("pcs"), 2, &note.pcs)) return false;
  }
  if (o.count("fall") && !numberList(o.at("fall"), &note.falls)) return false;
  if (o.count("invalid") && !numberList(o.at("invalid"), &note.invalid)) return false;
  if (o.count("ded") && !keyedNumbers(o.at("ded"), &note.deductions)) return false;
  if (o.count("bonus") && !keyedNumbers(o.at("bonus"), &note.bonuses)) return false;
  if (o.count("eded") && !keyedNumbers(o.at("eded"), &note.elementDeductions)) return false;
  if (!competition_->notes.emplace(std::make_pair(scpId, parId), note).second) {
    return fail("performance described twice");
  }
  return true;
}

}  // namespace sample
}  // namespace tav
