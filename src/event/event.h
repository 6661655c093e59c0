// CEvent is one event of the database (an EVT record): its categories keyed
// by CAT_ID, the clubs of its participants, its venues, and what the results
// pages show of it.
#ifndef TAVC_EVENT_EVENT_H_
#define TAVC_EVENT_EVENT_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "event/category.h"
#include "event/node_record.h"

namespace tav {

// What the index page shows of an event.
struct EventHtmlInfo {
  std::string name, beginDate, endDate, place, extra;  // EVT_NAME .. EVT_EXTDT
};

class CEvent {
 public:
  CEvent(std::uint32_t recNo, int id);
  CEvent(const CEvent&) = delete;
  CEvent& operator=(const CEvent&) = delete;

  int id() const { return id_; }
  std::uint32_t recNo() const { return record_.recNo(); }
  const std::string& idText() const { return idText_; }
  bool isComplete() const { return complete_; }
  const NodeRecord& record() const { return record_; }
  const std::map<int, std::unique_ptr<CCategory>>& categories() const { return cats_; }

  // ---- Lookups and lists (event.cc) ----------------------------------------
  CCategory* getCatPtr(int catId) const;  // "Invalid CAT_ID: "
  bool getCatIdRecNo(int catId, int* recNo) const;
  bool getCatNames(std::vector<std::string>* names) const;
  bool getCatListId(int index, int* id) const;
  bool getCatListRecNo(int index, int* recNo) const;
  // The clubs of every participant of the event, without repeats, by name;
  // the identifiers are kept in the same order for getClubNameId.
  bool getClubNames(std::vector<std::string>* names);
  bool getClubNameId(int index, int* id) const;

  bool getName(std::string* name) const;
  bool getRegNo(std::string* regNo) const;
  bool getHtmlInfo(EventHtmlInfo* info) const;
  // EVT_R1NAM, then each of EVT_TITLE1 to EVT_TITLE3 that is not empty.
  bool getVenueList(std::vector<std::string>* venues) const;
  // The venue at a 1-based fixed position (1 EVT_R1NAM, 2-4 EVT_TITLE1-3),
  // counted before empty titles are dropped; a position outside 1-4 or
  // naming an empty title gives EVT_R1NAM.
  bool getVenue(int index, std::string* venue) const;

  bool getFieldData(std::vector<std::string>* fields, std::vector<std::string>* values) const;
  bool setFieldData(const std::vector<std::string>& fields,
                    const std::vector<std::string>& values) const;
  bool updateNatCodes(int pctId, const std::string& code) const;
  bool updateClubIds(int pctId, int clubId, int partnerClubId) const;
  bool updateDpp(int catId, const std::string& value) const;

  // ---- Building (event_tree_build.cc) --------------------------------------
  bool addCategory(std::unique_ptr<CCategory> category);
  void markComplete() { complete_ = true; }

 private:
  NodeRecord record_;
  int id_;
  std::string idText_;
  bool complete_ = false;
  std::map<int, std::unique_ptr<CCategory>> cats_;
  std::vector<int> clubIds_;
};

}  // namespace tav

#endif  // TAVC_EVENT_EVENT_H_
