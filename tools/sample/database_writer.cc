#include "database_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "register_names.h"

namespace tav {
namespace sample {
namespace {

namespace fs = std::filesystem;

// Tables this writer fills; the schema must have every one of them.
const char* const kFilledTables[] = {"CAT", "CFG", "DGR", "ELL", "ELM", "EVT", "JPS", "NAT", "OPE", "PAR",
                                     "PCT", "PEL", "PJS", "PRF", "SCP", "TIM", "TTM", "WBG", "WBP"};

// Tables that get an index companion when indexes are asked for.
const char* const kIndexedTables[] = {"CAT", "ELM", "EVT", "NAT", "PAR", "PCT", "PRF", "SCP"};

// "PRF_E00J00" with 3 and 7 -> PRF_E03J07 (two-digit runs in this schema).
std::string numbered(const std::string& pattern, int first, int second = -1) {
  std::vector<int> numbers{first};
  if (second >= 0) numbers.push_back(second);
  std::string name, error;
  expandFieldPattern(pattern, numbers, &name, &error);
  return name;
}

std::string functionCode(int slot, char categoryType) {
  if (slot < 12) return "J" + std::to_string(slot + 1);
  switch (slot) {
    case 15: return "REF";
    case 16: return "TC";
    case 17: return "TS";
    case 18: return "ATS";
    case 19: return categoryType == 'T' ? "IREF" : "AREF";
    case 20: return "DEO";
    case 21: return "VRO";
    default: return "ERR";
  }
}

std::string functionName(int slot, char categoryType) {
  if (slot < 12) return "Judge";
  switch (slot) {
    case 15: return "Referee";
    case 16: return "Technical Controller";
    case 17: return "Technical Specialist";
    case 18: return "Assistant Technical Specialist";
    case 19: return categoryType == 'T' ? "Ice Level Referee" : "Assistant Referee";
    case 20: return "Data Entry Operator";
    case 21: return "Video Replay Operator";
    default: return "Official";
  }
}

// Opaque bytes standing in for the scoring program's index file.
std::string indexBytes(const std::string& code) {
  std::string bytes = "tavC sample index " + code;
  bytes.resize(32, '\0');
  unsigned long long state = 0xCD0000ULL;
  for (char c : code) state = state * 131 + static_cast<unsigned char>(c);
  while (bytes.size() < 1024) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    bytes += static_cast<char>(state >> 56);
  }
  return bytes;
}

bool writeBytes(const std::string& path, const std::string& bytes, std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    *error = path + ": cannot be written";
    return false;
  }
  return true;
}

// Writes into folder + ".new" and then puts that folder in place of `folder`.
template <typename Fill>
bool replaceFolder(const std::string& folder, std::string* error, Fill fill) {
  const fs::path target(folder);
  const fs::path fresh(folder + ".new");
  std::error_code ec;
  fs::remove_all(fresh, ec);
  fs::create_directories(fresh, ec);
  if (ec) {
    *error = fresh.string() + ": " + ec.message();
    return false;
  }
  if (!fill(fresh.string())) {
    fs::remove_all(fresh, ec);
    return false;
  }
  fs::remove_all(target, ec);
  fs::rename(fresh, target, ec);
  if (ec) {
    *error = target.string() + ": " + ec.message();
    return false;
  }
  return true;
}

std::string flag(bool value) { return value ? "T" : "F"; }

}  // namespace

DatabaseWriter::DatabaseWriter(const Schema& schema, const Competition& competition,
                               const ContestResult& result)
    : schema_(schema), competition_(competition), result_(result) {
  for (const TableLayout& layout : schema_.tables()) {
    tables_[layout.code] = std::make_unique<TableWriter>(layout);
  }
  for (const RegisterEntry& entry : competition_.registry) registry_[entry.id] = &entry;
}

TableWriter& DatabaseWriter::table(const std::string& code) { return *tables_.at(code); }

const RegisterEntry* DatabaseWriter::registered(int id) const {
  const auto found = registry_.find(id);
  return found == registry_.end() ? nullptr : found->second;
}

std::string DatabaseWriter::nameOf(int id) const {
  const RegisterEntry* entry = registered(id);
  return entry == nullptr ? std::string() : entry->name;
}

