// The special achievement award pages: the operation behind
// tav_eventEvtSaa and the file name of a page.  The page itself is written
// by the results site generator (CHtml::saa, saa.cc).
#ifndef TAVC_REPORT_SAA_H_
#define TAVC_REPORT_SAA_H_

#include <string>
#include <vector>

namespace tav {

// "SAA_" + `base` + ".html", with every character that cannot stand in a
// file name ("/", "\", NUL and other control characters) replaced by "_",
// so that the page stays inside the output folder.
std::string saaFileName(const std::string& base);

// Writes the award page of the segments `scpIds` of event `evtId` into the
// folder `path`.  A missing event fails with the tree's "Invalid EVT_ID: ".
bool eventEvtSaa(const std::string& path, int evtId, const std::vector<int>& scpIds);

}  // namespace tav

#endif  // TAVC_REPORT_SAA_H_
