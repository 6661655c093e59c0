// Reading a table file into memory: populate, readHeader, readRecords, and
// the header queries.
#include <atomic>
#include <cerrno>
#include <cstring>

#include "base/failure_record.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"
#include "dbf/file_io.h"

namespace tav {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDescriptorSize = 32;
constexpr char kHeaderTerminator = 0x0D;
constexpr char kFileTerminator = 0x1A;

std::uint32_t readLe(const unsigned char* p, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

// Closes a FILE on every way out of populate.
struct FileCloser {
  std::FILE* file;
  ~FileCloser() { if (file != nullptr) std::fclose(file); }
};

}  // namespace

TraceName CDbf::trace(const char* operation) const {
  return TraceName{code_, "_CDbf.", operation};
}

// The table's file in `folder`: the spelling it was read under, or another
// spelling of it that the folder already holds (nameInFolder).
std::string CDbf::tableFile(const std::string& folder) const {
  return joinPath(folder, nameInFolder(folder, fileName_.empty() ? code_ + ".DBF" : fileName_));
}

bool CDbf::populate(const std::string& code, const std::string& folder,
                    const std::string& fileName) {
  code_ = code;
  CallTrace t(trace("populate"));
  clearTable();
  if (folder.empty()) return failWith(code_ + "_populate: Empty path.");

  fileName_ = fileName.empty() ? nameInFolder(folder, code_ + ".DBF") : fileName;
  const std::string path = joinPath(folder, fileName_);
  if (!fileMtime(path, &mtime_)) {
    setErrStr(false, "Unable to stat: " + path +
                         "\nPlease run OmfCalcFs on this database and try again.",
              false, true);
    return false;
  }
  FileCloser file{platform::openFile(path, "rb")};
  if (file.file == nullptr) {
    return failWith(code_ + "_populate: Unable to open: " + path + " - " + errnoText());
  }
  if (!readHeader(file.file) || !readRecords(file.file)) {
    // A table that could not be read whole is left empty rather than half
    // loaded, so that nothing can reach into a layout that was refused.
    clearTable();
    return false;
  }
  return t.succeed();
}

std::uint64_t CDbf::newLayoutId() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

void CDbf::clearTable() {
  modified_ = false;
  header_ = DbfHeader();
  fields_.clear();
  fieldIndex_.clear();
  layoutId_ = newLayoutId();
  records_.reset(0);
  dropCache();
}

bool CDbf::readHeader(std::FILE* file) {
  CallTrace t("CDbf.readHeader");
  unsigned char raw[kHeaderSize];
  std::rewind(file);
  // A read that stops at the end of the file sets no error number: clear it
  // so that the message does not quote an earlier, unrelated error.
  errno = 0;
  if (std::fread(raw, 1, kHeaderSize, file) < kHeaderSize) {
    return failWith(code_ + "_readHeader: Unable to read header: " + errnoText());
  }
  header_.version = raw[0];
  header_.year = raw[1];
  header_.month = raw[2];
  header_.day = raw[3];
  header_.recordCount = readLe(raw + 4, 4);
  header_.headerLength = static_cast<std::uint16_t>(readLe(raw + 8, 2));
  header_.recordLength = static_cast<std::uint16_t>(readLe(raw + 10, 2));
  std::memcpy(header_.reserved1, raw + 12, 16);
  header_.flags = raw[28];
  header_.codePage = raw[29];
  std::memcpy(header_.reserved2, raw + 30, 2);

  std::uint32_t offset = 1;
  layoutId_ = newLayoutId();
  for (;;) {
    unsigned char d[kDescriptorSize];
    errno = 0;
    const std::size_t got = std::fread(d, 1, kDescriptorSize, file);
    if (got == 0) {
      return failWith(code_ + "_readHeader: Unable to read any field data: " + errnoText());
    }
    if (d[0] == kHeaderTerminator) break;
    if (got < kDescriptorSize) {
      return failWith(code_ + "_readHeader: Unable to read enough field data: " +
                      errnoText());
    }
    // The descriptors and their terminator must end inside the header; this
    // also bounds the loop for a file that has no terminator at all.
    if (!descriptorsFit(fields_.size() + 1)) return failHeaderTooSmall();
    DbfField field;
    std::memcpy(field.name, d, 11);
    field.name[11] = '\0';
    field.type = static_cast<char>(d[11]);
    std::memcpy(field.address, d + 12, 4);
    field.length = d[16];
    field.decimals = d[17];
    std::memcpy(field.reserved, d + 18, 14);
    field.offset = offset;
    offset += field.length;
    fieldIndex_[std::string(trimBlanks(field.name))] = static_cast<int>(fields_.size());
    fields_.push_back(field);
  }
  return checkLayout() && t.succeed();
}

bool CDbf::descriptorsFit(std::size_t count) const {
  return kHeaderSize + kDescriptorSize * count + 1 <= header_.headerLength;
}

bool CDbf::failHeaderTooSmall() {
  return failWith(code_ + "_readHeader: Header length too small for the field "
                  "descriptors: hsize=" + std::to_string(header_.headerLength));
}

// Refuses a header whose fields would not fit in a record, so that every
// later field read or write stays inside its record.
bool CDbf::checkLayout() {
  if (!descriptorsFit(fields_.size())) return failHeaderTooSmall();
  if (header_.recordLength == 0) {
    return failWith(code_ + "_readHeader: Invalid record length: 0");
  }
  std::uint32_t needed = 1;
  for (const DbfField& f : fields_) needed += f.length;
  if (needed > header_.recordLength) {
    return failWith(code_ + "_readHeader: Fields do not fit in the record: fsize=" +
                    std::to_string(needed) + "  rsize=" +
                    std::to_string(header_.recordLength));
  }
  return true;
}

bool CDbf::readRecords(std::FILE* file) {
  CallTrace t("CDbf.readRecords");
  const std::size_t length = header_.recordLength;
  records_.reset(length);
  std::uint64_t bytes = 0;
  if (!platform::openFileSize(file, &bytes)) {
    return failWith(code_ + "_readRecords: Unable to read enough record data: " +
                    errnoText() + "  count=0  rsize=" + std::to_string(length));
  }
  const std::size_t fileSize = static_cast<std::size_t>(bytes);
  const std::size_t available =
      fileSize > header_.headerLength ? fileSize - header_.headerLength : 0;
  // A file that ends at or before the header length has no bytes to hold.
  char* target = nullptr;
  if (available > 0) {
    target = records_.prepare(available);
    if (target == nullptr) {
      return failWith(code_ + "_readRecords: Unable to allocate required memory");
    }
  }
  errno = 0;
  std::size_t got = 0;
  if (available > 0 && fseeko(file, header_.headerLength, SEEK_SET) == 0) {
    got = std::fread(target, 1, available, file);
  }
  // The records are read as if one record length at a time: whole records
  // are kept, and what is left over must be the single file terminator.
  if (length == 1) return keepOneByteRecords(target, got) && t.succeed();
  records_.setSize(got / length);
  const std::size_t rest = got % length;
  if (rest == 1 && target[got - 1] == kFileTerminator) return t.succeed();
  return failWith(code_ + "_readRecords: Unable to read enough record data: " +
                  errnoText() + "  count=" + std::to_string(rest) +
                  "  rsize=" + std::to_string(length));
}

// Records of one byte (a table without fields) cannot be told from the file
// terminator by their size: read one at a time, the first 0x1A byte ends them.
bool CDbf::keepOneByteRecords(const char* bytes, std::size_t got) {
  const void* end = got > 0 ? std::memchr(bytes, kFileTerminator, got) : nullptr;
  if (end != nullptr) {
    records_.setSize(static_cast<std::size_t>(static_cast<const char*>(end) - bytes));
    return true;
  }
  return failWith(code_ + "_readRecords: Unable to read enough record data: " +
                  errnoText() + "  count=0  rsize=1");
}

bool CDbf::getHdate(std::string* date) const {
  CallTrace t(trace("getHdate"));
  // Years from 2000 on are stored as 100 and more; an older year byte is shown
  // as its own two digits (99 for 1999).
  const int year = header_.year >= 100 ? header_.year - 100 : header_.year;
  char text[16];
  std::snprintf(text, sizeof text, "%02d-%02d-%02d", header_.month, header_.day, year);
  *date = text;
  return t.succeed();
}

std::size_t CDbf::numScannable() const {
  return header_.recordCount < records_.size() ? header_.recordCount : records_.size();
}

int CDbf::getNumDelRecs() const {
  int deleted = 0;
  const std::size_t n = numScannable();
  for (std::size_t r = 0; r < n; ++r) {
    if (records_.at(r)[0] == '*') ++deleted;
  }
  return deleted;
}

}  // namespace tav
