// libFuzzer entry for the event tree: every input is one table file of a
// small competition.  Its first byte chooses which table it replaces (EVT,
// CAT, SCP, PAR, PRF, TIM, TTM); the other tables are a fixed, sound
// competition written once into a scratch folder.  The tables are loaded,
// the tree is built, and every node is asked for what the commands and the
// reports ask: status, stage, titles, result orders, file names, panel,
// deductions, components, start lists, times, comments, venues and score
// lists.  Any crash or sanitizer report is a finding; failures with a
// message are the expected answer to broken tables.
//
// With TAVC_EVENT_FUZZ_SEEDS=FOLDER the fuzzer first writes the sound tables
// as seeds into FOLDER (one file per table, its selector byte in front).
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "dbf/dbf_builder.h"
#include "event/event_tree.h"
#include "event/field_number.h"
#include "session/tav.h"

namespace {

using tav::DbfBuilder;
using tav::DbfFieldDef;

const char* const kReplaceable[] = {"EVT", "CAT", "SCP", "PAR", "PRF", "TIM", "TTM"};
const char* const kAll[] = {"EVT", "CAT", "SCP", "PAR", "PRF", "TIM", "TTM", "JPS", "PJS", "JES"};

void family(std::vector<DbfFieldDef>* fields, const char* pattern, int first, int last, char type,
            int length, int decimals = 0) {
  for (int i = first; i <= last; ++i) {
    fields->push_back({tav::numberedField(pattern, i), type, length, decimals});
  }
}

void family2(std::vector<DbfFieldDef>* fields, const char* pattern, int first, int last,
             int judges, char type, int length, int decimals = 0) {
  for (int i = first; i <= last; ++i) {
    for (int j = 1; j <= judges; ++j) {
      fields->push_back({tav::numberedField(pattern, i, j), type, length, decimals});
    }
  }
}

// The sound competition: one event, a singles category with two segments
// and three entries, one of them withdrawn after the first segment.
std::string table(const std::string& handle) {
  std::vector<DbfFieldDef> f;
  std::vector<std::vector<std::string>> rows;
  if (handle == "EVT") {
    f = {{"EVT_ID", 'N', 6}, {"EVT_NAME", 'C', 30}, {"EVT_REGNO", 'C', 10}, {"EVT_R1NAM", 'C', 20}};
    family(&f, "EVT_TITLE0", 1, 3, 'C', 20);
    rows = {{"1", "Cup", "R1", "Arena", "", "Rink 2", ""}};
  } else if (handle == "CAT") {
    f = {{"CAT_ID", 'N', 6}, {"EVT_ID", 'N', 6}, {"CAT_NAME", 'C', 20}, {"CAT_TVNAME", 'C', 10},
         {"CAT_TYPE", 'C', 1}, {"CAT_GENDER", 'C', 1}, {"CAT_LEVEL", 'C', 1}};
    family(&f, "CAT_SCPID0", 1, 6, 'N', 6);
    rows = {{"1", "1", "Men", "", "S", "M", "S", "11", "12", "0", "0", "0", "0"}};
  } else if (handle == "SCP") {
    f = {{"SCP_ID", 'N', 6}, {"CAT_ID", 'N', 6}, {"SCP_NAME", 'C', 20}, {"SCP_SNAM", 'C', 4},
         {"SCP_TVNAME", 'C', 10}, {"SCP_TYPE", 'C', 1}, {"SCP_GROUP", 'C', 1}};
    family(&f, "SCP_JID00", 1, 22, 'N', 6);
    family(&f, "SCP_JNAT00", 1, 22, 'C', 3);
    family(&f, "SCP_DEFR00", 1, 17, 'N', 4);
    family(&f, "SCP_DEDU00", 1, 17, 'C', 10);
    family(&f, "SCP_DEMJ00", 1, 3, 'N', 2);
    family(&f, "SCP_CRFR00", 1, 10, 'N', 4);
    family(&f, "SCP_CRIT00", 1, 10, 'C', 10);
    family(&f, "SCP_CRSH00", 1, 10, 'C', 3);
    f.push_back({"SCP_CRFRGN", 'N', 3, 0});
    family(&f, "SCP_WUG00", 1, 25, 'N', 2);
    f.insert(f.end(), {{"SCP_OFPTIM", 'C', 1}, {"SCP_OFPTLI", 'N', 4}, {"SCP_OFPT2H", 'N', 4},
                       {"SCP_NAMD", 'C', 10}, {"SCP_DANCE", 'C', 4}});
    family(&f, "SCP_COM0", 1, 6, 'C', 10);
    f.insert(f.end(), {{"SCP_EXTDT", 'N', 2}, {"SCP_WBG_ID", 'N', 4}});
    std::vector<std::string> sp = {"11", "1", "Short", "SP", "", "S", ""};
    for (int i = 1; i <= 22; ++i) sp.push_back(i <= 3 || i == 16 ? std::to_string(100 + i) : "0");
    for (int i = 1; i <= 22; ++i) sp.push_back("CAN");
    for (int i = 1; i <= 17; ++i) sp.push_back(i <= 3 ? "100" : "0");
    for (int i = 1; i <= 17; ++i) sp.push_back("Ded" + std::to_string(i));
    sp.insert(sp.end(), {"2", "3", "16"});
    for (int i = 1; i <= 10; ++i) sp.push_back(i <= 3 ? "133" : "0");
    for (int i = 1; i <= 10; ++i) sp.push_back("Comp" + std::to_string(i));
    for (int i = 1; i <= 10; ++i) sp.push_back("C" + std::to_string(i));
    sp.push_back("15");
    for (int i = 1; i <= 25; ++i) sp.push_back(i == 1 ? "3" : "0");
    sp.insert(sp.end(), {"M", "170", "0", "", "", "c1", "", "", "", "", "", "2", "1"});
    std::vector<std::string> fs = sp;
    fs[0] = "12";
    fs[2] = "Free";
    fs[3] = "FS";
    fs[5] = "F";
    rows = {sp, fs};
  } else if (handle == "PAR") {
    f = {{"PAR_ID", 'N', 6}, {"CAT_ID", 'N', 6}, {"PCT_ID", 'N', 6}, {"PAR_CLBID", 'N', 6},
         {"PAR_PCLBID", 'N', 6}, {"PAR_NAT", 'C', 3}, {"PAR_GROUP", 'C', 1}, {"PAR_STAT", 'C', 1}};
    family(&f, "PAR_STAT0", 1, 6, 'C', 1);
    family(&f, "PAR_POINT0", 1, 6, 'N', 7, 2);
    family(&f, "PAR_PLACE0", 1, 6, 'N', 3);
    family(&f, "PAR_IPLAC0", 1, 6, 'N', 3);
    f.insert(f.end(), {{"PAR_TPOINT", 'N', 7, 2}, {"PAR_TPLACE", 'N', 3}});
    auto entry = [](const char* id, const char* stat, const char* s1, const char* s2,
                    const char* p1, const char* place1) {
      std::vector<std::string> r = {id, "1", id, "0", "0", "", "", stat, s1, s2, "", "", "", ""};
      r.insert(r.end(), {p1, "", "", "", "", ""});
      r.insert(r.end(), {place1, "", "", "", "", ""});
      r.insert(r.end(), {place1, "", "", "", "", ""});
      r.insert(r.end(), {p1, place1});
      return r;
    };
    rows = {entry("1", "A", "O", "L", "55.10", "1"), entry("2", "A", "O", "L", "50.00", "2"),
            entry("3", "R", "O", "M", "40.25", "3")};
  } else if (handle == "PRF") {
    f = {{"PRF_ID", 'N', 6}, {"PAR_ID", 'N', 6}, {"SCP_ID", 'N', 6}, {"PRF_STAT", 'C', 1},
         {"PRF_STNUM", 'N', 3}, {"PRF_STGNUM", 'N', 2}, {"PRF_PLACE", 'N', 3},
         {"PRF_POINTS", 'N', 7, 2}, {"PRF_M1TOT", 'N', 7, 2}, {"PRF_M2TOT", 'N', 7, 2},
         {"PRF_BONUSP", 'N', 5}};
    family(&f, "PRF_XCFE00", 1, 20, 'C', 1);
    family(&f, "PRF_XNAE00", 1, 20, 'C', 12);
    family(&f, "PRF_E00INF", 1, 20, 'C', 3);
    family(&f, "PRF_XBVE00", 1, 20, 'N', 6, 2);
    family(&f, "PRF_E00WBP", 1, 20, 'C', 2);
    family2(&f, "PRF_E00J00", 1, 20, 10, 'N', 1);
    family(&f, "PRF_E00PNL", 1, 20, 'N', 6, 2);
    family(&f, "PRF_E00RES", 1, 20, 'N', 6, 2);
    family(&f, "PRF_E00HLF", 1, 20, 'N', 1);
    family(&f, "PRF_E00DED", 1, 20, 'N', 5, 2);
    family2(&f, "PRF_E00D00", 1, 20, 10, 'N', 5);
    family(&f, "PRF_E00BON", 1, 20, 'N', 5, 2);
    family2(&f, "PRF_C00J00", 0, 10, 10, 'N', 4);
    family(&f, "PRF_C00PNL", 0, 10, 'N', 5, 2);
    family(&f, "PRF_C00RES", 0, 10, 'N', 6, 2);
    family(&f, "PRF_DED00", 0, 17, 'N', 4);
    family2(&f, "PRF_D00J00", 1, 3, 15, 'N', 3);
    family(&f, "PRF_PNAE00", 1, 20, 'C', 8);
    auto perf = [&](const char* id, const char* par, const char* scp, const char* stat,
                    const char* startNo, const char* place) {
      std::vector<std::string> r(f.size());
      r[0] = id; r[1] = par; r[2] = scp; r[3] = stat; r[4] = startNo; r[5] = "1"; r[6] = place;
      r[7] = "55.10"; r[8] = "30.00"; r[9] = "25.10"; r[10] = "0";
      r[11] = "X";                 // PRF_XCFE01: element 1 executed
      r[31] = "3Lz+3T";            // PRF_XNAE01
      return r;
    };
    rows = {perf("1", "1", "11", "O", "2", "1"), perf("2", "2", "11", "O", "1", "2"),
            perf("3", "3", "11", "O", "3", "3"), perf("4", "1", "12", "L", "1", "0"),
            perf("5", "2", "12", "L", "2", "0"), perf("6", "3", "12", "M", "0", "0")};
  } else if (handle == "TIM") {
    f = {{"TIM_ID", 'N', 6}, {"SCP_ID", 'N', 6}, {"TIM_DATE", 'D', 8}, {"TIM_BEGTIM", 'C', 8},
         {"TIM_BEGTI2", 'C', 8}, {"TIM_LGSTWG", 'N', 2}};
    rows = {{"1", "11", "20141106", "10:00:00", "", "0"}};
  } else if (handle == "TTM") {
    f = {{"TTM_ID", 'N', 6}, {"SCP_ID", 'N', 6}};
    rows = {{"1", "12"}};
  } else {
    f = {{handle + "_ID", 'N', 6}, {"SCP_ID", 'N', 6}, {"PCT_ID", 'N', 6}, {handle + "_NAT", 'C', 3}};
    rows = {{"1", "11", "101", "CAN"}};
  }
  DbfBuilder builder(f);
  for (const auto& row : rows) builder.addRecord(row);
  return builder.bytes();
}

// The sound tables, made once.
const std::string& soundTable(const std::string& handle) {
  static std::map<std::string, std::string> made;
  auto it = made.find(handle);
  if (it == made.end()) it = made.emplace(handle, table(handle)).first;
  return it->second;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string scratchFolder() {
  char pattern[] = "/tmp/tavc-event-fuzz-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (made == nullptr) {
    std::fprintf(stderr, "no scratch folder\n");
    std::abort();
  }
  return made;
}

// Asks every node what the commands and reports ask; failures are fine.
void exercise() {
  using namespace tav;
  for (const auto& [evtId, event] : events().eventMap()) {
    std::vector<std::string> texts;
    event->getVenueList(&texts);
    for (int v = -1; v <= 5; ++v) event->getVenue(v, &texts.emplace_back());
    for (const auto& [catId, c] : event->categories()) {
      int finished = 0, segments = 0, id = 0;
      std::string marker, title, name;
      bool flag = false;
      c->getStatus(&finished, &marker, &segments);
      c->getResultTitle(0, &title, &flag);
      c->getOutFileBaseName('M', &name);
      c->getScpNames(&texts, &texts);
      for (int i = -1; i <= 6; ++i) c->getScpListId(i, &id);
      for (int slot = -2; slot <= 6; ++slot) {
        CategoryResults results;
        c->sortResults(slot, &results);
      }
      for (const auto& [parId, p] : c->participants()) {
        char letter = 0;
        int points = 0, place = 0;
        for (int slot = -1; slot <= 6; ++slot) {
          p->getSegStatus(slot, &letter);
          p->getSegPointIPlace(slot, &points, &place);
        }
        p->getHtmlStatus(true, &name);
      }
      for (const auto& [scpId, s] : c->segments()) {
        SegmentResults results;
        PanelList panel;
        DeductionFactors dedFactors{};
        ComponentFactors compFactors{};
        std::vector<int> ints;
        std::string a, b, d;
        MajorDeductionNames majorNames;
        int first = 0, second = 0, third = 0;
        s->sortResults(&results);
        s->getHtmlName(true, &name);
        s->getOutFileBaseName(-1, 'X', &name);
        for (int f = -1; f <= 4; ++f) s->getOffIds(c->getType(), -1, f, &panel);
        s->getValidDedIndexes(&dedFactors);
        s->getMajDedIndexes(&first, &second, &third);
        s->getMajDedNames(first, second, third, &majorNames);
        s->getDedNames(dedFactors, &texts);
        s->getValidCompIndexes(true, &compFactors);
        s->getCompNames(compFactors, &texts, &texts);
        s->getWarmupGroups(&ints);
        s->getStartList(&ints);
        s->getStartOrder({1, 2, 3, -1}, &ints);
        s->getNumSk(&first);
        for (int r = 0; r <= 3; ++r) s->getTime(r, &a, &b, &d);
        s->getStartDateTime(&a, &b, &d, &first);
        for (int sel = 0; sel <= 7; ++sel) s->getComment(sel, &a);
        for (const auto& [prfId, p] : s->performances()) {
          std::vector<ElementDetail> elements;
          std::vector<MajorDeduction> majors;
          std::vector<float> points;
          ScoreSummary summary;
          float total = 0;
          p->getElmScoreDetail(false, false, &elements);
          p->getMajDedData(&majors);
          p->getScoreSummaryInt(&summary);
          for (int i = -1; i <= 11; ++i) p->getCompScoreSummaryInt(i, &first, &second);
          for (int i = -1; i <= 18; ++i) p->getDedScoreInt(i, &first);
          s->getDedScores(dedFactors, *p, &points);
          s->getDedTotal(dedFactors, *p, &total);
          s->getPelData(prfId, 0, &texts, &texts);
        }
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* seeds = std::getenv("TAVC_EVENT_FUZZ_SEEDS");
  if (seeds != nullptr) {
    for (std::size_t i = 0; i < sizeof(kReplaceable) / sizeof(kReplaceable[0]); ++i) {
      writeFile(std::string(seeds) + "/" + kReplaceable[i],
                std::string(1, static_cast<char>(i)) + table(kReplaceable[i]));
    }
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tav;
  static const std::string folder = scratchFolder();
  if (size < 1) return 0;
  const char* replaced = kReplaceable[data[0] % (sizeof(kReplaceable) / sizeof(kReplaceable[0]))];
  // The sound tables are written once; each run puts back the table the
  // previous run replaced and writes its own.
  static bool written = false;
  static std::string previous;
  if (!written) {
    for (const char* handle : kAll) writeFile(folder + "/" + handle + ".DBF", soundTable(handle));
    written = true;
  } else if (!previous.empty()) {
    writeFile(folder + "/" + previous + ".DBF", soundTable(previous));
  }
  writeFile(folder + "/" + replaced + ".DBF",
            std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  previous = replaced;
  session().close();
  session().setDirectoryPath(folder);
  for (const char* handle : kAll) session().loadHandle(handle);
  if (events().eventPopulate()) exercise();
  session().close();
  return 0;
}