int DatabaseWriter::nationId(const std::string& code) const {
  for (std::size_t i = 0; i < competition_.nations.size(); ++i) {
    if (competition_.nations[i].code == code) return static_cast<int>(i) + 1;
  }
  return 0;
}

bool DatabaseWriter::build(std::string* error) {
  for (const char* code : kFilledTables) {
    if (schema_.find(code) == nullptr) {
      *error = std::string("the schema has no table ") + code;
      return false;
    }
  }
  fillConfiguration();
  fillNations();
  fillRegister();
  fillPlannedElements();
  fillElements();
  fillRules();
  fillEvent();
  fillCategories();
  fillPerformances();
  for (const Category& category : competition_.categories) {
    fillSegments(category);
    fillParticipants(category);
    fillTiming(category);
    fillPanels(category);
  }
  if (!fault_.empty()) {
    *error = fault_;
    return false;
  }
  for (const auto& [code, writer] : tables_) {
    if (!writer->fault().empty()) {
      *error = writer->fault();
      return false;
    }
  }
  return true;
}

void DatabaseWriter::fillConfiguration() {
  TableWriter& cfg = table("CFG");
  cfg.add(cfg.record().set("CFG_ID", 1).set("CFG_DBFVER", "11135").set("CFG_PROG", "tavC sample"));
}

void DatabaseWriter::fillNations() {
  TableWriter& nat = table("NAT");
  int id = 0;
  for (const Nation& nation : competition_.nations) {
    nat.add(nat.record()
                .set("NAT_ID", ++id)
                .set("NAT_OMF", nation.code)
                .set("NAT_NAME", nation.name)
                .set("NAT_SORT", upperText(nation.name)));
  }
}

void DatabaseWriter::fillRegister() {
  TableWriter& pct = table("PCT");
  const RegisterNames names(pct.layout());
  for (const RegisterEntry& entry : competition_.registry) {
    TableWriter::Record record = pct.record();
    std::map<std::string, std::string> derived;
    record.set("PCT_ID", entry.id).set("PCT_STAT", "A").set("PCT_COMPOF", "a");
    record.set("PCT_ALREP", 0).set("PCT_PALREP", 0);
    record.set("PCT_COMENT", competition_.source + "-" + std::to_string(entry.line));
    record.set("PCT_NAT", entry.nation).set("PCT_NATID", nationId(entry.nation));
    record.set("PCT_PNATID", 0);
    int odryt = 0;
    switch (entry.kind) {
      case RegisterEntry::Kind::kClub:
        record.set("PCT_TYPE", "CLU").set("PCT_GENDER", "M").set("PCT_CLBID", 0);
        derived = names.named(entry.name, "", true);
        break;
      case RegisterEntry::Kind::kTeam:
        record.set("PCT_TYPE", "PTS").set("PCT_CLBID", entry.club).set("PCT_REGNO", entry.regNo);
        record.set("PCT_SPMNAM", entry.spMusic).set("PCT_FSMNAM", entry.fsMusic);
        record.set("PCT_PCTID", 0).set("PCT_PPCTID", 0).set("PCT_PCLBID", 0);
        derived = names.named(entry.name, nameOf(entry.club), false);
        break;
      case RegisterEntry::Kind::kOfficial:
        record.set("PCT_TYPE", "PER").set("PCT_AFUNCT", "JDG").set("PCT_RESCIT", entry.city);
        record.set("PCT_GENDER", entry.gender).set("PCT_REGNO", entry.regNo);
        record.set("PCT_PCTID", 0).set("PCT_PPCTID", 0).set("PCT_PCLBID", 0).set("PCT_CLBID", 0);
        derived = names.person(entry, entry.city);
        break;
      case RegisterEntry::Kind::kSkater:
        record.set("PCT_TYPE", "PER").set("PCT_AFUNCT", "CMP").set("PCT_GENDER", entry.gender);
        record.set("PCT_REGNO", entry.regNo).set("PCT_BDATE", entry.born);
        record.set("PCT_CLBID", entry.club).set("PCT_RESCIT", entry.city);
        record.set("PCT_SPMNAM", entry.spMusic).set("PCT_FSMNAM", entry.fsMusic);
        record.set("PCT_PCTID", 0).set("PCT_PPCTID", 0).set("PCT_PCLBID", 0);
        derived = names.person(entry, nameOf(entry.club));
        break;
      case RegisterEntry::Kind::kCouple: {
        const RegisterEntry* first = registered(entry.partner1);
        const RegisterEntry* second = registered(entry.partner2);
        if (first == nullptr || second == nullptr) {
          if (fault_.empty()) fault_ = "couple " + std::to_string(entry.id) + " names an unknown partner";
          continue;
        }
        odryt = 48;
        record.set("PCT_TYPE", "COU").set("PCT_GENDER", "M");
        record.set("PCT_PCTID", first->id).set("PCT_PPCTID", second->id);
        record.set("PCT_CLBID", first->club).set("PCT_PCLBID", second->club);
        record.set("PCT_PNATID", nationId(second->nation));
        record.set("PCT_SPMNAM", entry.spMusic).set("PCT_FSMNAM", entry.fsMusic);
        derived = names.couple(*first, *second, nameOf(first->club), nameOf(second->club));
        break;
      }
    }
    for (int k = 1; k <= 3; ++k) record.set(numbered("PCT_ODRYT0", k), odryt);
    for (const auto& [field, value] : derived) record.set(field, value);
    pct.add(record);
  }
}

