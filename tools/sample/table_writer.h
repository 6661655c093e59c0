// TableWriter collects the records of one table in the layout of the schema
// and writes the table file.  A record is filled by field name; a name the
// layout does not have, a value wider than its field or text that the table's
// code page (Windows-1252) cannot hold is a fault of the generator's data and
// is reported instead of being cut or dropped silently.
#ifndef TAVC_TOOLS_SAMPLE_TABLE_WRITER_H_
#define TAVC_TOOLS_SAMPLE_TABLE_WRITER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "dbf/dbf_builder.h"
#include "schema.h"

namespace tav {
namespace sample {

// UTF-8 text as Windows-1252 bytes; false when a character has no byte.
bool utf8ToWindows1252(const std::string& utf8, std::string* bytes);

class TableWriter {
 public:
  explicit TableWriter(const TableLayout& layout);

  // One record being filled; values start blank.
  class Record {
   public:
    Record& set(const std::string& field, const std::string& value);
    Record& set(const std::string& field, std::int64_t value);

   private:
    friend class TableWriter;
    explicit Record(TableWriter* writer);
    TableWriter* writer_;
    std::vector<std::string> values_;
  };

  Record record() { return Record(this); }
  void add(const Record& record, bool deleted = false);

  std::size_t size() const { return count_; }
  const TableLayout& layout() const { return layout_; }
  // The first fault met while filling records, empty when none.
  const std::string& fault() const { return fault_; }

  bool writeFile(const std::string& path, std::string* error) const;

 private:
  void noteFault(const std::string& text);

  const TableLayout& layout_;
  DbfBuilder builder_;
  std::size_t count_ = 0;
  std::string fault_;
};

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_TABLE_WRITER_H_
