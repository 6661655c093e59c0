#include "dbf_sweep.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <vector>

#include "base/failure_record.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"

namespace tav {
namespace {

const char kCode[] = "FZ";

std::string makeScratchFolder() {
  struct stat st;
  const char* base = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
  std::string pattern = std::string(base) + "/tavc-sweep-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return "";
  return pattern;
}

std::string tablePath(const std::string& folder) { return folder + "/" + kCode + ".DBF"; }

void removeFolder(const std::string& folder) {
  if (folder.empty()) return;
  ::unlink(tablePath(folder).c_str());
  ::rmdir(folder.c_str());
}

bool writeBytes(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

std::string readBytes(const std::string& path) {
  std::string bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}

// Collects broken promises; the first one is reported.
class Findings {
 public:
  void expect(bool holds, const std::string& what) {
    if (!holds && result_.sound) {
      result_.sound = false;
      result_.finding = what;
    }
  }
  SweepResult& result() { return result_; }

 private:
  SweepResult result_;
};

// A loaded table's layout keeps every field inside its record.
void checkLayout(const CDbf& table, Findings* f) {
  const std::size_t recordLength = table.header().recordLength;
  for (const DbfField& field : table.fields()) {
    f->expect(field.offset >= 1 && field.offset + field.length <= recordLength,
              "field " + field.storedName() + " reaches outside its record");
  }
  f->expect(table.numScannable() <= table.numRecordsHeld(), "scans reach past the records");
}

// The names a caller can look fields up by.
std::vector<std::string> lookupNames(const CDbf& table) {
  std::vector<std::string> names;
  for (const DbfField& field : table.fields()) names.emplace_back(trimBlanks(field.name));
  return names;
}

void sweepRecords(CDbf& table, const std::vector<std::string>& names, Findings* f) {
  const int fields = table.getNumFields();
  for (std::size_t r = 0; r < table.numRecordsHeld(); ++r) {
    const int recNo = static_cast<int>(r);
    for (int mode = 0; mode <= 1; ++mode) {
      bool deleted = false;
      std::vector<std::string> values;
      const bool read = table.getSingleRecData(recNo, std::vector<int>{}, mode, &deleted, &values);
      f->expect(read && static_cast<int>(values.size()) == fields,
                "whole record " + std::to_string(r) + " not read");
    }
    bool deleted = false;
    std::vector<std::string> values;
    table.getSingleRecData(recNo, names, 0, &deleted, &values);
    std::map<std::string, std::string> map;
    f->expect(table.getMapRecData(recNo, &deleted, &map), "record map not read");
    for (int i = 0; i < fields; ++i) {
      f->expect(table.fieldText(r, i).size() <= table.fields()[i].length, "field text too long");
    }
  }
  // Out of range record numbers are refused, never read.
  bool deleted = false;
  std::vector<std::string> values;
  const int past = static_cast<int>(table.numRecordsHeld());
  f->expect(!table.getSingleRecData(past, std::vector<int>{}, 0, &deleted, &values),
            "record past the end read");
  f->expect(!table.getSingleRecData(-1, std::vector<int>{}, 0, &deleted, &values),
            "record -1 read");
}

void sweepSearches(CDbf& table, const std::vector<std::string>& names) {
  std::vector<std::string> firstValues;
  if (table.numRecordsHeld() > 0) {
    for (int i = 0; i < table.getNumFields(); ++i) {
      firstValues.emplace_back(table.fieldText(0, i));
    }
  }
  FieldMatches matches;
  table.findFieldData("", &matches);
  for (const std::string& value : firstValues) table.findFieldData(value, &matches);

  std::vector<std::string> lines;
  std::map<std::string, std::string> noQualifiers;
  table.getFieldRecData(names, noQualifiers, "", false, &lines);
  std::vector<std::string> withRecNo = names;
  withRecNo.push_back("recNo");
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::map<std::string, std::string> qualifiers;
    if (i < firstValues.size()) qualifiers[names[i]] = firstValues[i];
    table.getFieldRecData(withRecNo, qualifiers, names[i], i % 2 == 1, &lines);
    table.getRecNo(names[i], i < firstValues.size() ? firstValues[i] : "");
    table.getRecNo(names[i], "no such value");  // answered from the cache
  }
  std::string date;
  table.getHdate(&date);
  table.getNumDelRecs();
}

// A forced save must write a file the reader accepts, and saving what was
// read back must give the same bytes again.
void saveAndReadBack(CDbf& table, const std::string& output, Findings* f) {
  const std::size_t scannable = table.numScannable();
  const int fields = table.getNumFields();
  if (!table.save(true, output)) {
    f->expect(false, "save failed: " + getErrStr());
    return;
  }
  f->expect(!table.isModified(), "saved table still modified");
  const std::string saved = readBytes(tablePath(output));
  CDbf again;
  if (!again.populate(kCode, output)) {
    f->expect(false, "saved table not readable: " + getErrStr());
    return;
  }
  f->expect(again.getNumFields() == fields, "saved table lost fields");
  f->expect(again.numRecordsHeld() == scannable, "saved table holds other records");
  f->expect(again.save(true, output), "second save failed");
  f->expect(readBytes(tablePath(output)) == saved, "second save wrote other bytes");
}

}  // namespace

DbfSweep::DbfSweep() : input_(makeScratchFolder()), output_(makeScratchFolder()) {}

DbfSweep::~DbfSweep() {
  removeFolder(input_);
  removeFolder(output_);
}

SweepResult DbfSweep::run(const std::string& bytes) {
  Findings f;
  // Failed operations leave their trace entries: start every run afresh.
  resetStackTrace("sweep");
  clearErrStr();
  if (!writeBytes(tablePath(input_), bytes)) {
    f.expect(false, "cannot write the input file");
    return f.result();
  }
  CDbf table;
  f.result().loaded = table.populate(kCode, input_);
  if (!f.result().loaded) {
    f.expect(!getErrStr().empty(), "refused without a message");
    f.expect(table.getNumFields() == 0 && table.numRecordsHeld() == 0,
             "refused table not left empty");
    return f.result();
  }
  checkLayout(table, &f);
  const std::vector<std::string> names = lookupNames(table);
  sweepRecords(table, names, &f);
  sweepSearches(table, names);
  table.verify(false);
  saveAndReadBack(table, output_, &f);
  return f.result();
}

}  // namespace tav
