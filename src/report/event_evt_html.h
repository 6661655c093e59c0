// The report operations behind tav_eventEvtHtml and tav_eventEvtMissPpe:
// they find the event in the event tree and run the generator.
#ifndef TAVC_REPORT_EVENT_EVT_HTML_H_
#define TAVC_REPORT_EVENT_EVT_HTML_H_

#include <string>

#include "report/html_options.h"
#include "report/page_file.h"

namespace tav {

// Publishes the results site of event `evtId` into the folder `path`, and
// tells in `counts` (may be null) how many pages were written and how many
// were already there as they are.  A missing event fails with the tree's
// "Invalid EVT_ID: " message.
bool eventEvtHtml(const std::string& path, int evtId, const HtmlOptions& options,
                  PageCounts* counts = nullptr);

// Checks only that the event exists; writes nothing.
bool eventEvtMissPpe(int evtId);

}  // namespace tav

#endif  // TAVC_REPORT_EVENT_EVT_HTML_H_
