#include "command/table_text.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include <tcl.h>

#include "base/failure_record.h"
#include "dbf/case_fold.h"
#include "session/tav.h"

namespace tav {
namespace {

constexpr char kDefaultEncoding[] = "cp1252";

struct DriverEncoding {
  std::uint8_t driver;
  const char* encoding;
};

// dBASE, FoxPro and Visual FoxPro language-driver bytes.
constexpr DriverEncoding kDrivers[] = {
    {0x01, "cp437"},       {0x02, "cp850"},       {0x03, "cp1252"},   {0x04, "macRoman"},
    {0x08, "cp865"},       {0x09, "cp437"},       {0x0A, "cp850"},    {0x0B, "cp437"},
    {0x0D, "cp437"},       {0x0E, "cp850"},       {0x0F, "cp437"},    {0x10, "cp850"},
    {0x11, "cp437"},       {0x12, "cp850"},       {0x13, "cp932"},    {0x14, "cp850"},
    {0x15, "cp437"},       {0x16, "cp850"},       {0x17, "cp865"},    {0x18, "cp437"},
    {0x19, "cp437"},       {0x1A, "cp850"},       {0x1B, "cp437"},    {0x1C, "cp863"},
    {0x1D, "cp850"},       {0x1F, "cp852"},       {0x22, "cp852"},    {0x23, "cp852"},
    {0x24, "cp860"},       {0x25, "cp850"},       {0x26, "cp866"},    {0x37, "cp850"},
    {0x40, "cp852"},       {0x4D, "cp936"},       {0x4E, "cp949"},    {0x4F, "cp950"},
    {0x50, "cp874"},       {0x57, "cp1252"},      {0x58, "cp1252"},   {0x59, "cp1252"},
    {0x64, "cp852"},       {0x65, "cp866"},       {0x66, "cp865"},    {0x67, "cp861"},
    {0x6A, "cp737"},       {0x6B, "cp857"},       {0x78, "cp950"},    {0x79, "cp949"},
    {0x7A, "cp936"},       {0x7B, "cp932"},       {0x7C, "cp874"},    {0x7D, "cp1255"},
    {0x7E, "cp1256"},      {0x96, "macCyrillic"}, {0x97, "macCentEuro"},
    {0x98, "macGreek"},    {0xC8, "cp1250"},      {0xC9, "cp1251"},   {0xCA, "cp1254"},
    {0xCB, "cp1253"},      {0xCC, "cp1257"},
};

bool isAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Tcl encodings are looked up once and kept for the life of the library.
Tcl_Encoding encodingFor(const char* name) {
  static std::map<std::string, Tcl_Encoding> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  Tcl_Encoding encoding = Tcl_GetEncoding(nullptr, name);
  if (encoding == nullptr) encoding = Tcl_GetEncoding(nullptr, kDefaultEncoding);
  cache.emplace(name, encoding);
  return encoding;
}

bool isValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const std::size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1
                            : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 4;
    if (extra == 4 || s.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace

TableText::TableText(std::uint8_t codePage)
    : codePage_(codePage), encoding_(encodingName(codePage)) {}

TableText TableText::forHandle(const std::string& handle) {
  auto& tables = session().handles().tables();
  auto it = tables.find(handle);
  return TableText(it == tables.end() ? 0 : it->second->header().codePage);
}

const char* TableText::encodingName(std::uint8_t codePage) {
  for (const DriverEncoding& d : kDrivers) {
    if (d.driver == codePage) return d.encoding;
  }
  return kDefaultEncoding;
}

std::string TableText::toUtf8(std::string_view bytes) const {
  if (isAscii(bytes)) return std::string(bytes);
  Tcl_DString converted;
  Tcl_ExternalToUtfDString(encodingFor(encoding_), bytes.data(),
                           static_cast<int>(bytes.size()), &converted);
  std::string out(Tcl_DStringValue(&converted), Tcl_DStringLength(&converted));
  Tcl_DStringFree(&converted);
  return out;
}

std::string TableText::fromUtf8(std::string_view text) const {
  if (isAscii(text)) return std::string(text);
  Tcl_DString converted;
  Tcl_UtfToExternalDString(encodingFor(encoding_), text.data(), static_cast<int>(text.size()),
                           &converted);
  std::string out(Tcl_DStringValue(&converted), Tcl_DStringLength(&converted));
  Tcl_DStringFree(&converted);
  return out;
}

namespace {

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  return lead >= 0xC0 ? 2 : 1;
}

unsigned long codePoint(std::string_view utf8) {
  const unsigned char lead = static_cast<unsigned char>(utf8[0]);
  const std::size_t length = utf8.size();
  if (length == 1) return lead;
  unsigned long code = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) code = (code << 6) | (utf8[i] & 0x3F);
  return code;
}

}  // namespace

std::string codePointName(std::string_view utf8) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04lX", codePoint(utf8));
  return buffer;
}

