// make_bench_db writes the large database folder that the benchmarks open,
// read and save: a configuration table holding version 11135 and every table
// a database of that version opens, with a 200,000-record person register
// (PCT, 1024-byte records) and a 50,000-record performance table (PRF,
// 2048-byte records with about five hundred fields), about 300 MB in all, plus
// index companions (.CDX) beside the larger tables.
//
// The content is deterministic: the same arguments always give the same bytes,
// so figures from different runs and machines describe the same work.  The
// big tables are streamed to disk in chunks; DbfBuilder composes every byte.
//
//   make_bench_db FOLDER [--scale N]
//
// --scale N divides every record count by N (for a quick trial run).
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "dbf/dbf_builder.h"
#include "session/table_lists.h"

namespace {

using tav::DbfBuilder;
using tav::DbfFieldDef;

using Row = std::vector<std::string>;

// A small deterministic pseudo-random source (splitmix64).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }

 private:
  std::uint64_t state_;
};

// Name-like text from syllables; a few carry Windows-1252 letters, as real
// registers of European skaters do.
std::string word(Random& rng, int syllables) {
  static const char* const kSyllables[] = {
      "an", "ber", "ca", "del", "er", "fa", "gi", "han", "is", "jo", "ka", "lin",
      "ma", "no", "ol", "pe", "ri", "sa", "to", "ul", "va", "wen", "xi", "ya",
      "ze", "m\xFC", "r\xE9", "\xE5s", "n\xF6", "\xE7" "a"};
  std::string out;
  for (int i = 0; i < syllables; ++i) out += kSyllables[rng.below(30)];
  out[0] = static_cast<char>(out[0] >= 'a' && out[0] <= 'z' ? out[0] - 32 : out[0]);
  return out;
}

std::string number(long long value) { return std::to_string(value); }

std::string date(Random& rng) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", 1960 + rng.below(55), 1 + rng.below(12),
                1 + rng.below(28));
  return text;
}

