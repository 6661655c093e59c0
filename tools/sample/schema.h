// The table layouts of a sample database, read from the schema file
// (tools/sample/schema.txt): every table of the open sequence with its
// fields, the numbered field families expanded from their name patterns.
// The schema is the one place where table layouts are written down; every
// writer of the generator looks fields up here.
#ifndef TAVC_TOOLS_SAMPLE_SCHEMA_H_
#define TAVC_TOOLS_SAMPLE_SCHEMA_H_

#include <map>
#include <string>
#include <vector>

#include "dbf/dbf_builder.h"

namespace tav {
namespace sample {

struct TableLayout {
  std::string code;
  std::string description;
  std::vector<DbfFieldDef> fields;
  std::map<std::string, int> index;  // field name -> position
};

// Replaces the last run of zeros of `pattern` (with two numbers: the last two
// runs, the first number in the earlier run) by the numbers in decimal,
// right-aligned in their runs.  False with a reason when a run is missing or
// a number does not fit its run.
bool expandFieldPattern(const std::string& pattern, const std::vector<int>& numbers,
                        std::string* name, std::string* error);

class Schema {
 public:
  // Reads and checks the schema file; false with "file:line: reason".
  bool read(const std::string& path, std::string* error);
  // Parses schema text (the same format); `origin` names it in errors.
  bool parse(const std::string& text, const std::string& origin, std::string* error);

  const std::vector<TableLayout>& tables() const { return tables_; }
  const TableLayout* find(const std::string& code) const;

 private:
  bool parseField(const std::vector<std::string>& words, TableLayout* table,
                  std::string* error);

  std::vector<TableLayout> tables_;
};

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_SCHEMA_H_
