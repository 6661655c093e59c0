// The standings of a category of the event tree (CCategory.getStandings):
// its status text, the short names of its segments and one row per listed
// participant, for showing alone or for combining with other categories
// (standings_combine.h).
#ifndef TAVC_EVENT_STANDINGS_H_
#define TAVC_EVENT_STANDINGS_H_

#include <set>
#include <string>
#include <vector>

#include "event/category.h"
#include "event/standings_combine.h"

namespace tav {

struct CategoryStandings {
  std::vector<std::string> shortNames;  // SCP_SNAM of every existing segment
  std::string status;                   // "NOT STARTED", "IN PROGRESS" or empty when finished
  std::vector<StandingsRow> rows;
};

// "NOT STARTED" before anything is skated, "IN PROGRESS" until every
// segment is finished, empty when the category is final.
bool getStandingsStatus(const CCategory& category, std::string* status);

// CCategory.getStandings.  Rows follow the result order after the last
// started segment: placed participants by place, then (unless `forCombining`)
// those still to skate by start number and those listed with a status.  A
// participant is listed when `clubIds` is empty, or when it holds the
// participant's PAR_CLBID and its PAR_PCLBID is 0 or also held.  Ties are
// taken from the whole result, so a participant tied with one filtered out
// keeps its tie mark.
bool getStandings(const CCategory& category, const std::set<int>& clubIds, bool forCombining,
                  CategoryStandings* standings);

}  // namespace tav

#endif  // TAVC_EVENT_STANDINGS_H_
