#include "dbf/dbf_builder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tav {
namespace {

void putLe(std::string& out, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

DbfBuilder::DbfBuilder(std::vector<DbfFieldDef> fields) : fields_(std::move(fields)) {}

DbfBuilder& DbfBuilder::setDate(int year, int month, int day) {
  year_ = static_cast<std::uint8_t>(year - 1900);
  month_ = static_cast<std::uint8_t>(month);
  day_ = static_cast<std::uint8_t>(day);
  return *this;
}

int DbfBuilder::recordLength() const {
  int length = 1;
  for (const DbfFieldDef& f : fields_) length += f.length;
  return length;
}

int DbfBuilder::headerLength() const {
  return 32 + 32 * static_cast<int>(fields_.size()) + 1 + gap_;
}

DbfBuilder& DbfBuilder::addRecord(const std::vector<std::string>& values, bool deleted) {
  records_ += deleted ? '*' : ' ';
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const DbfFieldDef& f = fields_[i];
    std::string value = i < values.size() ? values[i] : std::string();
    if (static_cast<int>(value.size()) > f.length) value.resize(f.length);
    std::string pad(f.length - value.size(), ' ');
    records_ += f.type == 'N' ? pad + value : value + pad;
  }
  return *this;
}

std::string DbfBuilder::bytes() const {
  const int headerLen = headerOverride_ >= 0 ? headerOverride_ : headerLength();
  const int recordLen = recordOverride_ >= 0 ? recordOverride_ : recordLength();
  const std::uint64_t count =
      countOverride_ >= 0 ? static_cast<std::uint64_t>(countOverride_) : recordCount();
  std::string out;
  out += static_cast<char>(version_);
  out += static_cast<char>(year_);
  out += static_cast<char>(month_);
  out += static_cast<char>(day_);
  putLe(out, count, 4);
  putLe(out, static_cast<std::uint64_t>(headerLen), 2);
  putLe(out, static_cast<std::uint64_t>(recordLen), 2);
  out.append(16, '\0');
  out += '\0';                              // table flags
  out += static_cast<char>(codePage_);
  out.append(2, '\0');
  for (const DbfFieldDef& f : fields_) {
    char name[11] = {0};
    std::memcpy(name, f.name.data(), f.name.size() < 11 ? f.name.size() : 11);
    out.append(name, 11);
    out += f.type;
    out.append(4, '\0');
    out += static_cast<char>(f.length);
    out += static_cast<char>(f.decimals);
    out.append(14, '\0');
  }
  out += '\x0D';
  out.append(static_cast<std::size_t>(gap_), '\0');
  out += records_;
  if (terminator_) out += '\x1A';
  return out;
}

bool DbfBuilder::writeFile(const std::string& path, std::string* error) const {
  const std::string data = bytes();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool ok = file != nullptr &&
            std::fwrite(data.data(), 1, data.size(), file) == data.size();
  if (file != nullptr && std::fclose(file) != 0) ok = false;
  if (!ok && error != nullptr) *error = path + ": " + std::strerror(errno);
  return ok;
}

}  // namespace tav
