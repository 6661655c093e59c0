// What a field of each type accepts, and the text that is stored for it.
//
// Every value written into a record passes through `storedFieldValue` first
// (CDbf::formatRecord checks all values of a call before it writes any), so
// a table never receives a value its readers would misread:
//   C  any text; cut to the field's width when it is longer.
//   N  (and F) blank, or a decimal number: optional sign, digits, optionally
//      a point and digits, blanks around it allowed.  A number with more
//      decimals than the field's decimal count is rounded to that count
//      (half away from zero); a number that does not fit the field's width
//      then is refused, never cut.  Numbers that fit are stored as given.
//   D  blank, or YYYYMMDD naming a day of the Gregorian calendar.
//   L  blank, or one of T F Y N ? (either case), stored as given.
//   other types (memo, binary, ...) cannot be written.
#ifndef TAVC_DBF_FIELD_VALUE_H_
#define TAVC_DBF_FIELD_VALUE_H_

#include <string>
#include <string_view>

namespace tav {

struct DbfField;

// True with the text to store in *stored; false with the reason in *reason
// ("not a number", ...), which the caller puts after the field and value.
bool storedFieldValue(const DbfField& field, std::string_view value, std::string* stored,
                      std::string* reason);

}  // namespace tav

#endif  // TAVC_DBF_FIELD_VALUE_H_
