#include "command/table_text.h"

#include <map>

#include <tcl.h>

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

std::string messageToUtf8(const std::string& text) {
  if (isAscii(text) || isValidUtf8(text)) return text;
  return TableText(theMessageCodePage).toUtf8(text);
}

}  // namespace tav
