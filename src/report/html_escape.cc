#include "report/html_escape.h"

#include <array>

#include "base/windows_1252.h"
#include "report/html_writer.h"

namespace tav {
namespace {

// How a byte is written: as it is, as one of the markup escapes, or (bytes
// outside ASCII) by a rule of the caller.
enum ByteKind : unsigned char { kPlain, kMarkup, kHigh };

constexpr std::array<ByteKind, 256> makeKinds() {
  std::array<ByteKind, 256> kinds{};
  for (int c = 0x80; c < 0x100; ++c) kinds[c] = kHigh;
  kinds['&'] = kinds['<'] = kinds['>'] = kinds['"'] = kinds['\''] = kMarkup;
  return kinds;
}
constexpr std::array<ByteKind, 256> kKinds = makeKinds();

const char* markupEscape(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    default: return "&#39;";
  }
}

void appendReference(unsigned char byte, std::string* out) {
  out->append("&#");
  out->append(NumberText::integer(windows1252CodePoint(byte)).view());
  *out += ';';
}

void appendPercent(unsigned char byte, std::string* out) {
  static const char kHex[] = "0123456789ABCDEF";
  *out += '%';
  *out += kHex[byte >> 4];
  *out += kHex[byte & 0x0F];
}

// Copies runs of plain bytes in one step; `escapeMarkup` tells whether the
// markup characters are escaped, `high` writes a byte outside ASCII.
template <typename High>
std::string escape(std::string_view text, bool escapeMarkup, High high) {
  std::size_t i = 0;
  const auto stops = [&](unsigned char c) {
    return kKinds[c] == kHigh || (escapeMarkup && kKinds[c] == kMarkup);
  };
  while (i < text.size() && !stops(static_cast<unsigned char>(text[i]))) ++i;
  if (i == text.size()) return std::string(text);  // nothing to escape
  std::string out;
  out.reserve(text.size() + 16);
  out.append(text.data(), i);
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (kKinds[c] == kHigh) {
      high(c, &out);
    } else if (escapeMarkup && kKinds[c] == kMarkup) {
      out.append(markupEscape(static_cast<char>(c)));
    } else {
      std::size_t end = i + 1;
      while (end < text.size() && !stops(static_cast<unsigned char>(text[end]))) ++end;
      out.append(text.data() + i, end - i);
      i = end;
      continue;
    }
    ++i;
  }
  return out;
}

}  // namespace

std::string htmlEscape(std::string_view text) { return escape(text, true, appendReference); }

std::string asciiMarkup(std::string_view markup) {
  return escape(markup, false, appendReference);
}

std::string linkAddress(std::string_view fileName) {
  return escape(fileName, true, appendPercent);
}

}  // namespace tav
