// CCompare compares the tables of two database folders and shows the
// differences side by side in two list widgets of the application: every
// row written to the first list has a partner row at the same position in
// the second.
//
// Each folder is read into a private registry of its own (CHandle), one
// table pair at a time, independent of the open database, which the
// comparison neither reads nor changes.
//
// A row has ten columns: table name, field count, record count, deleted
// records, record number, field number, field name, field type, field length
// and field value; columns that do not apply are empty.  "- - -" in the
// table-name column stands for a table the other folder lacks, "- - - - -" in
// the field-name column for a field the other table lacks.  Record and field
// numbers are counted from 0, as everywhere in the library.
//
// Table names are matched without regard to case ("pct.dbf" in one folder is
// the table PCT of the other), so that a folder copied from another system
// compares as it should.
#ifndef TAVC_SESSION_COMPARE_H_
#define TAVC_SESSION_COMPARE_H_

#include <map>
#include <string>
#include <vector>

#include "dbf/dbf.h"
#include "session/handle.h"

namespace tav {

class CCompare {
 public:
  CCompare(const std::string& folder1, const std::string& folder2,
           const std::string& listBox1, const std::string& listBox2);
  CCompare(const CCompare&) = delete;
  CCompare& operator=(const CCompare&) = delete;

  // Compares every table of the two folders, in name order.  False when a
  // folder or a table cannot be read, or a row cannot be shown.
  bool run();

 private:
  using Row = std::vector<std::string>;

  // One folder: its tables (upper-case name -> file name), its registry and
  // the list widget that shows it.
  struct Side {
    std::string folder;
    std::string listBox;
    std::map<std::string, std::string> files;
    CHandle handles;
    CDbf* table = nullptr;
  };

  bool listTables(Side* side);
  bool readTable(Side* side, const std::string& key);
  bool compareOneSided(Side* present, Side* absent, const std::string& key);
  bool compareTables(const std::string& key);
  bool compareFields(bool* recordsComparable);
  bool compareRecords();
  bool showPair(const Row& row1, const Row& row2);
  bool setStatus(const std::string& text);
  static Row tableColumns(const CDbf& table);
  static Row fieldRow(const CDbf& table, int field, const std::string& recNo,
                      const std::string& value);

  Side one_;
  Side two_;
};

}  // namespace tav

#endif  // TAVC_SESSION_COMPARE_H_
