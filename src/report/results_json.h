// The results of one event as a JSON document (doc/results-json.md describes
// every field, doc/results.schema.json is its JSON Schema): every category,
// its segments in slot order with their status, officials, components and
// start order, and every performance of a segment with place, start number,
// names, club, nation, status, totals, deductions, bonus, each executed
// element with every judge's grade, each component with every judge's mark
// and each deduction.  Scores are JSON numbers with two decimals, as they
// are stored; texts are UTF-8.
//
// The document is built from the event tree, as the results pages are, and
// put in place through a temporary file and a rename (page_file.h).
#ifndef TAVC_REPORT_RESULTS_JSON_H_
#define TAVC_REPORT_RESULTS_JSON_H_

#include <string>

#include "event/event.h"
#include "report/json_writer.h"

namespace tav {

// The document of `event`; false with the failing getter's message.
bool resultsJson(const CEvent& event, const TextDecoder& decode, std::string* document);

// Writes the document of event `evtId` as folder/event<EVT_ID>.json and sets
// `path` to it.  A missing event fails with the tree's "Invalid EVT_ID: ".
bool eventEvtJson(const std::string& folder, int evtId, const TextDecoder& decode,
                  std::string* path);

}  // namespace tav

#endif  // TAVC_REPORT_RESULTS_JSON_H_