TableText::Converted TableText::toTable(std::string_view text) const {
  Converted out;
  if (isAscii(text)) {
    out.bytes = std::string(text);
    return out;
  }
  Tcl_Encoding encoding = encodingFor(encoding_);
  std::vector<char> buffer(text.size() * 4 + 16);
  std::size_t at = 0;
  while (at < text.size()) {
    int read = 0, wrote = 0;
    const int result = Tcl_UtfToExternal(
        nullptr, encoding, text.data() + at, static_cast<int>(text.size() - at),
        TCL_ENCODING_START | TCL_ENCODING_END | TCL_ENCODING_STOPONERROR, nullptr,
        buffer.data(), static_cast<int>(buffer.size()), &read, &wrote, nullptr);
    out.bytes.append(buffer.data(), static_cast<std::size_t>(wrote));
    at += static_cast<std::size_t>(read);
    if (result == TCL_OK || at >= text.size()) break;
    if (result == TCL_CONVERT_NOSPACE && read > 0) continue;
    // The character at `at` has no byte in this code page.
    const std::size_t length =
        std::min(sequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
    const std::string_view character = text.substr(at, length);
    if (out.unheld.empty()) out.unheld = std::string(character);
    out.bytes += "<" + codePointName(character) + ">";
    at += length;
  }
  return out;
}

void TableText::toUtf8(std::vector<std::string>* values) const {
  for (std::string& v : *values) v = toUtf8(v);
}

void TableText::fromUtf8(std::vector<std::string>* values) const {
  for (std::string& v : *values) v = fromUtf8(v);
}

namespace {
std::uint8_t theMessageCodePage = 0;
}  // namespace

void setMessageCodePage(std::uint8_t codePage) { theMessageCodePage = codePage; }

namespace {

// Code pages whose characters may take two bytes: a byte there is no letter
// of its own.
bool isDoubleByte(const char* encoding) {
  const std::string name = encoding;
  return name == "cp932" || name == "cp936" || name == "cp949" || name == "cp950";
}

bool caseFoldTable(std::uint8_t codePage, CaseFold::Table* table) {
  const char* name = TableText::encodingName(codePage);
  if (isDoubleByte(name)) return false;
  const TableText text(codePage);
  for (int byte = 0x80; byte < 0x100; ++byte) {
    const std::string utf8 = text.toUtf8(std::string(1, static_cast<char>(byte)));
    Tcl_UniChar letter = 0;
    if (Tcl_UtfToUniChar(utf8.c_str(), &letter) != static_cast<int>(utf8.size())) continue;
    const Tcl_UniChar capital = static_cast<Tcl_UniChar>(Tcl_UniCharToUpper(letter));
    if (capital == letter) continue;
    char buffer[TCL_UTF_MAX + 1] = {0};
    const int length = Tcl_UniCharToUtf(capital, buffer);
    const TableText::Converted back = text.toTable(std::string_view(buffer, length));
    if (back.unheld.empty() && back.bytes.size() == 1) {
      (*table)[byte] = static_cast<unsigned char>(back.bytes[0]);
    }
  }
  return true;
}

}  // namespace

void installCaseFolds() { CaseFold::setProvider(caseFoldTable); }

std::string describeCharacter(std::string_view utf8) {
  return std::string(utf8) + " (" + codePointName(utf8) + ")";
}

bool valueToTable(const TableText& text, const std::string& handle, const std::string& field,
                  std::string* value) {
  TableText::Converted converted = text.toTable(*value);
  if (!converted.unheld.empty()) {
    return failWith(handle + "_codePage: Refused " + field + "=" + *value + ": the code page " +
                    TableText::encodingName(text.codePage()) + " cannot hold " +
                    describeCharacter(converted.unheld));
  }
  *value = std::move(converted.bytes);
  return true;
}

bool assignmentsToTable(const TableText& text, const std::string& handle,
                        std::vector<std::string>* assignments) {
  std::vector<std::string> converted;
  for (const std::string& assignment : *assignments) {
    const std::string::size_type eq = assignment.find('=');
    const std::string field = assignment.substr(0, eq);
    std::string value = eq == std::string::npos ? std::string() : assignment.substr(eq + 1);
    if (!valueToTable(text, handle, field, &value)) return false;
    converted.push_back(eq == std::string::npos ? text.fromUtf8(field)
                                                : text.fromUtf8(field) + "=" + value);
  }
  *assignments = std::move(converted);
  return true;
}

std::string messageToUtf8(const std::string& text) {
  if (isAscii(text) || isValidUtf8(text)) return text;
  return TableText(theMessageCodePage).toUtf8(text);
}

}  // namespace tav
