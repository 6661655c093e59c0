// CCategory is one category of an event (a CAT record): its six segment
// slots, which give the order of its segments; its segments keyed by SCP_ID
// and its participants keyed by PAR_ID; its status, stage, result orders and
// titles; the participant list of the application; and the generic field
// access with the CAT_ID rewrite.
#ifndef TAVC_EVENT_CATEGORY_H_
#define TAVC_EVENT_CATEGORY_H_

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "event/node_record.h"
#include "event/participant.h"
#include "event/segment.h"

namespace tav {

// Participants filed by a key; equal keys keep ascending PAR_ID.
using ParticipantMap = std::multimap<int, const CParticipant*>;

// The outcome of CCategory::sortResults.
struct CategoryResults {
  std::vector<std::string> shortNames;  // SCP_SNAM of every existing segment
  ParticipantMap placed;                // by place
  ParticipantMap toSkate;               // by start number in the chosen segment
  ParticipantMap withStatus;            // by 200000 minus points
  std::string toSkateSegName;           // SCP_NAME when more than one is to skate
  int slot = -1;                        // the slot the results are for
};

// One entry of the participant list (CCategory::getParNames).
struct ParticipantEntry {
  int parId = 0;
  int startNo = 0;
  std::string key;         // the order key as text: the start number
  std::string codes;       // one letter per existing segment
  std::string statusName;  // "Active", ...
  std::vector<std::string> texts;  // the register's five names-and-clubs texts
  std::string nation;
  bool couple = false;
};

class CCategory {
 public:
  // `type` is the first character of CAT_TYPE.
  CCategory(std::uint32_t recNo, int id, char type);
  CCategory(const CCategory&) = delete;
  CCategory& operator=(const CCategory&) = delete;

  // ---- Identity, lookups and lists (category.cc) ---------------------------
  int id() const { return id_; }
  std::uint32_t recNo() const { return record_.recNo(); }
  const std::string& idText() const { return idText_; }
  bool isComplete() const { return complete_; }
  const NodeRecord& record() const { return record_; }
  char getType() const { return type_; }
  int stage() const { return stage_; }
  // Slot values: a positive SCP_ID of an existing segment, 0 empty, the
  // negative identifier of a missing segment.
  const std::array<int, kSlotCount>& slots() const { return slots_; }
  const std::map<int, std::unique_ptr<CSegment>>& segments() const { return scps_; }
  const std::map<int, std::unique_ptr<CParticipant>>& participants() const { return pars_; }
  // The existing segment of a slot, nullptr when it holds none.
  CSegment* segmentInSlot(int slot) const;

  CSegment* getScpPtr(int scpId) const;      // "Invalid SCP_ID: "
  CParticipant* getParPtr(int parId) const;  // "Invalid PAR_ID: "
  bool getScpIdRecNo(int scpId, int* recNo) const;
  bool getScpIds(std::vector<int>* ids) const;
  bool getScpNames(std::vector<std::string>* shortNames, std::vector<std::string>* names) const;
  bool getScpListId(int index, int* id) const;
  bool getScpListRecNo(int index, int* recNo) const;
  int getNumSegs() const;
  int getFirstSeg() const;  // 6 when none
  int getLastSeg() const;   // -1 when none

  bool getName(std::string* name) const;
  bool getTvName(std::string* name) const;
  bool getHtmlName(bool useTvName, std::string* name) const;
  bool getLevel(char* letter) const;
  bool getGenderType(char* gender, char* type) const;

  bool getFieldData(std::vector<std::string>* fields, std::vector<std::string>* values) const;
  // A changed CAT_ID is refused when another category of the tree uses it
  // (`idInUse`), else it becomes the category's identifier and is written
  // into every segment and participant record of the category.
  bool setFieldData(const std::vector<std::string>& fields,
                    const std::vector<std::string>& values,
                    const std::function<bool(int)>& idInUse);
  bool updateNatCodes(int pctId, const std::string& code) const;
  bool updateClubIds(int pctId, int clubId, int partnerClubId) const;
  bool updateDpp(const std::string& value) const;

  // ---- Status, stage, results (category_status.cc) -------------------------
  bool getStatus(int* finished, std::string* marker, int* segments) const;
  bool hasStarted(bool* started) const;
  bool isFinished(bool* finished) const;
  bool calcStage();
  // slot -1: the last started segment.  An explicit slot that holds no
  // existing segment fails with "Invalid segment: ".
  bool sortResults(int slot, CategoryResults* results) const;
  bool getResultTitle(int liveScpId, std::string* title, bool* isLive) const;
  // "CAT000" with the identifier; a prefix letter other than a blank and "-"
  // in front.
  bool getOutFileBaseName(char prefix, std::string* name) const;

  // ---- Participant list (category_participants.cc) -------------------------
  // Entries in ascending start number of the first segment that has a start
  // order (entries without one after them, by PAR_ID).  With `flag` set the
  // entries are grouped first by group letter (PAR_GROUP, entries without a
  // group last).
  bool getParNames(int flag, std::vector<ParticipantEntry>* entries) const;

  // ---- Building (event_tree_build.cc) --------------------------------------
  void setSlots(const std::array<int, kSlotCount>& slots) { slots_ = slots; }
  bool addParticipant(std::unique_ptr<CParticipant> participant);
  bool addSegment(std::unique_ptr<CSegment> segment);
  // Links the slots to the segments, marks the first and last, computes the
  // stage; the category is complete when that succeeds.
  bool linkSlots();

 private:
  bool pointPlaceFor(const CParticipant& participant, int slot, int* points, int* place) const;

  NodeRecord record_;
  int id_;
  std::string idText_;
  char type_;
  bool complete_ = false;
  int stage_ = 0;
  std::array<int, kSlotCount> slots_{};
  std::map<int, std::unique_ptr<CSegment>> scps_;
  std::map<int, std::unique_ptr<CParticipant>> pars_;
};

}  // namespace tav

#endif  // TAVC_EVENT_CATEGORY_H_
