// The register in C++ over a large database: building it (every kind), then
// finds by registration number and by name, each beside the table engine's
// record-number lookup (CDbf::getRecNo on PCT_ID) over the same number of
// keys, in lookups per second of CPU time.
//
//   register_bench DB_FOLDER
//
// Prints "competitors N open_cpu_s O populate_cpu_s P ratio P/O
// regno_finds_per_s R name_finds_per_s M engine_lookups_per_s E".
#include <ctime>
#include <cstdio>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "dbf/dbf.h"
#include "session/tav.h"

namespace {

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

int fail() {
  std::fprintf(stderr, "%s\n", tav::getErrStr().c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: register_bench DB_FOLDER\n");
    return 2;
  }
  using namespace tav;
  // Open and build in rounds, the first not counted: CPU time of each, which
  // holds steady on a busy machine.
  constexpr int kBuildRounds = 3;
  double open = 0, populate = 0, start = 0;
  for (int round = 0; round <= kBuildRounds; ++round) {
    session().close();
    start = cpuSeconds();
    if (!session().openDB(argv[1])) return fail();
    const double opened = cpuSeconds();
    if (!basic().populate(0, -1)) return fail();
    if (round > 0) {
      open += (opened - start) / kBuildRounds;
      populate += (cpuSeconds() - opened) / kBuildRounds;
    }
  }

  // The keys: every competitor's registration number, name and identifier.
  CDbf& pct = *session().handles().getDbfHandlePtr("PCT");
  const int idField = pct.findField("PCT_ID");
  const int nameField = pct.findField("PCT_CNAME");
  const int regField = pct.findField("PCT_REGNO");
  std::vector<int> regNos;
  std::vector<std::string> names, ids;
  for (int i = 0; i < basic().getPctListSize(kCompetitors); ++i) {
    int recNo = 0, regNo = 0;
    if (!basic().getPctListRecNo(kCompetitors, i, &recNo)) return fail();
    if (parseRegNo(pct.fieldText(recNo, regField), &regNo)) regNos.push_back(regNo);
    names.emplace_back(pct.fieldText(recNo, nameField));
    ids.emplace_back(pct.fieldText(recNo, idField));
  }
  std::vector<int> found;
  std::size_t hits = 0;
  constexpr int kRounds = 5;
  start = cpuSeconds();
  for (int round = 0; round < kRounds; ++round) {
    for (int regNo : regNos) {
      if (!basic().findByRegNo(kCompetitors, regNo, &found)) return fail();
      hits += found.size();
    }
  }
  const double regSeconds = cpuSeconds() - start;
  start = cpuSeconds();
  for (int round = 0; round < kRounds; ++round) {
    for (const std::string& name : names) {
      if (!basic().findByName(kCompetitors, name, &found)) return fail();
      hits += found.size();
    }
  }
  const double nameSeconds = cpuSeconds() - start;
  pct.getRecNo("PCT_ID", ids.front());  // builds the engine's lookup table
  start = cpuSeconds();
  for (int round = 0; round < kRounds; ++round) {
    for (const std::string& id : ids) hits += pct.getRecNo("PCT_ID", id) >= 0;
  }
  const double engineSeconds = cpuSeconds() - start;
  std::printf("competitors %zu open_cpu_s %.3f populate_cpu_s %.3f ratio %.2fx "
              "regno_finds_per_s %.0f name_finds_per_s %.0f engine_lookups_per_s %.0f (hits %zu)\n",
              names.size(), open, populate, populate / open, kRounds * regNos.size() / regSeconds,
              kRounds * names.size() / nameSeconds, kRounds * ids.size() / engineSeconds, hits);
  session().close();
  return 0;
}
