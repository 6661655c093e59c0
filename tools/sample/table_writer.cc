#include "table_writer.h"

namespace tav {
namespace sample {
namespace {

// The characters 0x80-0x9F of Windows-1252; 0 where the byte is undefined.
constexpr std::uint16_t kHighBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool codePointToByte(std::uint32_t cp, char* byte) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
    *byte = static_cast<char>(cp);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighBlock[i] != 0 && kHighBlock[i] == cp) {
      *byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

}  // namespace

bool utf8ToWindows1252(const std::string& utf8, std::string* bytes) {
  bytes->clear();
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80 ? 0
                      : (lead >> 5) == 6 ? 1
                      : (lead >> 4) == 14 ? 2
                      : (lead >> 3) == 30 ? 3 : -1;
    if (extra < 0) return false;                                   // not a lead byte
    if (i + static_cast<std::size_t>(extra) >= utf8.size() && extra > 0) return false;  // cut short
    std::uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    char byte = 0;
    if (!codePointToByte(cp, &byte)) return false;
    *bytes += byte;
    i += extra + 1;
  }
  return true;
}

TableWriter::TableWriter(const TableLayout& layout)
    : layout_(layout), builder_(layout.fields) {
  builder_.setDate(2014, 11, 9);
  builder_.setCodePage(0x03);  // Windows-1252
}

TableWriter::Record::Record(TableWriter* writer)
    : writer_(writer), values_(writer->layout_.fields.size()) {}

TableWriter::Record& TableWriter::Record::set(const std::string& field,
                                              const std::string& value) {
  const auto found = writer_->layout_.index.find(field);
  if (found == writer_->layout_.index.end()) {
    writer_->noteFault(writer_->layout_.code + ": no field " + field);
    return *this;
  }
  const DbfFieldDef& definition = writer_->layout_.fields[found->second];
  std::string bytes;
  if (!utf8ToWindows1252(value, &bytes)) {
    writer_->noteFault(writer_->layout_.code + "." + field + ": not Windows-1252 text: " + value);
    return *this;
  }
  if (static_cast<int>(bytes.size()) > definition.length) {
    writer_->noteFault(writer_->layout_.code + "." + field + ": value wider than " +
                       std::to_string(definition.length) + ": " + value);
    return *this;
  }
  values_[found->second] = bytes;
  return *this;
}

// A numeric field with decimals is given its value in units of its last
// decimal (hundredths for two decimals) and written with the decimal point,
// as the scoring program writes scores: 725 in a field of two decimals is
// "7.25", -150 is "-1.50".
TableWriter::Record& TableWriter::Record::set(const std::string& field, std::int64_t value) {
  const auto found = writer_->layout_.index.find(field);
  const int decimals =
      found == writer_->layout_.index.end() ? 0 : writer_->layout_.fields[found->second].decimals;
  if (decimals <= 0) return set(field, std::to_string(value));
  std::int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const std::int64_t magnitude = value < 0 ? -value : value;
  std::string fraction = std::to_string(magnitude % scale);
  fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  return set(field, (value < 0 ? "-" : "") + std::to_string(magnitude / scale) + "." + fraction);
}

void TableWriter::add(const Record& record, bool deleted) {
  builder_.addRecord(record.values_, deleted);
  ++count_;
}

void TableWriter::noteFault(const std::string& text) {
  if (fault_.empty()) fault_ = text;
}

bool TableWriter::writeFile(const std::string& path, std::string* error) const {
  return builder_.writeFile(path, error);
}

}  // namespace sample
}  // namespace tav
