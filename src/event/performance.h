// CPerformance is the protocol of one participant in one segment (a PRF
// record): its status, start number and warm-up group, place, points, and
// the score lists of its executed elements, program components, deductions
// and major deductions, and its planned elements.
//
// Score texts are handed on as the record holds them (the scoring program
// formats them, for example "7.25"); the integer variants give hundredths
// of a point, read by the field's decimal count (field_number.h), so 7.25
// is 725.  Component index i (0-9) of a segment, whose factor and names are
// SCP_CRFR, SCP_CRIT and SCP_CRSH number i + 1, is PRF_Cii... here, and
// deduction index i (SCP_DEFR number i + 1) is PRF_DEDii.  Every operation reads the PRF record when it is asked; a deleted
// record fails with "Record deleted: " and the record number.
#ifndef TAVC_EVENT_PERFORMANCE_H_
#define TAVC_EVENT_PERFORMANCE_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "event/node_record.h"

namespace tav {

class CParticipant;

constexpr int kElementCount = 20;
constexpr int kJudgeCount = 10;
constexpr int kComponentFieldCount = 11;  // PRF_C00... to PRF_C10...
constexpr int kDeductionFieldCount = 18;  // PRF_DED00 to PRF_DED17

// One executed element of a performance.
struct ElementDetail {
  int number = 0;            // 1 to 20
  std::string name;          // PRF_XNAEee, or its expansion
  std::string info;          // PRF_EeeINF
  std::string baseValue;     // PRF_XBVEee
  std::string verification;  // PRF_EeeWBP
  std::array<int, kJudgeCount> grades{};       // PRF_EeeJ01..J10 (grade + 4, 9 none)
  std::string panel;         // PRF_EeePNL
  std::string result;        // PRF_EeeRES
  std::string half;          // PRF_EeeHLF
  std::string deduction;     // PRF_EeeDED
  std::array<int, kJudgeCount> judgeValues{};  // PRF_EeeD01..D10
  std::string bonus;         // PRF_EeeBON
  // The same scores in hundredths of a point, for sums and comparisons.
  int baseValuePoints = 0, panelPoints = 0, resultPoints = 0, deductionPoints = 0,
      bonusPoints = 0;
};

// The judges' votes on one major deduction and the value of position 15.
struct MajorDeduction {
  std::array<int, kJudgeCount> votes{};  // PRF_D0kJ01..J10
  int position15 = 0;                    // PRF_D0kJ15
};

// Start number, place and bonus as integers; points and mark totals as the
// record holds them.
struct ScoreSummaryText {
  int startNo = 0, place = 0, bonus = 0;
  std::string points, elements, components;
};

// The same with points and mark totals in hundredths of a point.
struct ScoreSummary {
  int startNo = 0, place = 0, bonus = 0;
  int points = 0, elements = 0, components = 0;
};

class CPerformance {
 public:
  // `kind` is the segment kind string (kind letter and "+"), used as the key
  // prefix of element names.  The participant belongs to the same category.
  CPerformance(std::uint32_t recNo, int id, std::string kind, const CParticipant* participant);
  CPerformance(const CPerformance&) = delete;
  CPerformance& operator=(const CPerformance&) = delete;

  int id() const { return id_; }
  std::uint32_t recNo() const { return record_.recNo(); }
  const std::string& idText() const { return idText_; }
  bool isComplete() const { return complete_; }
  const std::string& kind() const { return kind_; }
  const CParticipant& participant() const { return *participant_; }
  const NodeRecord& record() const { return record_; }

  // ---- Status (performance.cc) --------------------------------------------
  bool getStatus(char* letter) const;  // PRF_STAT, 0 when empty
  bool getParStatus(char* letter) const;
  bool getParGroup(char* letter) const;
  // Not in the segment when a group letter is given and differs from the
  // participant's, or when PRF_STAT is M.
  bool inSegment(char group, bool* in) const;
  bool hasSkated(bool* skated) const;
  bool isActive(char group, bool* active) const;
  bool getHtmlStatus(char group, bool textForm, std::string* status) const;
  bool getPlaceBonus(int* place, int* bonus) const;
  bool getStartNo(int* startNo) const;         // PRF_STNUM
  bool getWarmupGroupNo(int* groupNo) const;   // PRF_STGNUM

  // ---- Scores (performance_scores.cc) -------------------------------------
  bool getElmScoreDetail(bool firstOnly, bool expandNames,
                         std::vector<ElementDetail>* elements) const;
  // The ten judges' marks of component `comp` (0-10); empty above 10; a
  // negative index fails with "Invalid index: ".
  bool getCompScoreDetail(int comp, std::vector<std::string>* marks) const;
  bool getCompScoreDetailInt(int comp, std::vector<int>* marks) const;  // hundredths
  bool getCompScoreSummaryStr(int comp, std::string* panel, std::string* result) const;
  bool getCompScoreSummaryInt(int comp, int* panel, int* result) const;  // hundredths
  // PRF_DEDdd of index `ded` (0-17); "0" above 17; negative fails.
  bool getDedScoreStr(int ded, std::string* value) const;
  bool getDedScoreInt(int ded, int* value) const;  // hundredths
  // Two major deductions, three from database version 11127 on.
  bool getMajDedData(std::vector<MajorDeduction>* records) const;
  bool getScoreSummaryStr(ScoreSummaryText* summary) const;
  bool getScoreSummaryInt(ScoreSummary* summary) const;
  // Planned elements: list -1 the performance's own PRF_PNAE01..20, any
  // other list the register's planned elements of the participant.
  bool getPelData(int list, int flag, std::vector<std::string>* codes,
                  std::vector<std::string>* second) const;

  // ---- The participant, forwarded (performance.cc) -------------------------
  bool getParPctId(int* pctId) const;
  bool getParSpMusic(std::string* music) const;
  bool getParFsMusic(std::string* music) const;
  bool getParName(const std::string& field, std::string* name) const;
  bool getParNameClub(std::string* name, std::string* club) const;
  bool getParNamesClubs(std::vector<std::string>* texts) const;
  bool getParRegNos(std::vector<std::string>* regNos) const;
  bool getParNation(std::string* nation) const;

 private:
  struct Letters;
  bool readLetters(Letters* letters) const;
  bool expandName(const std::string& code, bool firstOnly, std::string* name) const;

  NodeRecord record_;
  int id_;
  std::string idText_;
  std::string kind_;
  const CParticipant* participant_;
  bool complete_ = false;
};

}  // namespace tav

#endif  // TAVC_EVENT_PERFORMANCE_H_
