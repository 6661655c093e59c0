// The special achievement award pages: the operation behind
// tav_eventEvtSaa and the file name of a page.  The page itself is written
// by the results site generator (CHtml::saa, saa.cc).
#ifndef TAVC_REPORT_SAA_H_
#define TAVC_REPORT_SAA_H_

#include <string>
#include <vector>

#include "report/page_file.h"

namespace tav {

// "SAA_" + `base` + ".html" as a UTF-8 file name: `base` is database text
// (Windows-1252), and every character that cannot stand in a file name
// ("/", "\", NUL and other control characters) is replaced by "_", so that
// the page stays inside the output folder.
std::string saaFileName(const std::string& base);

// Writes the award page of the segments `scpIds` of event `evtId` into the
// folder `path`, and tells in `counts` (may be null) whether it was written
// or already there.  A missing event fails with the tree's "Invalid
// EVT_ID: "; an empty list with "No segment to award"; a segment the event
// does not hold with "No segment " id " in event " evtId.
bool eventEvtSaa(const std::string& path, int evtId, const std::vector<int>& scpIds,
                 PageCounts* counts = nullptr);

}  // namespace tav

#endif  // TAVC_REPORT_SAA_H_