void DatabaseWriter::fillPlannedElements() {
  TableWriter& pel = table("PEL");
  int id = 0;
  for (const auto& [pctId, planned] : result_.planned) {
    TableWriter::Record record = pel.record();
    record.set("PEL_ID", ++id).set("PCT_ID", pctId);
    for (int program = 0; program < 2; ++program) {
      const std::string prefix = "PEL_" + std::to_string(program + 1);
      int n = 0;
      for (const auto& [code, secondHalf] : planned.programs[program]) {
        ++n;
        std::string noLevel;
        std::size_t start = 0;
        while (start <= code.size()) {  // each part without its level
          std::size_t plus = code.find('+', start);
          if (plus == std::string::npos) plus = code.size();
          std::string part = code.substr(start, plus - start);
          for (const ElementDef& e : competition_.elements) {
            if (e.code == part) {
              part = e.noLevel;
              break;
            }
          }
          noLevel += (start == 0 ? "" : "+") + part;
          start = plus + 1;
        }
        record.set(numbered(prefix + "NAE00", n), code);
        record.set(numbered(prefix + "NLE00", n), noLevel);
        record.set(numbered(prefix + "TRA00", n), secondHalf ? "x" : "");
      }
    }
    pel.add(record);
  }
}

void DatabaseWriter::fillElements() {
  TableWriter& elm = table("ELM");
  for (const ElementDef& e : competition_.elements) {
    elm.add(elm.record()
                .set("ELM_ID", e.id)
                .set("ELM_GROUP", std::string(1, e.group))
                .set("ELM_SNAME", e.code)
                .set("ELM_SNAMWL", e.noLevel)
                .set("ELM_NAME", e.name)
                .set("ELM_TYPE", std::string(1, e.type))
                .set("ELM_BV", e.baseValue)
                .set("ELM_GOEP", e.goePlus)
                .set("ELM_GOEM", e.goeMinus));
  }
  TableWriter& ell = table("ELL");
  int id = 0;
  for (const ElementDetail& d : competition_.details) {
    int elementId = 0;
    for (const ElementDef& e : competition_.elements) {
      if (e.group == d.group && e.code == d.element) elementId = e.id;
    }
    if (elementId == 0 && fault_.empty()) fault_ = "detail of an unknown element " + d.element;
    ell.add(ell.record().set("ELL_ID", ++id).set("ELL_ELM_ID", elementId).set("ELL_DETAIL", d.detail));
  }
  TableWriter& dgr = table("DGR");
  id = 0;
  for (const ElementGroup& g : competition_.groups) {
    dgr.add(dgr.record().set("DGR_ID", ++id).set("DGR_NAME", g.code).set("DGR_DESC", g.description));
  }
}

