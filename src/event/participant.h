// CParticipant is one entry of a category (a PAR record): a skater, couple
// or team entered in the category, with its status letters, its points and
// places per segment and in total, and its names, clubs and nation, which it
// asks the register for through its PCT_ID.
//
// Every getter reads the PAR record when it is asked; a deleted record fails
// with "Record deleted: " and the record number.
#ifndef TAVC_EVENT_PARTICIPANT_H_
#define TAVC_EVENT_PARTICIPANT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "event/node_record.h"

namespace tav {

class CParticipant {
 public:
  CParticipant(std::uint32_t recNo, int id);
  CParticipant(const CParticipant&) = delete;
  CParticipant& operator=(const CParticipant&) = delete;

  int id() const { return id_; }
  std::uint32_t recNo() const { return record_.recNo(); }
  const std::string& idText() const { return idText_; }
  bool isComplete() const { return complete_; }
  const NodeRecord& record() const { return record_; }

  // ---- Record fields (participant.cc) -------------------------------------
  bool getPctId(int* pctId) const;
  bool getParClubIds(int* clubId, int* partnerClubId) const;
  bool getGroup(char* letter) const;    // PAR_GROUP, 0 when empty
  bool getStatus(char* letter) const;   // PAR_STAT, 0 when empty
  // "Active", "Disqualified", ... ("???" for any other letter).
  bool getStatusName(std::string* name) const;
  // Letter form (" ", "D", "-", "W", "E") or text form ("", "DSQ", "FNR",
  // "WD", "EW") of the status for the results pages.
  bool getHtmlStatus(bool textForm, std::string* status) const;
  // The letter of PAR_STATn, n = slot + 1; a slot outside 0-5 fails with
  // "Invalid segment: ".
  bool getSegStatus(int slot, char* letter) const;
  bool inSegment(int slot, char group, bool* in) const;
  bool hasSkated(int slot, bool* skated) const;
  // Points in hundredths (by the fields' decimal count) and places.
  bool getSegPointPlace(int slot, int* points, int* place) const;
  bool getSegPointIPlace(int slot, int* points, int* place) const;
  bool getTotalPointPlace(int* points, int* place) const;

  bool getFieldData(std::vector<std::string>* fields, std::vector<std::string>* values) const;
  bool setFieldData(const std::vector<std::string>& fields,
                    const std::vector<std::string>& values) const;
  bool updateCatId(int catId) const;
  bool updateNatCode(const std::string& code) const;
  bool updateClubIds(int clubId, int partnerClubId) const;

  // ---- From the register (participant_register.cc) -------------------------
  bool getName(const std::string& field, std::string* name) const;
  bool getRegNos(std::vector<std::string>* regNos) const;
  bool isCouple(bool* couple) const;
  bool getSpMusic(std::string* music) const;
  bool getFsMusic(std::string* music) const;
  // Name and club; a club entered for the competition (PAR_CLBID above 0)
  // takes the place of the register's club.
  bool getNameClub(std::string* name, std::string* club) const;
  // The five names-and-clubs texts of the register; the clubs of PAR_CLBID
  // and PAR_PCLBID, when above 0, take the place of the register's clubs.
  bool getNamesClubs(std::vector<std::string>* texts) const;
  // PAR_NAT, or the register's nation of the PCT_ID when it is empty.
  bool getNation(std::string* nation) const;

 private:
  bool pointPlace(const char* pointPattern, const char* placePattern, int slot, int* points,
                  int* place) const;

  NodeRecord record_;
  int id_;
  std::string idText_;
  bool complete_ = false;
};

}  // namespace tav

#endif  // TAVC_EVENT_PARTICIPANT_H_
