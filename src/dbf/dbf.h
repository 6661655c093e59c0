// CDbf holds one dBASE table whole in memory.
//
// `populate` reads the `.DBF` file of a table code from a folder; every query
// and edit then works on the in-memory records, and `save` writes the whole
// table back.  Field values stay raw fixed-width bytes inside the records and
// are trimmed only when they are read out ("field text").  Text is kept in the
// table's own code page; conversion to and from Tcl's UTF-8 happens in the
// command layer.
//
// The records live in one contiguous buffer (RecordStore): a record number is
// a position in it, counted from 0.  The header's record count is kept apart
// from the number of records held; scans and the writer never go past either.
//
// Every operation returns success or failure and records the reason in the
// failure record, with the table code in front of the message.  A table file
// is untrusted input: `readHeader` refuses layouts whose fields would not fit
// in a record, so every later field access stays inside its record.
#ifndef TAVC_DBF_DBF_H_
#define TAVC_DBF_DBF_H_

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure_record.h"
#include "dbf/record_store.h"
#include "dbf/text_index.h"

namespace tav {

class CommitBatch;
class SafeFileWriter;

// The 32-byte table header as read from the file.
struct DbfHeader {
  std::uint8_t version = 0;
  std::uint8_t year = 0;   // years since 1900
  std::uint8_t month = 0;
  std::uint8_t day = 0;
  std::uint32_t recordCount = 0;
  std::uint16_t headerLength = 0;
  std::uint16_t recordLength = 0;
  std::uint8_t reserved1[16] = {0};
  std::uint8_t flags = 0;
  std::uint8_t codePage = 0;  // language driver byte
  std::uint8_t reserved2[2] = {0};
};

// One 32-byte field descriptor, plus the field's offset inside the record.
struct DbfField {
  std::uint32_t offset = 0;     // 1 + the lengths of the fields before it
  char name[12] = {0};          // the 11 stored bytes and a terminating NUL
  char type = 'C';
  std::uint8_t address[4] = {0};
  std::uint8_t length = 0;
  std::uint8_t decimals = 0;
  std::uint8_t reserved[14] = {0};

  // The stored name: the name bytes up to the first NUL.
  std::string storedName() const { return std::string(name); }
};

// Matches reported by `findFieldData`, as parallel lists.
struct FieldMatches {
  std::vector<int> fieldIndexes;
  std::vector<std::string> fieldNames;
  std::vector<char> types;
  std::vector<int> lengths;
  std::vector<int> offsets;
  std::vector<int> recordNumbers;

  void clear();
  std::size_t size() const { return recordNumbers.size(); }
};

class CDbf {
 public:
  CDbf() = default;
  CDbf(const CDbf&) = delete;
  CDbf& operator=(const CDbf&) = delete;
  // Moving hands the whole contents over (a table read again in place).
  CDbf(CDbf&&) = default;
  CDbf& operator=(CDbf&&) = default;

  // ---- Reading (dbf_read.cc) ----------------------------------------------
  // Reads `folder`/`code`.DBF into memory; `fileName` names the file
  // instead when its name is spelled otherwise.  Without it a file whose
  // name differs only in the case of its letters ("pct.dbf", from a copy
  // made on another system) is read, and the table is written back under
  // that name.
  bool populate(const std::string& code, const std::string& folder,
                const std::string& fileName = std::string());
  // Header date of last update as "MM-DD-YY".
  bool getHdate(std::string* date) const;
  std::int64_t getMtime() const { return mtime_; }
  std::uint32_t getNumRecs() const { return header_.recordCount; }
  int getNumFields() const { return static_cast<int>(fields_.size()); }
  int getNumDelRecs() const;
  bool isModified() const { return modified_; }
  void setModified() { modified_ = true; }

  const std::string& code() const { return code_; }
  const DbfHeader& header() const { return header_; }
  const std::vector<DbfField>& fields() const { return fields_; }
  // A number that is new whenever the field layout is set (a read, a
  // clear) and that no other layout of any table had: a caller that found a
  // field's index may keep using it while this number stays the same.
  std::uint64_t layoutId() const { return layoutId_; }
  // Number of record buffers held (may differ from the header's count).
  std::size_t numRecordsHeld() const { return records_.size(); }
  // Records that scans and the writer visit: min(header count, held).
  std::size_t numScannable() const;

