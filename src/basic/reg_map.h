// The registration map: a small XML file that pairs the register identifier
// (PCT_ID) of every competitor and every team with its registration number
// (PCT_REGNO), so that another system can translate between the two.
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <!-- ... -->
//   <MapList>
//     <Map PctId="12" RegNo="40012" />
//   </MapList>
//
// A record is written when it is not deleted and is a competitor (PCT_TYPE
// "PER", PCT_AFUNCT "CMP") or a team (PCT_TYPE "PTS"), in record order.  The
// values are converted from the table's code page to UTF-8 (the file says it
// is UTF-8) and escaped for an attribute; control characters that XML cannot
// carry are left out.  The file is written through a temporary file renamed
// into place, so a failed export leaves the previous file (or none) under
// the final name, never a half file.  Every failure is fatal.
#ifndef TAVC_BASIC_REG_MAP_H_
#define TAVC_BASIC_REG_MAP_H_

#include <functional>
#include <string>
#include <string_view>

#include "basic/reg_map_xml.h"

namespace tav {

// Converts text from the register table's code page to UTF-8.
using ToUtf8 = std::function<std::string(std::string_view)>;

// Writes the map of the open register to `path` (CBasic.pctRegNoMap).
// Fails with the table's field lookup message when a field is missing,
// "Unable to open: " + path when the file cannot be created, "Missing
// Registration no. for: " + PCT_CNAME for the first exported record without
// a registration number (nothing is written then), and "Unable to write: "
// when the file cannot be completed.
bool pctRegNoMap(const std::string& path, const ToUtf8& toUtf8);

}  // namespace tav

#endif  // TAVC_BASIC_REG_MAP_H_
