#include "event/field_number.h"

#include <climits>
#include <cstdint>

namespace tav {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Writes `number` right-aligned into the run of zeros of `name` that ends at
// position `end` (exclusive).  False when there is no run or it is too short.
bool fillRun(std::string* name, std::size_t end, int number) {
  if (number < 0 || end == 0 || end > name->size() || (*name)[end - 1] != '0') return false;
  std::size_t begin = end;
  while (begin > 0 && (*name)[begin - 1] == '0') --begin;
  const std::string digits = std::to_string(number);
  if (digits.size() > end - begin) return false;
  name->replace(end - digits.size(), digits.size(), digits);
  return true;
}

}  // namespace

int decimalInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<std::int64_t>(INT_MAX) + 1) value = static_cast<std::int64_t>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int hundredthsOf(std::string_view text, int decimals) {
  if (decimals <= 0) return decimalInt(text);
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t whole = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    if (whole < INT_MAX) whole = whole * 10 + (text[i] - '0');
  }
  int fraction = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    for (int place = 0; place < 2; ++place) {
      fraction *= 10;
      if (i < text.size() && isDigit(text[i])) fraction += text[i++] - '0';
    }
  }
  std::int64_t value = whole * 100 + fraction;
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string numberedField(std::string_view pattern, int number) {
  std::string name(pattern);
  const std::size_t end = (!name.empty() && name.back() == '0') ? name.size() : 7;
  return fillRun(&name, end, number) ? name : std::string();
}

std::string numberedField(std::string_view pattern, int first, int second) {
  std::string name(pattern);
  if (!fillRun(&name, 7, first) || !fillRun(&name, 10, second)) return std::string();
  return name;
}

}  // namespace tav