  // ---- Fields and records (dbf_fields.cc) ---------------------------------
  bool getFieldParams(int index, std::string* name, char* type, int* length,
                      int* offset);
  // The index of a field (the name is matched exactly against the trimmed
  // stored names); -1 with an error when the table has no such field.
  int getFieldIndex(const std::string& name);
  // The same lookup without recording an error (for "has the field?").
  int findField(const std::string& name) const;
  bool getFieldIndexes(const std::vector<std::string>& names,
                       std::vector<int>* indexes);
  bool getFieldNames(std::vector<std::string>* names) const;
  bool getMapRecData(int recNo, bool* deleted,
                     std::map<std::string, std::string>* values);
  bool getSingleRecData(int recNo, const std::vector<int>& fieldIndexes,
                        int mode, bool* deleted, std::vector<std::string>* values);
  bool getSingleRecData(int recNo, const std::vector<std::string>& fieldNames,
                        int mode, bool* deleted, std::vector<std::string>* values);

  // Field text of a held record without checks: `recNo` < numRecordsHeld()
  // and 0 <= `field` < getNumFields() are the caller's promise.
  std::string_view fieldText(std::size_t recNo, int field) const;
  // The raw bytes of a held record, deletion mark first (same promise).
  std::string_view recordBytes(std::size_t recNo) const {
    return std::string_view(records_.at(recNo), records_.recordLength());
  }
  bool isDeleted(std::size_t recNo) const { return records_.at(recNo)[0] == '*'; }
  bool isActive(std::size_t recNo) const { return records_.at(recNo)[0] == ' '; }

  // ---- Searches (dbf_query.cc) --------------------------------------------
  bool findFieldData(const std::string& text, FieldMatches* matches);
  bool getFieldRecData(const std::vector<std::string>& fieldNames,
                       const std::map<std::string, std::string>& qualifiers,
                       const std::string& sortName, bool ignoreCase,
                       std::vector<std::string>* lines);
  // The record number whose field text equals `value` (the highest one when
  // several do), or -1 with an error.  Answers from a per-field cache after
  // the first lookup on a field.
  int getRecNo(const std::string& fieldName, const std::string& value);

  // ---- Edits (dbf_edit.cc) ------------------------------------------------
  bool updateRec(int recNo, const std::vector<std::string>& assignments);
  bool addRec(const std::vector<std::string>& assignments, int* recNo);
  bool addRec(const std::map<int, std::string>& values, int* recNo);
  bool deleteRec(int recNo);
  bool clearRecs();
  // True when at least one deleted record was removed.
  bool compressRecs();

  // ---- Writing (dbf_write.cc) ---------------------------------------------
  bool formatRecord(int recNo, const std::map<int, std::string>& values);
  // Writes `folder`/code.DBF crash-safely; unmodified tables are skipped
  // unless `force` is set.  With a batch the written file is put in place
  // (and the table marked saved) when the batch is committed.
  bool save(bool force, const std::string& folder, CommitBatch* batch = nullptr);
  bool updateMtime(const std::string& folder);
  // Structural self-check: 1 sound (or repaired), -1 record count differs
  // from the records held, -2 header length does not fit the fields, -3 a
  // field type other than C, D, N or L.
  int verify(bool repair);

 private:
  bool readHeader(std::FILE* file);
  bool readRecords(std::FILE* file);
  bool keepOneByteRecords(const char* bytes, std::size_t got);
  void clearTable();
  bool checkLayout();
  bool descriptorsFit(std::size_t count) const;
  bool failHeaderTooSmall();
  bool writeHeader(SafeFileWriter* out);
  bool writeRecords(SafeFileWriter* out);
  void markSaved(const std::string& path);
  bool failToComplete(const std::string& path);
  void writeField(char* record, const DbfField& field, const std::string& value);
  bool parseAssignments(const std::vector<std::string>& assignments,
                        const char* operation, bool skipEmpty,
                        std::map<int, std::string>* values);
  std::string tableFile(const std::string& folder) const;
  TraceName trace(const char* operation) const;
  bool checkRecNo(int recNo, const char* operation);
  void dropCache() { recNoCache_.clear(); }
  static std::uint64_t newLayoutId();

  bool modified_ = false;
  std::int64_t mtime_ = 0;
  DbfHeader header_;
  std::vector<DbfField> fields_;
  std::map<std::string, int> fieldIndex_;  // trimmed name -> index
  std::uint64_t layoutId_ = newLayoutId();
  RecordStore records_;
  std::string code_;
  std::string fileName_;  // the name the table was read from ("PCT.DBF")
  // field index -> (field text -> record number); see getRecNo.
  std::map<int, TextIndex> recNoCache_;
};

}  // namespace tav

#endif  // TAVC_DBF_DBF_H_