void DatabaseWriter::fillRules() {
  TableWriter& wbg = table("WBG");
  TableWriter& wbp = table("WBP");
  int id = 0;
  for (const Rule& rule : competition_.rules) {
    wbg.add(wbg.record().set("WBG_ID", rule.id).set("WBG_NAME", rule.name));
    for (const auto& [name, value] : rule.checks) {
      wbp.add(wbp.record()
                  .set("WBP_ID", ++id)
                  .set("WBG_ID", rule.id)
                  .set("WBP_RNAME", name)
                  .set("WBP_VALUE", value));
    }
  }
}

void DatabaseWriter::fillEvent() {
  const Event& event = competition_.event;
  TableWriter& evt = table("EVT");
  TableWriter::Record record = evt.record();
  record.set("EVT_ID", event.id)
      .set("EVT_NAME", event.name)
      .set("EVT_REGNO", event.regNo)
      .set("EVT_BEGDAT", event.begin)
      .set("EVT_ENDDAT", event.end)
      .set("EVT_PLACE", event.place)
      .set("EVT_EXTDT", event.titles)
      .set("EVT_INTL", flag(event.international));
  for (std::size_t i = 0; i < event.venues.size(); ++i) {
    record.set(i == 0 ? std::string("EVT_R1NAM") : numbered("EVT_TITLE0", static_cast<int>(i)),
               event.venues[i]);
  }
  evt.add(record);
  TableWriter& ope = table("OPE");
  std::set<int> seen;
  int id = 0;
  for (const Category& category : competition_.categories) {
    for (const Segment& segment : category.segments) {
      const auto panel = competition_.panels.find(segment.panel);
      if (panel == competition_.panels.end()) continue;
      for (int slot = 0; slot < 22; ++slot) {
        const int pctId = panel->second.slots[slot];
        if (pctId <= 0 || !seen.insert(pctId).second) continue;
        ope.add(ope.record()
                    .set("OPE_ID", ++id)
                    .set("EVT_ID", event.id)
                    .set("PCT_ID", pctId)
                    .set("OPE_FUNCT", functionName(slot, category.type)));
      }
    }
  }
}

void DatabaseWriter::fillCategories() {
  TableWriter& cat = table("CAT");
  for (const Category& category : competition_.categories) {
    TableWriter::Record record = cat.record();
    record.set("CAT_ID", category.id)
        .set("EVT_ID", competition_.event.id)
        .set("CAT_NAME", category.name)
        .set("CAT_TVNAME", category.tvName)
        .set("CAT_TYPE", std::string(1, category.type))
        .set("CAT_GENDER", std::string(1, category.gender))
        .set("CAT_LEVEL", std::string(1, category.level))
        .set("CAT_NDPP", 0)
        .set("CAT_QUALIF", flag(category.qualifying));
    for (std::size_t k = 0; k < category.segments.size(); ++k) {
      record.set(numbered("CAT_SCPID0", static_cast<int>(k) + 1), category.segments[k].id);
    }
    cat.add(record);
  }
}

