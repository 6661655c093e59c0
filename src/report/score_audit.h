// The score audit: for every performance that has been placed, what its
// stored marks determine is worked out again - without the season's value
// tables - and every difference from the stored figures is reported:
//
//   component panel score  the judges' marks of the panel, the highest and
//                          the lowest dropped when there are five marks or
//                          more (with fewer, no mark is dropped: two of
//                          three or four judges would decide alone), the
//                          rest averaged and rounded half up to hundredths;
//   factored score         the stored panel score times the factor, rounded
//                          half up to hundredths;
//   component total        the sum of the stored factored scores;
//   element total          the sum of the stored element scores;
//   segment total          element total + component total - deductions +
//                          bonus, each as stored (deductions as the judges'
//                          details page adds them up);
//   place                  the position in the order of the segment totals,
//                          higher first; equal totals by the higher element
//                          total, then by PRF_ID, the order in which the
//                          results pages list equal places.
//
// Each check compares with the stored figure of its own level, so one wrong
// mark is reported once, where it is.
#ifndef TAVC_REPORT_SCORE_AUDIT_H_
#define TAVC_REPORT_SCORE_AUDIT_H_

#include <string>
#include <vector>

#include "event/event.h"

namespace tav {

struct AuditFinding {
  std::string category, segment, skater, field;  // stored texts of the database
  std::string stored, expected;                  // "6.68"; places as whole numbers
};

// The differences of every started segment of `event`, in category, slot
// and place order; false with the failing getter's message.
bool auditEvent(const CEvent& event, std::vector<AuditFinding>* findings);

// The same for event `evtId`; a missing event fails with "Invalid EVT_ID: ".
bool eventEvtAudit(int evtId, std::vector<AuditFinding>* findings);

// The panel's mark of a component from the judges' marks (hundredths), by
// the rule above; 0 without marks.
int panelMark(std::vector<int> marks);

}  // namespace tav

#endif  // TAVC_REPORT_SCORE_AUDIT_H_
