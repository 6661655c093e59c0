// The Western code page of the competition database (Windows-1252) read as
// Unicode: the one table that turns a stored text byte into the character it
// stands for, for the pages of the results site (character references) and
// for file names made from database text (UTF-8).
#ifndef TAVC_BASE_WINDOWS_1252_H_
#define TAVC_BASE_WINDOWS_1252_H_

#include <string>
#include <string_view>

namespace tav {

// The Unicode code point of a Windows-1252 byte.  The five bytes the code
// page leaves unassigned (81, 8D, 8F, 90, 9D) stand for the control
// characters of the same number, as browsers read them.
char32_t windows1252CodePoint(unsigned char byte);

// Windows-1252 text as UTF-8; ASCII text comes back unchanged.
std::string windows1252ToUtf8(std::string_view text);

}  // namespace tav

#endif  // TAVC_BASE_WINDOWS_1252_H_
