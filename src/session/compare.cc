#include "session/compare.h"

#include <algorithm>
#include <set>

#include "base/app_calls.h"
#include "base/failure_record.h"
#include "dbf/field_text.h"
#include "dbf/file_io.h"
#include "session/tav.h"

namespace tav {
namespace {

constexpr const char* kMissingTable = "- - -";
constexpr const char* kMissingField = "- - - - -";
constexpr std::size_t kColumns = 10;

bool hasTableExtension(const std::string& name) {
  return name.size() > 4 && upperAscii(name.substr(name.size() - 4)) == ".DBF";
}

}  // namespace

CCompare::CCompare(const std::string& folder1, const std::string& folder2,
                   const std::string& listBox1, const std::string& listBox2) {
  one_.folder = folder1;
  one_.listBox = listBox1;
  two_.folder = folder2;
  two_.listBox = listBox2;
}

bool CCompare::listTables(Side* side) {
  CallTrace t("CCompare.listTables");
  std::vector<platform::FolderEntry> entries;
  if (!platform::listFolder(side->folder, &entries)) {
    return failWith("Unable to read folder: " + side->folder + " - " + errnoText());
  }
  for (const platform::FolderEntry& entry : entries) {
    const std::string& name = entry.name;
    if (!hasTableExtension(name) || !entry.isFile) continue;
    // Of two spellings of one name ("PCT.DBF" and "pct.dbf") the first in
    // byte order is compared.
    const std::string key = upperAscii(name.substr(0, name.size() - 4));
    auto it = side->files.find(key);
    if (it == side->files.end() || name < it->second) side->files[key] = name;
  }
  return t.succeed();
}

bool CCompare::readTable(Side* side, const std::string& key) {
  const std::string& file = side->files.at(key);
  const std::string code = file.substr(0, file.size() - 4);
  side->handles.createHandle(code);
  side->table = side->handles.getDbfHandlePtr(code);
  return side->table != nullptr && side->table->populate(code, side->folder, file);
}

CCompare::Row CCompare::tableColumns(const CDbf& table) {
  Row row{table.code(), std::to_string(table.getNumFields()), std::to_string(table.getNumRecs()),
          std::to_string(table.getNumDelRecs())};
  row.resize(kColumns);
  return row;
}

CCompare::Row CCompare::fieldRow(const CDbf& table, int field, const std::string& recNo,
                                 const std::string& value) {
  Row row = tableColumns(table);
  const DbfField& f = table.fields()[field];
  row[4] = recNo;
  row[5] = std::to_string(field);
  row[6] = f.storedName();
  row[7] = std::string(1, f.type);
  row[8] = std::to_string(f.length);
  row[9] = value;
  return row;
}

bool CCompare::showPair(const Row& row1, const Row& row2) {
  const int codePage1 = one_.table != nullptr ? one_.table->header().codePage : kMessageCodePage;
  const int codePage2 = two_.table != nullptr ? two_.table->header().codePage : kMessageCodePage;
  return callAppWithList({one_.listBox, "insert", "end"}, row1, codePage1) &&
         callAppWithList({two_.listBox, "insert", "end"}, row2, codePage2);
}

bool CCompare::setStatus(const std::string& text) {
  return setAppVar("gTAV(compare,status)", text);
}

bool CCompare::compareOneSided(Side* present, Side* absent, const std::string& key) {
  absent->table = nullptr;
  if (!readTable(present, key)) return false;
  Row missing(kColumns);
  missing[0] = kMissingTable;
  const Row counts = tableColumns(*present->table);
  const bool shown = present == &one_ ? showPair(counts, missing) : showPair(missing, counts);
  present->handles.removeHandle("all");
  present->table = nullptr;
  return shown;
}

bool CCompare::compareFields(bool* recordsComparable) {
  CDbf& t1 = *one_.table;
  CDbf& t2 = *two_.table;
  *recordsComparable = t1.getNumFields() > 0 && t2.getNumFields() > 0;
  for (int pass = 0; pass < 2; ++pass) {
    CDbf& own = pass == 0 ? t1 : t2;
    CDbf& other = pass == 0 ? t2 : t1;
    for (int i = 0; i < own.getNumFields(); ++i) {
      if (other.findField(own.fields()[i].storedName()) >= 0) continue;
      const Row present = fieldRow(own, i, "", "");
      Row absent = tableColumns(other);
      absent[6] = kMissingField;
      if (!(pass == 0 ? showPair(present, absent) : showPair(absent, present))) return false;
    }
  }
  for (int i = 0; i < t1.getNumFields(); ++i) {
    const int j = t2.findField(t1.fields()[i].storedName());
    if (j < 0) continue;
    const DbfField& f1 = t1.fields()[i];
    const DbfField& f2 = t2.fields()[j];
    if (f1.type == f2.type && f1.length == f2.length) continue;
    *recordsComparable = false;
    if (!showPair(fieldRow(t1, i, "", ""), fieldRow(t2, j, "", ""))) return false;
  }
  return true;
}

bool CCompare::compareRecords() {
  CDbf& t1 = *one_.table;
  CDbf& t2 = *two_.table;
  if (t1.getNumRecs() != t2.getNumRecs() || t1.getNumDelRecs() != t2.getNumDelRecs()) {
    return showPair(tableColumns(t1), tableColumns(t2));
  }
  // The fields both tables have, as index pairs in the first table's order.
  // Their types and lengths agree (else records are not compared).
  std::vector<std::pair<int, int>> common;
  for (int i = 0; i < t1.getNumFields(); ++i) {
    const int j = t2.findField(t1.fields()[i].storedName());
    if (j >= 0) common.emplace_back(i, j);
  }
  // With the same layout, equal record bytes (after the deletion mark) mean
  // equal records, which is the common case and one comparison.
  const bool sameLayout = t1.getNumFields() == t2.getNumFields() &&
                          common.size() == static_cast<std::size_t>(t1.getNumFields()) &&
                          std::all_of(common.begin(), common.end(), [&](const auto& p) {
                            return p.first == p.second &&
                                   t1.fields()[p.first].offset == t2.fields()[p.second].offset;
                          });
  // Live records are paired one to one; a record deleted in one database
  // does not shift the records after it.
  const std::size_t end1 = t1.numScannable();
  const std::size_t end2 = t2.numScannable();
  std::size_t r1 = 0;
  std::size_t r2 = 0;
  while (true) {
    while (r1 < end1 && t1.isDeleted(r1)) ++r1;
    while (r2 < end2 && t2.isDeleted(r2)) ++r2;
    if (r1 >= end1 || r2 >= end2) break;
    if (sameLayout && t1.recordBytes(r1).substr(1) == t2.recordBytes(r2).substr(1)) {
      ++r1;
      ++r2;
      continue;
    }
    for (const auto& field : common) {
      const std::string_view v1 = t1.fieldText(r1, field.first);
      const std::string_view v2 = t2.fieldText(r2, field.second);
      if (v1 == v2) continue;
      if (!showPair(fieldRow(t1, field.first, std::to_string(r1), std::string(v1)),
                    fieldRow(t2, field.second, std::to_string(r2), std::string(v2)))) {
        return false;
      }
    }
    ++r1;
    ++r2;
  }
  return true;
}

bool CCompare::compareTables(const std::string& key) {
  // The application redraws its status line before each pair is read.
  if (!setStatus("Comparing: " + key) || !callApp({"update", "idletasks"})) return false;
  if (!readTable(&one_, key) || !readTable(&two_, key)) return false;
  bool recordsComparable = true;
  const bool ok = compareFields(&recordsComparable) && (!recordsComparable || compareRecords());
  one_.handles.removeHandle("all");
  two_.handles.removeHandle("all");
  one_.table = nullptr;
  two_.table = nullptr;
  return ok;
}

bool CCompare::run() {
  if (!listTables(&one_) || !listTables(&two_)) return false;
  std::set<std::string> names;
  for (const auto& entry : one_.files) names.insert(entry.first);
  for (const auto& entry : two_.files) names.insert(entry.first);
  for (const std::string& key : names) {
    const bool inOne = one_.files.count(key) != 0;
    const bool inTwo = two_.files.count(key) != 0;
    bool ok = true;
    if (inOne && inTwo) {
      ok = compareTables(key);
    } else {
      ok = inOne ? compareOneSided(&one_, &two_, key) : compareOneSided(&two_, &one_, key);
    }
    if (!ok) return false;
  }
  return setStatus("Compare complete");
}

bool CTav::compareDbf(const std::string& database1, const std::string& database2,
                      const std::string& listBox1, const std::string& listBox2) {
  CallTrace t("CTav.compareDbf");
  CCompare comparison(database1, database2, listBox1, listBox2);
  return comparison.run() && t.succeed();
}

}  // namespace tav