std::string upperOf(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// Appends one character field that makes the record exactly `length` bytes
// (the deletion flag included).  The fields before it leave less than 255.
void padRecordTo(std::vector<DbfFieldDef>* fields, const std::string& name, int length) {
  int used = 1;
  for (const DbfFieldDef& f : *fields) used += f.length;
  if (used < length) fields->push_back({name, 'C', length - used});
}

// One table of the folder: its fields, how many records, and how record
// number i looks.
struct TableRecipe {
  std::string handle;
  std::vector<DbfFieldDef> fields;
  int records = 0;
  int deletedPercent = 0;
  std::function<Row(Random&, int)> row;
  std::size_t cdxBytes = 0;  // 0: no index companion
};

// ---- The person register -------------------------------------------------

std::vector<DbfFieldDef> personFields() {
  std::vector<DbfFieldDef> f = {
      {"PCT_ID", 'N', 8},      {"PCT_TYPE", 'C', 3},    {"PCT_AFUNCT", 'C', 3},
      {"PCT_GENDER", 'C', 1},  {"PCT_STAT", 'C', 1},    {"PCT_FNAME", 'C', 40},
      {"PCT_LNAME", 'C', 40},  {"PCT_CNAME", 'C', 80},  {"PCT_FNAMEC", 'C', 80},
      {"PCT_GNAME", 'C', 80},  {"PCT_GNAMEI", 'C', 80}, {"PCT_INAME", 'C', 40},
      {"PCT_SNAME", 'C', 40},  {"PCT_PLNAME", 'C', 40}, {"PCT_PSNAME", 'C', 40},
      {"PCT_TLNAME", 'C', 60}, {"PCT_TSNAME", 'C', 30}, {"PCT_S1NAME", 'C', 30},
      {"PCT_S2NAME", 'C', 30}, {"PCT_S3NAME", 'C', 30}, {"PCT_S4NAME", 'C', 30},
      {"PCT_NAT", 'C', 3},     {"PCT_NATID", 'N', 8},   {"PCT_CLBID", 'N', 8},
      {"PCT_PCLBID", 'N', 8},  {"PCT_PCTID", 'N', 8},   {"PCT_PPCTID", 'N', 8},
      {"PCT_REGNO", 'C', 20},  {"PCT_RESCIT", 'C', 40}, {"PCT_BDAY", 'D', 8},
      {"PCT_CD", 'D', 8},      {"PCT_ALREP", 'L', 1},   {"PCT_WFNAME", 'C', 40},
      {"PCT_WGNAME", 'C', 40}};
  padRecordTo(&f, "PCT_COMENT", 1024);
  return f;
}

Row personRow(Random& rng, int i) {
  static const char* const kTypes[] = {"PER", "PER", "PER", "PER", "COU", "PTS", "CLU"};
  static const char* const kNations[] = {"GER", "SUI", "AUT", "FRA", "ITA", "CAN", "USA"};
  const std::string type = kTypes[rng.below(7)];
  const std::string first = word(rng, 2);
  const std::string last = word(rng, 2 + rng.below(2));
  const std::string nation = kNations[rng.below(7)];
  return {number(i + 1), type, rng.chance(80) ? "CMP" : "JDG", rng.chance(50) ? "F" : "M",
          "A", first, last, last + ", " + first, first + " " + last,
          last + " " + first, upperOf(last) + " " + first, first.substr(0, 1) + ". " + last,
          last.substr(0, 10), last, first, first + " " + last + " / " + word(rng, 3),
          last.substr(0, 12), word(rng, 2), "", "", "", nation, number(1 + rng.below(60)),
          number(1 + rng.below(3000)), "", "", "", "REG-" + number(1000000 + i),
          word(rng, 3), date(rng), date(rng), rng.chance(10) ? "T" : "F", first, last,
          rng.chance(5) ? "Imported from the national register" : ""};
}

// ---- The performance table (wide) ----------------------------------------

constexpr int kElements = 20;
constexpr int kJudges = 12;
constexpr int kComponents = 5;
constexpr int kDeductions = 17;

std::string numbered(const char* pattern, int a, int b = -1) {
  char name[16];
  if (b < 0) std::snprintf(name, sizeof name, pattern, a);
  else std::snprintf(name, sizeof name, pattern, a, b);
  return name;
}

std::vector<DbfFieldDef> performanceFields() {
  std::vector<DbfFieldDef> f = {
      {"PRF_ID", 'N', 8},     {"PAR_ID", 'N', 8},     {"SCP_ID", 'N', 8},
      {"PRF_STAT", 'C', 1},   {"PRF_STNUM", 'N', 3},  {"PRF_STGNUM", 'N', 3},
      {"PRF_PLACE", 'N', 3},  {"PRF_POINTS", 'N', 8}, {"PRF_M1TOT", 'N', 8},
      {"PRF_M2TOT", 'N', 8},  {"PRF_BONUSP", 'N', 6}};
  for (int e = 1; e <= kElements; ++e) {
    f.push_back({numbered("PRF_E%02dINF", e), 'C', 20});
    f.push_back({numbered("PRF_E%02dBON", e), 'C', 1});
    f.push_back({numbered("PRF_E%02dRES", e), 'N', 6});
    f.push_back({numbered("PRF_E%02dPNL", e), 'N', 6});
    for (int j = 1; j <= kJudges; ++j) f.push_back({numbered("PRF_E%02dJ%02d", e, j), 'N', 1});
    f.push_back({numbered("PRF_XNAE%02d", e), 'C', 12});
    f.push_back({numbered("PRF_XBVE%02d", e), 'N', 6});
    f.push_back({numbered("PRF_XCFE%02d", e), 'N', 4});
    f.push_back({numbered("PRF_PNAE%02d", e), 'C', 12});
  }
  for (int c = 1; c <= kComponents; ++c) {
    for (int j = 1; j <= kJudges; ++j) f.push_back({numbered("PRF_C%02dJ%02d", c, j), 'N', 4});
    f.push_back({numbered("PRF_C%02dRES", c), 'N', 6});
    f.push_back({numbered("PRF_C%02dPNL", c), 'N', 6});
  }
  for (int d = 1; d <= kDeductions; ++d) f.push_back({numbered("PRF_DED%02d", d), 'N', 4});
  padRecordTo(&f, "PRF_NOTE", 2048);
  return f;
}

Row performanceRow(Random& rng, int i) {
  static const char* const kElementCodes[] = {"3A", "3Lz+3T", "2A", "CCoSp4", "StSq3",
                                              "3F", "FCSp3", "ChSq1", "3S<", "4T"};
  Row row = {number(i + 1), number(1 + rng.below(20000)), number(1 + rng.below(400)), "R",
             number(1 + rng.below(40)), number(1 + rng.below(5)), number(1 + rng.below(40)),
             number(rng.below(30000)), number(rng.below(15000)), number(rng.below(15000)),
             number(rng.below(500))};
  for (int e = 1; e <= kElements; ++e) {
    const bool skated = e <= 13;
    row.push_back(skated ? kElementCodes[rng.below(10)] : "");
    row.push_back(skated && rng.chance(10) ? "x" : "");
    row.push_back(skated ? number(rng.below(1500)) : "");
    row.push_back(skated ? number(rng.below(1500)) : "");
    for (int j = 1; j <= kJudges; ++j) row.push_back(number(skated ? rng.below(9) : 9));
    row.push_back(skated ? kElementCodes[rng.below(10)] : "");
    row.push_back(skated ? number(rng.below(1200)) : "");
    row.push_back(skated ? number(100) : "");
    row.push_back("");
  }
  for (int c = 1; c <= kComponents; ++c) {
    for (int j = 1; j <= kJudges; ++j) row.push_back(number(500 + rng.below(500)));
    row.push_back(number(rng.below(1000)));
    row.push_back(number(rng.below(1000)));
  }
  for (int d = 1; d <= kDeductions; ++d) row.push_back(rng.chance(5) ? "100" : "0");
  return row;
}

// ---- The other tables ----------------------------------------------------

// A table with an identifier, a reference, a name and a description; enough
// to make the folder complete and give every table some records.
TableRecipe smallTable(const std::string& handle, int records) {
  const std::string id = handle == "PPRF" ? "PRF_ID" : handle + "_ID";
  TableRecipe t;
  t.handle = handle;
  t.fields = {{id, 'N', 8}, {"PCT_ID", 'N', 8}, {handle + "_NAME", 'C', 40},
              {handle + "_STAT", 'C', 1}, {handle + "_DATE", 'D', 8},
              {handle + "_DESC", 'C', 60}};
  t.records = records;
  t.row = [](Random& rng, int i) -> Row {
    return {number(i + 1), number(1 + rng.below(200000)), word(rng, 3), "A", date(rng),
            word(rng, 4) + " " + word(rng, 3)};
  };
  return t;
}

int scaled(int records, int scale) {
  const int n = records / scale;
  return n < 1 ? 1 : n;
}

std::vector<TableRecipe> recipes(int scale) {
  std::vector<TableRecipe> tables;
  TableRecipe cfg;
  cfg.handle = tav::kConfigTable;
  cfg.fields = {{"CFG_DBFVER", 'C', 10}, {"CFG_NAME", 'C', 40}};
  cfg.records = 1;
  cfg.row = [](Random&, int) -> Row { return {"11135", "Benchmark database"}; };
  tables.push_back(cfg);

  std::string handles = tav::kBaseTables;
  for (const tav::VersionedTables& row : tav::kVersionedTables) {
    handles += ' ';
    handles += row.handles;
  }
  std::size_t start = 0;
  while (start < handles.size()) {
    std::size_t end = handles.find(' ', start);
    if (end == std::string::npos) end = handles.size();
    const std::string handle = handles.substr(start, end - start);
    start = end + 1;
    if (handle.empty()) continue;
    if (handle == "PCT") {
      TableRecipe t{handle, personFields(), scaled(200000, scale), 1, personRow, 4u << 20};
      tables.push_back(t);
    } else if (handle == "PRF") {
      TableRecipe t{handle, performanceFields(), scaled(50000, scale), 1, performanceRow,
                    1u << 20};
      tables.push_back(t);
    } else if (handle == "PAR" || handle == "PEL") {
      TableRecipe t = smallTable(handle, scaled(20000, scale));
      t.cdxBytes = 256u << 10;
      tables.push_back(t);
    } else {
      tables.push_back(smallTable(handle, scaled(handle == "SCP" ? 400 : 100, scale)));
    }
  }
  return tables;
}

// ---- Writing ---------------------------------------------------------------

// Writes a file by appending chunks; reports the first failure.
class OutputFile {
 public:
  explicit OutputFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (file_ == nullptr) fail();
  }
  ~OutputFile() { if (file_ != nullptr) std::fclose(file_); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void write(const std::string& bytes) {
    if (file_ != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) fail();
  }
  bool close() {
    if (file_ != nullptr && std::fclose(file_) != 0) fail();
    file_ = nullptr;
    return ok_;
  }

 private:
  void fail() {
    if (ok_) std::fprintf(stderr, "make_bench_db: %s: %s\n", path_.c_str(), std::strerror(errno));
    ok_ = false;
  }

  std::string path_;
  std::FILE* file_;
  bool ok_ = true;
};

// Streams one table: the header with the final record count, then the
// records in chunks of a thousand, then the end-of-file byte.
bool writeTable(const std::string& folder, const TableRecipe& t, std::uint64_t seed) {
  constexpr int kChunk = 1000;
  Random rng(seed);
  OutputFile out(folder + "/" + t.handle + ".DBF");
  DbfBuilder header(t.fields);
  out.write(header.overrideRecordCount(t.records).setTerminator(false).bytes());
  const std::size_t headerLength = static_cast<std::size_t>(header.headerLength());
  for (int first = 0; first < t.records; first += kChunk) {
    DbfBuilder chunk(t.fields);
    chunk.setTerminator(false);
    for (int i = first; i < t.records && i < first + kChunk; ++i) {
      const bool deleted = rng.below(100) < t.deletedPercent;
      chunk.addRecord(t.row(rng, i), deleted);
    }
    out.write(chunk.bytes().substr(headerLength));
  }
  out.write("\x1A");
  return out.close();
}

// Opaque index bytes; the library only carries them.
bool writeIndex(const std::string& folder, const TableRecipe& t, std::uint64_t seed) {
  Random rng(seed);
  std::string bytes(t.cdxBytes, '\0');
  for (std::size_t i = 0; i + 8 <= bytes.size(); i += 8) {
    const std::uint64_t v = rng.next();
    std::memcpy(&bytes[i], &v, 8);
  }
  OutputFile out(folder + "/" + t.handle + ".CDX");
  out.write(bytes);
  return out.close();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--scale") == 0)) {
    std::fprintf(stderr, "usage: make_bench_db FOLDER [--scale N]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int scale = argc == 4 ? std::atoi(argv[3]) : 1;
  if (scale < 1) {
    std::fprintf(stderr, "make_bench_db: --scale must be a positive number\n");
    return 2;
  }
  if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "make_bench_db: %s: %s\n", folder.c_str(), std::strerror(errno));
    return 1;
  }
  std::uint64_t seed = 20141105;
  for (const TableRecipe& t : recipes(scale)) {
    if (!writeTable(folder, t, ++seed)) return 1;
    if (t.cdxBytes > 0 && !writeIndex(folder, t, ++seed)) return 1;
  }
  return 0;
}
