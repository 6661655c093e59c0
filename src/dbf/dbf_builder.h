// DbfBuilder composes the bytes of a well-formed dBASE table from a field list
// and rows.  It is independent of the table engine on purpose: tests use it
// to make exactly the files they need (including malformed ones, through the
// layout overrides), and the sample and benchmark generators use it to write
// whole database folders.
#ifndef TAVC_DBF_DBF_BUILDER_H_
#define TAVC_DBF_DBF_BUILDER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace tav {

struct DbfFieldDef {
  std::string name;   // at most 11 bytes are stored
  char type = 'C';    // C, N, D, L (any letter is stored as given)
  int length = 1;     // 0..255
  int decimals = 0;
};

class DbfBuilder {
 public:
  explicit DbfBuilder(std::vector<DbfFieldDef> fields);

  // Appends a record.  Values are in field order; missing values are blank.
  // C and other types are left-aligned, N right-aligned; longer values are cut
  // to the field length, exactly as the table writer stores them.
  DbfBuilder& addRecord(const std::vector<std::string>& values,
                        bool deleted = false);

  // Header details (defaults: version 0x03, date 2014-11-05, code page 0x03).
  DbfBuilder& setVersionByte(std::uint8_t v) { version_ = v; return *this; }
  DbfBuilder& setDate(int year, int month, int day);
  DbfBuilder& setCodePage(std::uint8_t cp) { codePage_ = cp; return *this; }
  // Extra zero bytes between the header terminator and the first record.
  DbfBuilder& setHeaderGap(int bytes) { gap_ = bytes; return *this; }

  // Overrides that make malformed files for tests; -1 means "as computed".
  DbfBuilder& overrideRecordCount(std::int64_t n) { countOverride_ = n; return *this; }
  DbfBuilder& overrideHeaderLength(int n) { headerOverride_ = n; return *this; }
  DbfBuilder& overrideRecordLength(int n) { recordOverride_ = n; return *this; }
  DbfBuilder& setTerminator(bool present) { terminator_ = present; return *this; }

  int recordLength() const;
  int headerLength() const;
  std::size_t recordCount() const { return records_.size() / recordLength(); }

  // The complete file.
  std::string bytes() const;
  // Writes the file; on failure returns false and sets `error`.
  bool writeFile(const std::string& path, std::string* error = nullptr) const;

 private:
  std::vector<DbfFieldDef> fields_;
  std::string records_;
  std::uint8_t version_ = 0x03;
  std::uint8_t year_ = 114, month_ = 11, day_ = 5;
  std::uint8_t codePage_ = 0x03;
  int gap_ = 0;
  std::int64_t countOverride_ = -1;
  int headerOverride_ = -1;
  int recordOverride_ = -1;
  bool terminator_ = true;
};

}  // namespace tav

#endif  // TAVC_DBF_DBF_BUILDER_H_
