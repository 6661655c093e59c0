// CEventTree is the event tree of the open database: the events keyed by
// EVT_ID, each owning its categories, segments, participants and
// performances.  One process-wide tree is reached through `events()`; it is
// emptied whenever the session closes its database.
//
// The tree is built once by `eventPopulate` from the tables EVT, CAT, PAR,
// SCP, PRF, TIM and TTM, in one pass over each table that groups the records
// by their parent's identifier, so the build grows with the size of the
// tables.  Nodes hold record numbers, never copies of records.
//
// The operations named after commands find the nodes by identifier and
// forward to the node operation of the same meaning.
#ifndef TAVC_EVENT_EVENT_TREE_H_
#define TAVC_EVENT_EVENT_TREE_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "event/category.h"
#include "event/event.h"
#include "event/participant.h"
#include "event/performance.h"
#include "event/segment.h"

namespace tav {

class CEventTree {
 public:
  CEventTree() = default;
  CEventTree(const CEventTree&) = delete;
  CEventTree& operator=(const CEventTree&) = delete;

  // ---- Building and closing (event_tree_build.cc) --------------------------
  // Builds the tree.  Over an existing tree it fails with the duplicate
  // message of its first event and leaves the tree as it was; a build that
  // fails discards everything it had built.
  bool eventPopulate();
  void eventClose();
  bool eventDumpIdTree() const;
  const std::map<int, std::unique_ptr<CEvent>>& eventMap() const { return evts_; }

  // ---- Lookups (event_tree.cc) ---------------------------------------------
  CEvent* getEvtPtr(int evtId) const;  // "Invalid EVT_ID: "
  CCategory* getEvtCatPtr(int evtId, int catId) const;
  CSegment* getEvtCatScpPtr(int evtId, int catId, int scpId) const;
  CPerformance* getEvtCatScpPrfPtr(int evtId, int catId, int scpId, int prfId) const;

  bool eventGetEvtIdRecNo(int evtId, int* recNo) const;
  bool eventGetEvtIdRegNo(int evtId, std::string* regNo) const;
  bool eventGetEvtNames(std::vector<std::string>* names) const;
  bool eventGetEvtListId(int index, int* id) const;
  bool eventGetEvtListRecNo(int index, int* recNo) const;
  bool eventGetEvtClubNames(int evtId, std::vector<std::string>* names) const;
  bool eventGetEvtClubListId(int evtId, int index, int* id) const;
  bool eventGetEvtCatIdRecNo(int evtId, int catId, int* recNo) const;
  bool eventGetEvtCatNames(int evtId, std::vector<std::string>* names) const;
  bool eventGetEvtCatListId(int evtId, int index, int* id) const;
  bool eventGetEvtCatListRecNo(int evtId, int index, int* recNo) const;
  bool eventGetEvtCatScpIds(int evtId, int catId, std::vector<int>* ids) const;
  bool eventGetEvtCatScpNames(int evtId, int catId, std::vector<std::string>* shortNames,
                              std::vector<std::string>* names) const;
  bool eventGetEvtCatScpListId(int evtId, int catId, int index, int* id) const;
  bool eventGetEvtCatScpListRecNo(int evtId, int catId, int index, int* recNo) const;

  // ---- Generic field access (event_tree.cc) --------------------------------
  // The node: catId below 1 the event; else parId 1 or more that participant
  // of the category, else scpId 1 or more that segment, else the category.
  // `offIdx` is accepted and not used.
  bool eventGetFieldData(int evtId, int catId, int parId, int scpId, int offIdx,
                         std::vector<std::string>* fields,
                         std::vector<std::string>* values) const;
  bool eventSetFieldData(int evtId, int catId, int parId, int scpId, int offIdx,
                         const std::vector<std::string>& fields,
                         const std::vector<std::string>& values);

  // ---- Bulk updates (event_tree_updates.cc) --------------------------------
  // Events with identifier evtId (all when 0); the panel nation fields of
  // their segments, JPS_NAT and PJS_NAT of those segments' panel records and
  // PAR_NAT of their participants whose PCT_ID is pctId (all when 0 or less).
  bool eventEvtUpdateNatCodes(int evtId, int pctId, const std::string& code) const;
  // PAR_CLBID and PAR_PCLBID of every participant whose PCT_ID is pctId.
  bool eventEvtUpdateClubIds(int pctId, int clubId, int partnerClubId) const;
  // CAT_NDPP of the categories catId (all when 0) of events evtId (all when 0).
  bool eventEvtUpdateDpp(int evtId, int catId, const std::string& value) const;

 private:
  bool categoryIdInUse(int catId) const;

  std::map<int, std::unique_ptr<CEvent>> evts_;
};

// The event tree of the library.  The first call registers the tree's
// clearing with the session, so it is emptied when the database closes.
CEventTree& events();

}  // namespace tav

#endif  // TAVC_EVENT_EVENT_TREE_H_
