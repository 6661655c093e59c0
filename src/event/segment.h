// CSegment is one segment of a category (an SCP record): its performances,
// keyed by PRF_ID, with a map from PAR_ID to PRF_ID; its place among the
// category's six segment slots; its timing record (TIM) and stored timeline
// (TTM); and everything the segment record says about judging and running
// it - status and stage, results in order, the officials' panel,
// deductions, components, warm-up groups, start order, program time, dance,
// comments, venue and music.
//
// The structure (which performances belong to the segment) is fixed when the
// tree is built; every value is read from the tables when it is asked for.
#ifndef TAVC_EVENT_SEGMENT_H_
#define TAVC_EVENT_SEGMENT_H_

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "event/node_record.h"
#include "event/performance.h"

namespace tav {

class CParticipant;

constexpr int kSlotCount = 6;           // segment slots of a category
constexpr int kOfficialSlotCount = 22;  // SCP_JID01 to SCP_JID22
constexpr int kDeductionCount = 17;     // SCP_DEFR01 to SCP_DEFR17
constexpr int kComponentCount = 10;     // SCP_CRFR01 to SCP_CRFR10

// Performances filed by a key; equal keys keep ascending PRF_ID.
using PerformanceMap = std::multimap<int, const CPerformance*>;

// The outcome of CSegment::sortResults.
struct SegmentResults {
  PerformanceMap placed;      // by PRF_PLACE
  PerformanceMap toSkate;     // by PRF_STNUM
  PerformanceMap withStatus;  // key 0: not active, with a status letter
  bool bonus = false;         // some placed performance has bonus points
};

// The officials of selected panel slots, as parallel lists.
struct PanelList {
  std::vector<std::string> functionNames;  // empty texts with flag 0
  std::vector<int> ids;
  std::vector<std::string> names;    // getOffNames only
  std::vector<std::string> nations;  // getOffNames only
};

// Deduction factors by index 0-16 (SCP_DEFR01..17), component factors by
// index 0-9 (SCP_CRFR01..10), both in hundredths; 0: not used.
using DeductionFactors = std::array<int, kDeductionCount>;
using ComponentFactors = std::array<int, kComponentCount>;

// The three major deductions (SCP_DEMJ01..03): each list holds at most one
// name, the SCP_DEDU name of the deduction index the field names (0-16), and
// is empty when the field is blank or names no deduction.  A deduction
// belongs to a major list when its name is equal to the list's name.
using MajorDeductionNames = std::array<std::vector<std::string>, 3>;

class CSegment {
 public:
  // `kind` is the segment kind letter (a blank when none); `numPar` the
  // number of participants of the category when the segment was built.
  CSegment(std::uint32_t recNo, int id, char kind, int numPar);
  CSegment(const CSegment&) = delete;
  CSegment& operator=(const CSegment&) = delete;

  // ---- Identity and structure (segment.cc) ---------------------------------
  int id() const { return id_; }
  std::uint32_t recNo() const { return record_.recNo(); }
  const std::string& idText() const { return idText_; }
  bool isComplete() const { return complete_; }
  const NodeRecord& record() const { return record_; }
  char kind() const { return kind_; }
  int numPar() const { return numPar_; }
  int slot() const { return slot_; }  // 0-5, -1 when no slot names it
  bool isFirst() const { return first_; }
  bool isLast() const { return last_; }
  int stage() const { return stage_; }
  int timRecNo() const { return timRecNo_; }  // -1 when none
  const std::vector<std::uint32_t>& ttmRecNos() const { return ttmRecNos_; }
  const std::map<int, std::unique_ptr<CPerformance>>& performances() const { return prfs_; }
  const std::map<int, int>& parPrfIds() const { return parPrf_; }

  // Performances in ascending PRF_ID.
  CPerformance* getPrfPtr(int prfId) const;     // "Invalid PRF_ID: "
  CPerformance* getParPrfPtr(int parId) const;  // "Invalid PAR_ID: ", "Invalid PRF_ID: "

  // ---- Status and results (segment_status.cc) ------------------------------
  bool getType(char* letter) const;   // SCP_TYPE
  bool getGroup(char* letter) const;  // SCP_GROUP
  bool getSName(std::string* name) const;
  bool getName(std::string* name) const;
  bool getTvName(std::string* name) const;
  bool hasStartOrder(bool* has) const;
  bool hasStarted(bool* started) const;
  bool isFinished(bool* finished) const;
  bool calcStage();
  bool sortResults(SegmentResults* results) const;
  bool getHtmlName(bool useTvName, std::string* name) const;
  // kind 1: "SEGM000", -1: "SEGSO000", other: "SEG000"; an upper-case prefix
  // letter and "-" in front.  Identifiers of more than three digits keep the
  // pattern's letters and put all their digits after them.
  bool getOutFileBaseName(int kind, char prefix, std::string* name) const;

