// Writing: formatting values into records, saving the whole table, the file
// time and the structural self-check.
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "base/failure_record.h"
#include "dbf/dbf.h"
#include "dbf/field_value.h"
#include "dbf/file_io.h"

namespace tav {
namespace {

void putLe(unsigned char* p, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

// Stores a value that formatRecord has accepted (field_value.h): C
// left-aligned, N and F right-aligned, both blank-padded, C cut to the field
// length; D and L fill their field, a blank value with blanks.
void CDbf::writeField(char* record, const DbfField& field, const std::string& value) {
  char* bytes = record + field.offset;
  const std::size_t length = field.length;
  const std::size_t used = value.size() < length ? value.size() : length;
  switch (field.type) {
    case 'C':
      std::memcpy(bytes, value.data(), used);
      std::memset(bytes + used, ' ', length - used);
      break;
    case 'N':
    case 'F':
      std::memset(bytes, ' ', length - used);
      std::memcpy(bytes + length - used, value.data(), used);
      break;
    case 'D':
    case 'L':
      std::memset(bytes, ' ', length);
      std::memcpy(bytes, value.data(), used);
      break;
    default:
      break;  // other types cannot be written; the field keeps its bytes
  }
}

bool CDbf::formatRecord(int recNo, const std::map<int, std::string>& values) {
  CallTrace t("CDbf.formatRecord");
  // Every value is checked before any byte is written, so a refused value
  // leaves the record exactly as it was.
  std::vector<std::pair<int, std::string>> stored;
  stored.reserve(values.size());
  for (const auto& [index, value] : values) {
    if (index < 0 || index >= getNumFields()) {
      return failWith(code_ + "_formatRecord: Invalid field index: " + std::to_string(index));
    }
    const DbfField& f = fields_[index];
    if (f.type == 'D' && f.length != 8) {
      return failWith(code_ + "_formatRecord: Invalid field Date length: " +
                      std::to_string(f.length));
    }
    if (f.type == 'L' && f.length != 1) {
      return failWith(code_ + "_formatRecord: Invalid field Logical length: " +
                      std::to_string(f.length));
    }
    std::string text;
    std::string reason;
    if (!storedFieldValue(f, value, &text, &reason)) {
      return failWith(code_ + "_formatRecord: Refused " + f.storedName() + "=" + value + ": " +
                      reason);
    }
    stored.emplace_back(index, std::move(text));
  }
  if (recNo < 0 || static_cast<std::size_t>(recNo) >= records_.size()) {
    return failWith(code_ + "_formatRecord: Invalid record number: " + std::to_string(recNo));
  }
  char* record = records_.at(recNo);
  for (const auto& [index, text] : stored) writeField(record, fields_[index], text);
  return t.succeed();
}

bool CDbf::save(bool force, const std::string& folder, CommitBatch* batch) {
  CallTrace t(trace("save"));
  if (folder.empty()) return failWith(code_ + "_save: Empty path.");
  const std::string path = tableFile(folder);
  if (!force && !modified_) return t.succeed();
  // A table that was never read whole has no layout to write.
  if (header_.recordLength == 0) return failWith(code_ + "_save: No table loaded.");

  auto out = std::make_unique<SafeFileWriter>();
  if (!out->open(path)) {
    return failWith(code_ + "_save: Unable to open: " + path + " - " + errnoText());
  }
  if (!writeHeader(out.get()) || !writeRecords(out.get())) return false;
  if (batch != nullptr) {
    batch->add(std::move(out), [this, path] { markSaved(path); }, [this, path] {
      CallTrace failing(trace("save"));
      failToComplete(path);
    });
    return t.succeed();
  }
  if (!out->commit()) return failToComplete(path);
  markSaved(path);
  return t.succeed();
}

void CDbf::markSaved(const std::string& path) {
  modified_ = false;
  if (!fileMtime(path, &mtime_)) mtime_ = 0;
}

bool CDbf::failToComplete(const std::string& path) {
  return failWith(code_ + "_save: Unable to complete: " + path + " - " + errnoText());
}

bool CDbf::writeHeader(SafeFileWriter* out) {
  CallTrace t("CDbf.writeHeader");
  unsigned char head[32];
  head[0] = header_.version;
  head[1] = header_.year;
  head[2] = header_.month;
  head[3] = header_.day;
  putLe(head + 4, header_.recordCount, 4);
  putLe(head + 8, header_.headerLength, 2);
  putLe(head + 10, header_.recordLength, 2);
  std::memcpy(head + 12, header_.reserved1, 16);
  head[28] = header_.flags;
  head[29] = header_.codePage;
  std::memcpy(head + 30, header_.reserved2, 2);
  if (!out->write(head, sizeof head)) {
    return failWith(code_ + "_writeHeader: Unable to write header: " + errnoText());
  }

  std::string descriptors;
  descriptors.reserve(32 * fields_.size());
  for (const DbfField& f : fields_) {
    descriptors.append(f.name, 11);
    descriptors += f.type;
    descriptors.append(reinterpret_cast<const char*>(f.address), 4);
    descriptors += static_cast<char>(f.length);
    descriptors += static_cast<char>(f.decimals);
    descriptors.append(reinterpret_cast<const char*>(f.reserved), 14);
  }
  if (!out->write(descriptors.data(), descriptors.size())) {
    return failWith(code_ + "_writeHeader: Unable to write field data: " + errnoText());
  }
  const char terminator = 0x0D;
  if (!out->write(&terminator, 1)) {
    return failWith(code_ + "_writeHeader: Unable to write Header Record Terminator: " +
                    errnoText());
  }
  return t.succeed();
}

bool CDbf::writeRecords(SafeFileWriter* out) {
  CallTrace t("CDbf.writeRecords");
  // Whatever room the header leaves after its terminator is written as zeros.
  const std::size_t written = 32 + 32 * fields_.size() + 1;
  if (header_.headerLength > written && !out->writeZeros(header_.headerLength - written)) {
    return failWith(code_ + "_writeRecords: Unable to write record data: " + errnoText());
  }
  const std::size_t bytes = numScannable() * records_.recordLength();
  if (bytes > 0 && !out->write(records_.data(), bytes)) {
    return failWith(code_ + "_writeRecords: Unable to write record data: " + errnoText());
  }
  const char terminator = 0x1A;
  if (!out->write(&terminator, 1)) {
    return failWith(code_ + "_writeRecords: Unable to write File Terminator: " + errnoText());
  }
  return t.succeed();
}

bool CDbf::updateMtime(const std::string& folder) {
  CallTrace t(trace("updateMtime"));
  if (folder.empty()) return failWith(code_ + "_updateMtime: Empty path.");
  if (!fileMtime(tableFile(folder), &mtime_)) mtime_ = 0;
  return t.succeed();
}

int CDbf::verify(bool repair) {
  CallTrace t(trace("verify"));
  t.succeed();  // the result carries the finding; nothing is recorded
  if (header_.recordCount != records_.size()) {
    if (!repair) return -1;
    header_.recordCount = static_cast<std::uint32_t>(records_.size());
    modified_ = true;
    return 1;
  }
  if (header_.headerLength != 32 * fields_.size() + 33) return -2;
  for (const DbfField& f : fields_) {
    if (f.type != 'C' && f.type != 'D' && f.type != 'N' && f.type != 'L') return -3;
  }
  return 1;
}

}  // namespace tav
