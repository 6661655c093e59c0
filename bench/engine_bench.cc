// engine_bench measures the table engine in C++, on a database folder that
// make_bench_db wrote, after opening it through the session the way
// tav_openDB does:
//
//   read_fields     every field of every record held, once, through
//                   CDbf::fieldText (the engine's own field read)
//   read_records    every record held, once, through getSingleRecData with
//                   an empty field list (the whole record, as tav_getRec
//                   reads it before the text reaches Tcl)
//   recno_first     the first getRecNo on PCT_ID, which builds the cache
//   recno_lookups   later getRecNo lookups on PCT_ID of identifiers spread
//                   over the whole register
//
// Each is run several times and the median printed, one "name value unit"
// line per figure, for the benchmark driver to read.  Times are the CPU time
// of this thread, so that other work on a shared machine does not count as
// the engine's.
//
//   engine_bench FOLDER
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "session/tav.h"

namespace {

constexpr int kRepetitions = 5;

double threadSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double secondsOf(const std::function<void()>& work) {
  const double start = threadSeconds();
  work();
  return threadSeconds() - start;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double medianSeconds(const std::function<void()>& work) {
  std::vector<double> runs;
  for (int i = 0; i < kRepetitions; ++i) runs.push_back(secondsOf(work));
  return median(runs);
}

// Keeps the compiler from dropping reads whose results are otherwise unused.
volatile std::uint64_t sink;

std::vector<tav::CDbf*> openTables() {
  std::vector<tav::CDbf*> tables;
  for (const auto& entry : tav::session().handles().tables()) tables.push_back(entry.second.get());
  return tables;
}

// Bytes of records held, over all tables.
std::uint64_t recordBytes(const std::vector<tav::CDbf*>& tables) {
  std::uint64_t bytes = 0;
  for (const tav::CDbf* t : tables) bytes += t->numRecordsHeld() * t->header().recordLength;
  return bytes;
}

void readEveryField(const std::vector<tav::CDbf*>& tables) {
  std::uint64_t total = 0;
  for (const tav::CDbf* t : tables) {
    const int fields = t->getNumFields();
    for (std::size_t r = 0; r < t->numRecordsHeld(); ++r) {
      for (int f = 0; f < fields; ++f) total += t->fieldText(r, f).size();
    }
  }
  sink = total;
}

void readEveryRecord(const std::vector<tav::CDbf*>& tables) {
  std::uint64_t total = 0;
  const std::vector<int> wholeRecord;
  std::vector<std::string> values;
  bool deleted = false;
  for (tav::CDbf* t : tables) {
    const int records = static_cast<int>(t->numRecordsHeld());
    for (int r = 0; r < records; ++r) {
      t->getSingleRecData(r, wholeRecord, 0, &deleted, &values);
      total += values.size();
    }
  }
  sink = total;
}

// Identifiers of the register's active records, in a scattered order.
std::vector<std::string> registerIds(const tav::CDbf& pct) {
  const int field = pct.findField("PCT_ID");
  std::vector<std::string> ids;
  for (std::size_t r = 0; r < pct.numRecordsHeld(); ++r) {
    if (pct.isActive(r)) ids.emplace_back(pct.fieldText(r, field));
  }
  std::uint64_t state = 88172645463325252ULL;
  for (std::size_t i = ids.size(); i > 1; --i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    std::swap(ids[i - 1], ids[state % i]);
  }
  return ids;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: engine_bench FOLDER\n");
    return 2;
  }
  tav::resetStackTrace("engine_bench");
  if (!tav::session().openDB(argv[1])) {
    std::fprintf(stderr, "engine_bench: %s\n", tav::getErrStr().c_str());
    return 1;
  }
  const std::vector<tav::CDbf*> tables = openTables();
  const double megabytes = static_cast<double>(recordBytes(tables)) / 1e6;
  std::printf("record_megabytes %.1f MB\n", megabytes);

  const double fields = medianSeconds([&] { readEveryField(tables); });
  std::printf("read_fields %.1f MB/s\n", megabytes / fields);
  const double records = medianSeconds([&] { readEveryRecord(tables); });
  std::printf("read_records %.1f MB/s\n", megabytes / records);

  tav::CDbf* pct = tav::session().handles().getDbfHandlePtr("PCT");
  if (pct == nullptr) return 1;
  const std::vector<std::string> ids = registerIds(*pct);
  const std::string field = "PCT_ID";
  const double first = secondsOf([&] { sink = pct->getRecNo(field, ids[0]); });
  std::printf("recno_first %.2f ms\n", first * 1e3);

  constexpr int kLookups = 2000000;
  const double lookups = medianSeconds([&] {
    std::uint64_t total = 0;
    for (int i = 0; i < kLookups; ++i) total += pct->getRecNo(field, ids[i % ids.size()]);
    sink = total;
  });
  std::printf("recno_lookups %.0f lookups/s\n", kLookups / lookups);
  tav::session().close();
  return 0;
}