  // ---- Panel, deductions, components (segment_panel.cc) --------------------
  bool getOffIds(char categoryType, int mask, int flag, PanelList* panel) const;
  bool getOffNames(char categoryType, int mask, const std::string& nameField, bool localFlag,
                   int flag, PanelList* panel) const;
  bool getNumJdg(int* count) const;
  bool getValidDedIndexes(DeductionFactors* factors) const;
  bool getMajDedIndexes(int* first, int* second, int* third) const;
  bool getMajDedNames(int first, int second, int third, MajorDeductionNames* names) const;
  bool getDedNames(const DeductionFactors& factors, std::vector<std::string>* names) const;
  bool getDedScores(const DeductionFactors& factors, const CPerformance& performance,
                    std::vector<float>* points) const;
  bool getDedTotal(const DeductionFactors& factors, const CPerformance& performance,
                   float* total) const;
  bool getGenCompFactor(int* factor) const;
  bool getValidCompIndexes(bool useGeneralFactor, ComponentFactors* factors) const;
  // Names and short names at positions 0-9; empty where the factor is 0.
  bool getCompNames(const ComponentFactors& factors, std::vector<std::string>* names,
                    std::vector<std::string>* shortNames) const;

  // ---- Start order, time, texts (segment_start.cc) -------------------------
  bool getWarmupGroups(std::vector<int>* sizes) const;
  bool getStartList(std::vector<int>* prfIds) const;
  bool getStartOrder(const std::vector<int>& parIds, std::vector<int>* startNos) const;
  bool getStartOrderMap(bool withWithdrawn, PerformanceMap* order) const;
  bool getNumSk(int* count) const;
  // PRF_STNUM of the participant's performance, 0 when it has none.
  bool getParPrfStNum(int parId, int* startNo) const;
  bool getTime(int rtnType, std::string* kind, std::string* time, std::string* time2) const;
  bool getStartDateTime(std::string* date, std::string* begin, std::string* begin2,
                        int* laterGroup) const;
  bool getDanceName(std::string* name) const;
  bool getDanceCode(std::string* code) const;
  bool getComment(int selection, std::string* text) const;
  bool getVenueIndex(int* index) const;
  bool getMusic(int prfId, std::string* music) const;
  bool getVRuleId(int* id) const;
  bool getPelData(int prfId, int flag, std::vector<std::string>* codes,
                  std::vector<std::string>* second) const;

  // ---- Fields and bulk updates (segment.cc) --------------------------------
  bool getFieldData(std::vector<std::string>* fields, std::vector<std::string>* values) const;
  bool setFieldData(const std::vector<std::string>& fields,
                    const std::vector<std::string>& values) const;
  bool updateCatId(int catId) const;
  // The nation fields SCP_JNATnn of the panel slots holding `pctId` (any
  // non-zero slot when `pctId` is 0 or less).  The panel tables JPS and PJS
  // are refreshed by the tree in one pass for all segments.
  bool updateNatCodes(int pctId, const std::string& code) const;

  // ---- Building (event_tree_build.cc) --------------------------------------
  bool addPerformance(std::unique_ptr<CPerformance> performance, int parId);
  void setTiming(int timRecNo, std::vector<std::uint32_t> ttmRecNos);
  void setSlot(int slot) { slot_ = slot; }
  void setFirst() { first_ = true; }
  void setLast() { last_ = true; }
  void markComplete() { complete_ = true; }

 private:
  NodeRecord record_;
  int id_;
  std::string idText_;
  char kind_;
  int numPar_;
  int slot_ = -1;
  bool first_ = false;
  bool last_ = false;
  bool complete_ = false;
  int stage_ = 0;
  int timRecNo_ = -1;
  std::vector<std::uint32_t> ttmRecNos_;
  std::map<int, std::unique_ptr<CPerformance>> prfs_;
  std::map<int, int> parPrf_;
};

// The kind letter of a segment from the category type letter and the first
// character of SCP_TYPE (a blank when the pair names no kind).
char segmentKindLetter(char categoryType, char segmentType);

// A numbered node file name: the identifier replaces as many characters at
// the end of `pattern`; longer than the run of zeros, the pattern's letters
// stay and all the digits follow them.
std::string outFileName(const std::string& pattern, const std::string& idText);

}  // namespace tav

#endif  // TAVC_EVENT_SEGMENT_H_
