// The register in C++ over a large database: building it (every kind)
// beside its floor, then finds by registration number and by name, each
// beside the table engine's record-number lookup (CDbf::getRecNo on PCT_ID)
// over the same number of keys, in lookups per second of CPU time.
//
//   register_bench DB_FOLDER ?ROUNDS?      (ROUNDS of the build and floor: 7)
//
// Prints "competitors N populate_cpu_s P floor_cpu_s F ratio P/F
// floor_read_cpu_s T regno_finds_per_s R name_finds_per_s M engine_lookups_per_s E".
//
// The floor is the least any build of the register does, written plainly
// with the standard library: read the fields each kind is indexed by from
// every live record (as the build does), sort each kind's sort names, and
// enter every identifier into a hash table.  The build also upper-cases and
// hashes the names and registration numbers into its indexes.
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/basic_impl.h"
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

// The floor of the register build over the open PCT table; returns a sum of
// what it read, so that nothing is left out by the compiler, and sets
// `readSeconds` to the CPU time of its reading pass alone.
std::size_t registerFloor(const tav::CDbf& pct, double* readSeconds) {
  using namespace tav;
  const int id = pct.findField("PCT_ID"), type = pct.findField("PCT_TYPE"),
            function = pct.findField("PCT_AFUNCT"), sortName = pct.findField("PCT_SNAME"),
            name = pct.findField("PCT_CNAME"), given = pct.findField("PCT_GNAME"),
            family = pct.findField("PCT_FNAME"), regNo = pct.findField("PCT_REGNO"),
            partner1 = pct.findField("PCT_PCTID"), partner2 = pct.findField("PCT_PPCTID");
  const double start = cpuSeconds();
  std::vector<std::pair<std::string_view, int>> names[5];  // by kind, bit 1 to 16
  std::vector<std::pair<int, int>> idRecords;               // identifier, record
  idRecords.reserve(pct.numRecordsHeld());
  std::size_t read = 0;
  for (std::size_t r = 0; r < pct.numScannable(); ++r) {
    if (pct.isDeleted(r)) continue;
    const int record = static_cast<int>(r);
    idRecords.emplace_back(intValue(pct.fieldText(r, id)), record);
    const int bit = pctKindOf(pct.fieldText(r, type), pct.fieldText(r, function));
    if (bit == 0) continue;
    read += pct.fieldText(r, name).size();
    if (bit == kOfficials || bit == kCompetitors) {
      read += pct.fieldText(r, given).size() + pct.fieldText(r, family).size();
    }
    if (bit != kClubs) read += pct.fieldText(r, regNo).size();
    if (bit == kCouples) {
      read += pct.fieldText(r, partner1).size() + pct.fieldText(r, partner2).size();
    }
    int kind = 0;
    while ((1 << kind) != bit) ++kind;
    names[kind].emplace_back(pct.fieldText(r, sortName), record);
  }
  *readSeconds = cpuSeconds() - start;
  for (auto& list : names) {
    std::sort(list.begin(), list.end());
    read += list.size();
  }
  std::unordered_map<int, int> ids;
  ids.reserve(idRecords.size());
  for (const auto& [identifier, record] : idRecords) ids[identifier] = record;
  return read + ids.size();
}

}  // namespace

int main(int argc, char** argv) {
  const int buildRounds = argc == 3 ? std::atoi(argv[2]) : 7;
  if (argc < 2 || argc > 3 || buildRounds < 1) {
    std::fprintf(stderr, "usage: register_bench DB_FOLDER ?ROUNDS?\n");
    return 2;
  }
  using namespace tav;
  // The build and its floor in rounds over the same open table, the order
  // alternating, the first round not counted: medians of the CPU time of
  // each, which holds steady on a busy machine.
  if (!session().openDB(argv[1])) return fail();
  CDbf* table = session().handles().getDbfHandlePtr("PCT");
  if (table == nullptr) return fail();
  std::vector<double> populates, floors, reads;
  std::size_t sink = 0;
  double start = 0;
  for (int round = 0; round <= buildRounds; ++round) {
    for (int side = 0; side < 2; ++side) {
      const bool build = (side == 0) == (round % 2 == 0);
      start = cpuSeconds();
      if (build && !basic().populate(0, -1)) return fail();
      double read = 0;
      if (!build) sink += registerFloor(*table, &read);
      const double seconds = cpuSeconds() - start;
      if (round > 0) (build ? populates : floors).push_back(seconds);
      if (round > 0 && !build) reads.push_back(read);
    }
  }
  auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  const double populate = median(populates);
  const double floor = median(floors);
  const double floorRead = median(reads);

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
  std::printf("competitors %zu populate_cpu_s %.3f floor_cpu_s %.3f ratio %.2fx "
              "floor_read_cpu_s %.3f regno_finds_per_s %.0f name_finds_per_s %.0f "
              "engine_lookups_per_s %.0f (hits %zu, floor read %zu)\n",
              names.size(), populate, floor, populate / floor, floorRead,
              kRounds * regNos.size() / regSeconds, kRounds * names.size() / nameSeconds,
              kRounds * ids.size() / engineSeconds, hits, sink);
  session().close();
  return 0;
}
