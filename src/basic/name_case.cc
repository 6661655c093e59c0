// Upper case of names in the Western code page.
#include "basic/name_case.h"

namespace tav {
namespace {

// Language-driver bytes read as Windows-1252 (0: no byte given).
bool isWestern(std::uint8_t codePage) {
  return codePage == 0x00 || codePage == 0x03 || codePage == 0x57 || codePage == 0x58 ||
         codePage == 0x59;
}

unsigned char upperWestern(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
  }
}

}  // namespace

std::string upperName(std::string_view name, std::uint8_t codePage) {
  std::string out(name);
  const bool western = isWestern(codePage);
  for (char& c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (western) {
      c = static_cast<char>(upperWestern(u));
    } else if (u >= 'a' && u <= 'z') {
      c = static_cast<char>(u - 'a' + 'A');
    }
  }
  return out;
}

}  // namespace tav