void DatabaseWriter::fillSegments(const Category& category) {
  TableWriter& scp = table("SCP");
  for (const Segment& segment : category.segments) {
    const SegmentResult& done = result_.segments.at(segment.id);
    TableWriter::Record record = scp.record();
    record.set("SCP_ID", segment.id)
        .set("CAT_ID", category.id)
        .set("SCP_NAME", segment.name)
        .set("SCP_SNAM", segment.shortName)
        .set("SCP_TVNAME", segment.tvName)
        .set("SCP_TYPE", std::string(1, segment.type))
        .set("SCP_GROUP", segment.group == ' ' ? "" : std::string(1, segment.group))
        .set("SCP_CRFRGN", segment.generalFactor)
        .set("SCP_OFPTIM", std::string(1, segment.timeKind))
        .set("SCP_OFPTLI", segment.seconds)
        .set("SCP_OFPT2H", segment.secondHalf)
        .set("SCP_NAMD", segment.danceName)
        .set("SCP_DANCE", segment.danceCode)
        .set("SCP_EXTDT", segment.venue)
        .set("SCP_WBG_ID", segment.rule);
    const auto panel = competition_.panels.find(segment.panel);
    if (panel == competition_.panels.end()) {
      if (fault_.empty()) fault_ = "segment " + std::to_string(segment.id) + ": unknown panel";
    } else {
      for (int slot = 0; slot < 22; ++slot) {
        const int pctId = panel->second.slots[slot];
        if (pctId <= 0) continue;
        const RegisterEntry* official = registered(pctId);
        if (official == nullptr && fault_.empty()) fault_ = "panel names unknown official " + std::to_string(pctId);
        record.set(numbered("SCP_JID00", slot + 1), pctId);
        record.set(numbered("SCP_JNAT00", slot + 1), official ? official->nation : "");
      }
    }
    const auto deductions = competition_.deductionSets.find(segment.deductions);
    if (deductions != competition_.deductionSets.end()) {
      for (const DeductionDef& d : deductions->second) {
        record.set(numbered("SCP_DEFR00", d.number), d.factor);
        record.set(numbered("SCP_DEDU00", d.number), d.name);
      }
    }
    for (int k = 0; k < 3; ++k) {
      if (done.majorityIndexes[k] >= 0) record.set(numbered("SCP_DEMJ00", k + 1), done.majorityIndexes[k]);
    }
    const auto components = competition_.componentSets.find(segment.components);
    if (components != competition_.componentSets.end()) {
      for (std::size_t c = 0; c < components->second.size(); ++c) {
        const ComponentDef& def = components->second[c];
        const int factor = segment.factors.size() == 1 ? segment.factors[0]
                           : c < segment.factors.size() ? segment.factors[c] : 0;
        record.set(numbered("SCP_CRFR00", def.slot), factor);
        record.set(numbered("SCP_CRIT00", def.slot), def.name);
        record.set(numbered("SCP_CRSH00", def.slot), def.shortName);
      }
    }
    for (std::size_t g = 0; g < done.warmupSizes.size(); ++g) {
      record.set(numbered("SCP_WUG00", static_cast<int>(g) + 1), done.warmupSizes[g]);
    }
    for (std::size_t c = 0; c < segment.comments.size(); ++c) {
      record.set(numbered("SCP_COM0", static_cast<int>(c) + 1), segment.comments[c]);
    }
    scp.add(record);
  }
}

void DatabaseWriter::fillParticipants(const Category& category) {
  TableWriter& par = table("PAR");
  for (const Entry& entry : category.entries) {
    const ParticipantResult& done = result_.participants.at(entry.parId);
    const RegisterEntry* who = registered(entry.pctId);
    if (who == nullptr) {
      if (fault_.empty()) fault_ = "entry " + std::to_string(entry.parId) + " names unknown PCT_ID";
      continue;
    }
    int club = who->club, partnerClub = 0;
    if (who->kind == RegisterEntry::Kind::kCouple) {
      const RegisterEntry* first = registered(who->partner1);
      const RegisterEntry* second = registered(who->partner2);
      club = first ? first->club : 0;
      partnerClub = second ? second->club : 0;
    }
    TableWriter::Record record = par.record();
    record.set("PAR_ID", entry.parId)
        .set("CAT_ID", category.id)
        .set("PCT_ID", entry.pctId)
        .set("PAR_CLBID", club)
        .set("PAR_PCLBID", partnerClub)
        .set("PAR_NAT", who->nation)
        .set("PAR_GROUP", entry.group == ' ' ? "" : std::string(1, entry.group))
        .set("PAR_STAT", std::string(1, entry.status))
        .set("PAR_TPOINT", done.totalPoints)
        .set("PAR_TPLACE", done.totalPlace);
    for (std::size_t k = 0; k < category.segments.size(); ++k) {
      const int n = static_cast<int>(k) + 1;
      record.set(numbered("PAR_STAT0", n), std::string(1, done.segmentStatus[k]));
      record.set(numbered("PAR_POINT0", n), done.points[k]);
      record.set(numbered("PAR_PLACE0", n), done.places[k]);
      record.set(numbered("PAR_IPLAC0", n), done.intermediatePlaces[k]);
    }
    par.add(record);
  }
}

