#include "dbf/field_text.h"

#include <climits>

namespace tav {

long long decimalValue(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  unsigned long long value = 0;
  const unsigned long long limit = negative ? 0ULL - static_cast<unsigned long long>(LLONG_MIN)
                                            : static_cast<unsigned long long>(LLONG_MAX);
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    const unsigned digit = static_cast<unsigned>(s[i] - '0');
    if (value > (limit - digit) / 10) { value = limit; break; }
    value = value * 10 + digit;
  }
  if (negative) return value == limit ? LLONG_MIN : -static_cast<long long>(value);
  return static_cast<long long>(value);
}

}  // namespace tav
