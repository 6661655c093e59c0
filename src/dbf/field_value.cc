#include "dbf/field_value.h"

#include "dbf/dbf.h"
#include "dbf/field_text.h"

namespace tav {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(std::string_view s) {
  for (char c : s) {
    if (!isDigit(c)) return false;
  }
  return true;
}

// Adds one unit in the last place of a string of decimal digits.
void incrementDigits(std::string* digits) {
  for (std::size_t i = digits->size(); i-- > 0;) {
    if ((*digits)[i] != '9') {
      ++(*digits)[i];
      return;
    }
    (*digits)[i] = '0';
  }
  digits->insert(digits->begin(), '1');
}

// `text` (blanks already removed) rounded to `decimals` places, or false
// when it is not a decimal number.
bool roundedNumber(std::string_view text, std::size_t decimals, std::string* out) {
  std::string_view sign;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    sign = text.substr(0, 1);
    text.remove_prefix(1);
  }
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.size() + fraction.size() == 0 || !allDigits(whole) || !allDigits(fraction)) {
    return false;
  }
  if (fraction.size() <= decimals) {
    *out = std::string(sign) + std::string(text);
    return true;
  }
  std::string digits = std::string(whole) + std::string(fraction.substr(0, decimals));
  if (digits.empty()) digits = "0";
  if (fraction[decimals] >= '5') incrementDigits(&digits);
  const std::size_t wholeDigits = digits.size() - decimals;
  std::string rounded = wholeDigits == 0 ? "0" : digits.substr(0, wholeDigits);
  if (decimals > 0) rounded += "." + digits.substr(wholeDigits);
  *out = std::string(sign) + rounded;
  return true;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool isCalendarDate(std::string_view text) {
  if (text.size() != 8 || !allDigits(text)) return false;
  auto number = [&](std::size_t at, std::size_t width) {
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  const int year = number(0, 4), month = number(4, 2), day = number(6, 2);
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year == 0 || month < 1 || month > 12 || day < 1) return false;
  const int last = kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
  return day <= last;
}

bool refuse(const std::string& why, std::string* reason) {
  *reason = why;
  return false;
}

}  // namespace

bool storedFieldValue(const DbfField& field, std::string_view value, std::string* stored,
                      std::string* reason) {
  const std::string_view text = trimBlanks(value);
  switch (field.type) {
    case 'C':
      *stored = std::string(value);
      return true;
    case 'N':
    case 'F': {
      stored->clear();
      if (text.empty()) return true;
      if (!roundedNumber(text, field.decimals, stored)) return refuse("not a number", reason);
      if (stored->size() <= field.length) return true;
      return refuse("does not fit a numeric field of " + std::to_string(field.length) +
                        " characters with " + std::to_string(field.decimals) + " decimals",
                    reason);
    }
    case 'D':
      *stored = std::string(text);
      if (text.empty() || isCalendarDate(text)) return true;
      return refuse("not a date written YYYYMMDD", reason);
    case 'L':
      *stored = std::string(text);
      if (text.empty() || (text.size() == 1 && std::string_view("TtFfYyNn?").find(text[0]) !=
                                                    std::string_view::npos)) {
        return true;
      }
      return refuse("not a logical value (T, F, Y, N, ? or blank)", reason);
    default:
      return refuse(std::string("a field of type ") + field.type + " cannot be written", reason);
  }
}

}  // namespace tav
