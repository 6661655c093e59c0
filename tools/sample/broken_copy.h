// The broken copy of the sample: the sample database with the faults the
// verification finds, written by the generator so that tests and the tour
// need no binary files.  Every fault is deliberate and listed in
// doc/sample.md:
//
//   TIM.DBF    the header counts one record fewer than the file holds
//   PCT        a skater "Zero Identifier" whose PCT_ID is 0; a club
//              "Duplicate Club" with the PCT_ID of the first club; the first
//              couple's second partner (PCT_PPCTID) names no entry
//   PAR        the first participant names no register entry (PCT_ID), the
//              second a club that does not exist (PAR_CLBID)
//   CAT        the first category's third segment slot names a segment that
//              does not exist; the last category's name holds Tcl syntax
//              ("Junior Men [exec touch pwned] {")
//   SCP        the first segment's first judge names no register entry
//
// The copy carries no index files (they would be stale).
#ifndef TAVC_TOOLS_SAMPLE_BROKEN_COPY_H_
#define TAVC_TOOLS_SAMPLE_BROKEN_COPY_H_

#include <string>

namespace tav {
namespace sample {

// Reads the database in `from` and writes the broken copy into `to`
// (created or emptied first).  False with a message on any failure.
bool writeBrokenCopy(const std::string& from, const std::string& to, std::string* error);

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_BROKEN_COPY_H_
