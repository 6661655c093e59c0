// The reference check of the register (the last part of verification type
// 4): couples whose partners or partner club, and skaters whose club, name
// no register entry.  Findings are warnings appended to the kept error text
// one per line; false only when the check cannot run.  The register is built
// first when it is not.
#ifndef TAVC_BASIC_VALID_REFS_H_
#define TAVC_BASIC_VALID_REFS_H_

namespace tav {

bool basicAllValidIdRefs();

}  // namespace tav

#endif  // TAVC_BASIC_VALID_REFS_H_
