// Conversions shared by every node of the event tree: the decimal value of a
// field text, scores in hundredths of a point, and the names of numbered
// field families ("PRF_E00J00" with element 3 and judge 7 is PRF_E03J07).
#ifndef TAVC_EVENT_FIELD_NUMBER_H_
#define TAVC_EVENT_FIELD_NUMBER_H_

#include <string>
#include <string_view>

namespace tav {

// The text as a decimal integer: leading blanks and tabs skipped, an
// optional sign, digits up to the first non-digit; no digits gives 0.
// Values beyond the int range are held at its ends.
int decimalInt(std::string_view text);

// A score text in hundredths of a point.  Score fields say by their decimal
// count what they hold: a field with decimals holds points written with a
// decimal point ("7.25" is 725, "-1" is -100, ".5" is 50); a field without
// decimals holds an integer count of hundredths ("725" is 725).  The fraction
// is read digit by digit, so no binary rounding is involved; digits past the
// second decimal are dropped (scores are written with two).  Text without
// digits gives 0.
int hundredthsOf(std::string_view text, int decimals);

// The name of a numbered field: `number` in decimal replaces the run of zeros
// that ends at the last character, or, when the pattern does not end in a
// zero, the run that ends at the seventh character ("PRF_E00INF").  The
// number is right-aligned in the run (5 in "PRF_DED00" gives PRF_DED05).
// Empty when the pattern has no such run or the number does not fit in it.
std::string numberedField(std::string_view pattern, int number);

// A pattern with two numbers: the first replaces the zeros that end at the
// seventh character and the second those that end at the tenth
// ("PRF_E00J00", 3, 7 gives PRF_E03J07).
std::string numberedField(std::string_view pattern, int first, int second);

}  // namespace tav

#endif  // TAVC_EVENT_FIELD_NUMBER_H_
