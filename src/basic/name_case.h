// Upper case of a name in its table's code page, for the derived name
// fields (the capitalised family name, the sort name of a club).  Besides
// a-z, the accented letters of the Western code page (Windows-1252, also the
// table default) become capitals: Mäkelä gives MÄKELÄ, not MäKELä.  In other
// code pages only a-z change.  The register's indexes use plain a-z upper
// case (upperAscii) and are not affected.
#ifndef TAVC_BASIC_NAME_CASE_H_
#define TAVC_BASIC_NAME_CASE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace tav {

std::string upperName(std::string_view name, std::uint8_t codePage);

}  // namespace tav

#endif  // TAVC_BASIC_NAME_CASE_H_
