// The reference check of the event tree (verification type 4): for every
// event, category, participant and segment, the identifiers it holds that
// name no register entry, club, segment or verification rule.
//
// Findings are warnings: each appends one line to the kept error text
// without setting the severity mark, and the check goes on.  Progress lines
// go to the application's procedure add_verif_msg, as words (a name such as
// "[exec ...]" reaches the application as text).  An operation answers
// false only when it cannot run (a read that fails).
#ifndef TAVC_EVENT_VALID_REFS_H_
#define TAVC_EVENT_VALID_REFS_H_

namespace tav {

class CCategory;
class CEvent;
class CParticipant;
class CSegment;

// Every event of the tree in identifier order, each announced to
// add_verif_msg before its check.  The register and the tree are built
// first when they are not.
bool eventsAllValidIdRefs();

bool allValidIdRefs(const CEvent& event);
bool allValidIdRefs(const CCategory& category);
bool allValidIdRefs(const CSegment& segment, char categoryType);
bool allValidIdRefs(const CParticipant& participant);

}  // namespace tav

#endif  // TAVC_EVENT_VALID_REFS_H_
