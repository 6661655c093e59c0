// Trimming rules for text read out of table records and headers.
#ifndef TAVC_DBF_FIELD_TEXT_H_
#define TAVC_DBF_FIELD_TEXT_H_

#include <string>
#include <string_view>

namespace tav {

// Removes leading and trailing blanks and tabs.
inline std::string_view trimBlanks(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

// The field text of raw field bytes: leading blanks, tabs and NUL bytes are
// removed, the value ends at the first NUL byte left inside it, and trailing
// blanks and tabs are removed.
inline std::string_view fieldTextOf(std::string_view raw) {
  std::size_t b = 0;
  while (b < raw.size() && (raw[b] == ' ' || raw[b] == '\t' || raw[b] == '\0')) ++b;
  std::string_view rest = raw.substr(b);
  std::size_t nul = rest.find('\0');
  if (nul != std::string_view::npos) rest = rest.substr(0, nul);
  return trimBlanks(rest);
}

// ASCII upper case (a-z only); other bytes are unchanged.
inline std::string upperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// The C library's decimal conversion: leading blanks, optional sign, digits up
// to the first non-digit; no digits gives 0.  Saturates instead of overflowing.
long long decimalValue(std::string_view s);

}  // namespace tav

#endif  // TAVC_DBF_FIELD_TEXT_H_