void DatabaseWriter::fillPerformances() {
  TableWriter& prf = table("PRF");
  for (const PerformanceResult& p : result_.performances) {
    TableWriter::Record record = prf.record();
    record.set("PRF_ID", p.prfId)
        .set("PAR_ID", p.parId)
        .set("SCP_ID", p.scpId)
        .set("PRF_STAT", std::string(1, p.status))
        .set("PRF_STNUM", p.startNo)
        .set("PRF_STGNUM", p.warmupGroup)
        .set("PRF_PLACE", p.place)
        .set("PRF_POINTS", p.points)
        .set("PRF_M1TOT", p.elementTotal)
        .set("PRF_M2TOT", p.componentTotal)
        .set("PRF_BONUSP", p.bonus);
    for (std::size_t i = 0; i < p.plannedInPerformance.size(); ++i) {
      record.set(numbered("PRF_PNAE00", static_cast<int>(i) + 1), p.plannedInPerformance[i]);
    }
    if (!p.scored) {
      prf.add(record);
      continue;
    }
    for (std::size_t i = 0; i < p.elements.size(); ++i) {
      const ElementScore& e = p.elements[i];
      const int n = static_cast<int>(i) + 1;
      record.set(numbered("PRF_XCFE00", n), "X")
          .set(numbered("PRF_XNAE00", n), e.code)
          .set(numbered("PRF_E00INF", n), e.info)
          .set(numbered("PRF_XBVE00", n), e.baseValue)
          .set(numbered("PRF_E00PNL", n), e.panel)
          .set(numbered("PRF_E00RES", n), e.result)
          .set(numbered("PRF_E00HLF", n), e.secondHalf ? 1 : 0)
          .set(numbered("PRF_E00DED", n), e.deduction)
          .set(numbered("PRF_E00BON", n), e.bonus);
      for (int j = 0; j < kJudgePositions; ++j) {
        record.set(numbered("PRF_E00J00", n, j + 1), e.marks[j]);
        record.set(numbered("PRF_E00D00", n, j + 1), e.judgeValues[j]);
      }
    }
    for (const ComponentScore& c : p.components) {
      const int n = c.slot - 1;
      for (int j = 0; j < kJudgePositions; ++j) record.set(numbered("PRF_C00J00", n, j + 1), c.marks[j]);
      record.set(numbered("PRF_C00PNL", n), c.panel).set(numbered("PRF_C00RES", n), c.result);
    }
    for (int d = 0; d < 18; ++d) {
      if (p.deductions[d] >= 0) record.set(numbered("PRF_DED00", d), p.deductions[d]);
    }
    for (int k = 0; k < 3; ++k) {
      for (int j = 0; j < 10; ++j) record.set(numbered("PRF_D00J00", k + 1, j + 1), p.majorityVotes[k][j]);
      record.set(numbered("PRF_D00J00", k + 1, 15), p.majorityVotes[k][10]);
    }
    prf.add(record);
  }
}

void DatabaseWriter::fillTiming(const Category& category) {
  TableWriter& tim = table("TIM");
  TableWriter& ttm = table("TTM");
  for (const Segment& segment : category.segments) {
    const auto timing = competition_.timings.find(segment.timing);
    if (timing == competition_.timings.end()) continue;
    const Timing& t = timing->second;
    TableWriter::Record record = tim.record();
    record.set("TIM_ID", static_cast<std::int64_t>(tim.size()) + 1)
        .set("SCP_ID", segment.id)
        .set("TIM_NAME", category.name + " - " + segment.name)
        .set("TIM_DATE", segment.date)
        .set("TIM_BEGTIM", segment.begin)
        .set("TIM_RESURF", t.resurface)
        .set("TIM_WARMUP", t.warmup)
        .set("TIM_PERFOR", t.perform)
        .set("TIM_JUDFST", t.judging)
        .set("TIM_JUDLST", t.judgingLast)
        .set("TIM_NUMPAR", segment.plannedCount)
        .set("TIM_INTROD", t.intro)
        .set("TIM_LSTWGR", t.announce)
        .set("TIM_BEGTI2", segment.laterBegin)
        .set("TIM_LGSTWG", segment.laterAfterGroup);
    for (std::size_t i = 0; i < t.resurfaceAfter.size() && i < 9; ++i) {
      record.set(numbered("TIM_RAGNM0", static_cast<int>(i) + 1), t.resurfaceAfter[i]);
    }
    tim.add(record);
    int sort = 0;
    for (const TimelineItem& item : result_.segments.at(segment.id).timeline) {
      ttm.add(ttm.record()
                  .set("TTM_ID", static_cast<std::int64_t>(ttm.size()) + 1)
                  .set("SCP_ID", segment.id)
                  .set("TTM_SORT", ++sort)
                  .set("TTM_TYPE", std::string(1, item.type))
                  .set("TTM_DATE", item.date)
                  .set("TTM_BEGTIM", item.begin)
                  .set("TTM_ENDTIM", item.end)
                  .set("PAR_ID", item.parId)
                  .set("PER_STNUM", item.startNo)
                  .set("PER_STGNUM", item.group));
    }
  }
}

void DatabaseWriter::fillPanels(const Category& category) {
  TableWriter& jps = table("JPS");
  TableWriter& pjs = table("PJS");
  for (const Segment& segment : category.segments) {
    const auto panel = competition_.panels.find(segment.panel);
    if (panel == competition_.panels.end()) continue;
    for (int slot = 0; slot < 22; ++slot) {
      const int pctId = panel->second.slots[slot];
      if (pctId <= 0) continue;
      const RegisterEntry* official = registered(pctId);
      const std::string nation = official ? official->nation : "";
      jps.add(jps.record()
                  .set("JPS_ID", static_cast<std::int64_t>(jps.size()) + 1)
                  .set("SCP_ID", segment.id)
                  .set("PCT_ID", pctId)
                  .set("JPS_TYPE", functionCode(slot, category.type))
                  .set("JPS_SLOT", slot + 1)
                  .set("JPS_NAT", nation));
      if (slot < 12) {
        pjs.add(pjs.record()
                    .set("PJS_ID", static_cast<std::int64_t>(pjs.size()) + 1)
                    .set("SCP_ID", segment.id)
                    .set("PCT_ID", pctId)
                    .set("PJS_TYPE", functionCode(slot, category.type))
                    .set("PJS_NAT", nation));
      }
    }
  }
}

std::map<std::string, std::size_t> DatabaseWriter::counts() const {
  std::map<std::string, std::size_t> found;
  for (const auto& [code, writer] : tables_) found[code] = writer->size();
  return found;
}

bool DatabaseWriter::writeDatabase(const std::string& folder, bool indexes,
                                   std::string* error) const {
  return replaceFolder(folder, error, [&](const std::string& fresh) {
    for (const TableLayout& layout : schema_.tables()) {
      if (!tables_.at(layout.code)->writeFile(fresh + "/" + layout.code + ".DBF", error)) return false;
    }
    if (indexes) {
      for (const char* code : kIndexedTables) {
        if (schema_.find(code) == nullptr) continue;
        if (!writeBytes(fresh + "/" + code + ".CDX", indexBytes(code), error)) return false;
      }
    }
    return true;
  });
}

bool DatabaseWriter::writeApplication(const std::string& folder, std::string* error) const {
  const auto fileText = [](const char* title,
                           const std::vector<std::pair<std::string, std::string>>& rows) {
    std::string text = std::string("# ") + title + "\n# word or words<TAB>abbreviation\n\n";
    for (const auto& [word, abbreviation] : rows) text += word + "\t" + abbreviation + "\n";
    return text;
  };
  return replaceFolder(folder, error, [&](const std::string& fresh) {
    std::string state, misc;
    if (!utf8ToWindows1252(fileText("State and province names", competition_.stateAbbreviations), &state) ||
        !utf8ToWindows1252(fileText("Other words", competition_.miscAbbreviations), &misc)) {
      *error = "abbreviations are not Windows-1252 text";
      return false;
    }
    return writeBytes(fresh + "/state_abbrev", state, error) &&
           writeBytes(fresh + "/misc_abbrev", misc, error);
  });
}

}  // namespace sample
}  // namespace tav
