// CBasic is the register of the competition's basic data: the persons,
// couples, teams and clubs of table PCT, their planned elements (PEL), the
// nations (NAT), the elements with their details and difficulty groups (ELM,
// ELL, DGR) and the verification rules (WBG).
//
// It holds indexes only - record numbers and identifiers - never copies of
// records: every name, club or nation it answers is read from the table at
// the moment of the question, so edits made through any command are seen at
// once.  Which records exist and where they belong is fixed by `populate`;
// after adding or renaming persons the caller repopulates the affected kinds.
//
// One process-wide register is reached through `basic()`; it empties itself
// whenever the session discards its tables.  Every operation returns success
// or failure and records the reason in the failure record (trace names
// "CBasic." + operation).  Identifier 0 means "none" throughout.
#ifndef TAVC_BASIC_BASIC_H_
#define TAVC_BASIC_BASIC_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "basic/abbreviations.h"

namespace tav {

class CaseFold;
class CDbf;
class IdList;

// Register kinds: the bit values of the "type" argument of the register's
// operations and commands.  A populate or close mask of 0 means all kinds.
enum BasicKind : int {
  kOfficials = 1,
  kCompetitors = 2,
  kCouples = 4,
  kTeams = 8,
  kClubs = 16,
  kPlannedElements = 32,
  kNations = 64,
  kElements = 128,
  kVerificationRules = 256,
};
constexpr int kPctKinds = kOfficials | kCompetitors | kCouples | kTeams | kClubs;

// Club-name conversion bits of the club-name cleaner.
enum ClubNameConversion : int {
  kClubDropThe = 1,         // a leading word THE
  kClubDropInc = 2,         // a trailing incorporation suffix
  kClubShortenFsc = 4,      // FIGURE SKATING CLUB -> FSC
  kClubShortenSc = 8,       // SKATING CLUB -> SC
  kClubAllConversions = 15,
};

// A record as a field map: PCT field name -> text, plus the keys "gfNameC"
// (composite given-and-family name) and "clubName" (the record's club name).
using FieldMap = std::map<std::string, std::string>;

// Widths of the derived name fields, taken from the PCT descriptors when the
// register is populated.
struct NameWidths {
  int cname = 0, plname = 0, psname = 0, tlname = 0, tsname = 0;
  int s1name = 0, s2name = 0, s3name = 0, s4name = 0;
};

class CBasic {
 public:
  CBasic();
  ~CBasic();
  CBasic(const CBasic&) = delete;
  CBasic& operator=(const CBasic&) = delete;

  // ---- Building (basic.cc) -------------------------------------------------
  // Builds the kinds of `mask` (0: all) from the open tables; `recNo` -1
  // rebuilds them from scratch, a PCT record number re-enters that record
  // only (after removing what it held before).
  bool populate(int mask, int recNo);
  // Empties the kinds of `mask`; 0 empties everything and drops the table
  // reference.  Always true.
  bool close(int mask);
  // Forgets the identifiers handed out: the database was closed.  Run by
  // the register's close listener after `close(0)`.
  void endSession();
  // True once PCT kinds were populated (the table reference and the field
  // widths are known).
  bool isPopulated() const { return pct_ != nullptr; }
  // The next free identifiers (largest seen + 1).  The next PCT_ID counts
  // deleted PCT records too and never goes back until `endSession`: a
  // rebuild after entries were erased does not hand their identifiers out
  // again.  Before the first PCT record is added after a rebuild, it is
  // also raised above every register identifier the open tables refer to
  // (participants, panels, planned elements, team members, ...).
  int nextPctId() const { return nextPctId_; }
  int nextPelId() const { return nextPelId_; }
  int nextElmId() const { return nextElmId_; }
  const NameWidths& widths() const { return widths_; }

  // ---- Identifier queries (basic_queries.cc) -----------------------------
  bool isValidPctId(int id) const;
  bool isValidWbgId(int wbgId) const;
  bool getPctIdRecNo(int id, int* recNo);
  bool getPctIdType(int id, std::string* type);
  bool isPctIdCouple(int id, bool* couple);
  bool getPctIdRegNo(int id, std::string* regNo);
  bool getPctIdRegNos(int id, std::string* regNo1, std::string* regNo2);
  // PCT_CNAME, or "PCT_" + suffix when a suffix is given ("INAME").
  bool getPctIdName(int id, std::string* name, const std::string& suffix = std::string());
  bool getPctIdNameLoc(int id, std::string* name);
  bool getPctIdNation(int id, std::string* nation);
  bool getPctIdSpMusic(int id, std::string* title);
  bool getPctIdFsMusic(int id, std::string* title);
  bool getPctIdClubIds(int id, int* club, int* partnerClub);
  bool getPctIdNameClub(int id, std::string* name, std::string* club);
  bool getPctIdNamesClubs(int id, std::string* name, std::string* name1, std::string* club1,
                          std::string* name2, std::string* club2);

  // ---- Ordered lists (basic_lists.cc) -------------------------------------
  bool getPctNames(int type, std::vector<std::string>* names);
  // Number of entries of a PCT kind's list (0 for any other type).
  int getPctListSize(int type) const;
  bool getPctListId(int type, int index, int* id);
  bool getPctListRecNo(int type, int index, int* recNo);
  bool getPctListClubIdxs(int type, int index, std::string* club1, std::string* club2);
  bool getCoupleListId(int id1, int id2, std::vector<int>* couples);
  bool getNatNames(std::vector<std::string>* names);
  bool getNatListOmf(int index, std::string* code);

  // ---- Finds (basic_finds.cc) ----------------------------------------------
  bool findByRegNo(int type, int regNo, std::vector<int>* recNos);
  bool findByName(int type, const std::string& name, std::vector<int>* recNos);
  bool findByName(int type, const std::string& givenName, const std::string& familyName,
                  std::vector<int>* recNos);
  bool duplicatePCT(int type, std::vector<std::string>* names);

  // ---- Planned elements and elements (basic_elements.cc) ------------------
  bool getPctIdPelRecNo(int id, int* recNo);
  // Program 0 (both, program 1 first), 1 or 2; `selection` picks the
  // PEL_?NLE fields, else PEL_?NAE.  `second` gets the PEL_?TRA values on
  // databases of version 11063 and later.
  bool getPctPelData(int id, int program, bool selection, std::vector<std::string>* first,
                     std::vector<std::string>* second);
  bool getElmIdRecNo(int elmId, int* recNo);
  // `key` is a segment kind letter, "+" and an element code (S+3Lz).
  bool getElmFullName(const std::string& key, std::string* name);
  bool getElmNameType(const std::string& key, std::string* type, std::string* nameWl);
  bool getElmShortName(const std::string& code, std::string* name);

  // ---- Field read and write (basic_fields.cc) -----------------------------
  // With `names` empty, fills it with every field name (ascending) and
  // `values` with their values; otherwise the values of `names` in order.
  bool getFieldData(int id, std::vector<std::string>* names, std::vector<std::string>* values);
  // Writes the fields whose value changes; a person's new club goes to the
  // couples it belongs to.  Refuses identifiers below 1.  `changed`, when
  // given, receives the names of the fields that changed.
  bool setFieldData(int id, const std::vector<std::string>& names,
                    const std::vector<std::string>& values,
                    std::vector<std::string>* changed = nullptr);
  // Updates the record of `id` (PCT, PEL by owner's PCT_ID, ELM) when it
  // exists, else adds one with the next free identifier; `recNo` receives
  // the record number.
  bool updateAddRec(const std::string& handle, int* recNo,
                    const std::vector<std::string>& assignments, int id);
  bool updateOffScoreboardName1();
  // PCT_NAT = code for the register entry `id` (every entry when 0).  The
  // event tables are not touched here; the command layer carries the code
  // into the event tree as well.
  bool updateNatCodes(int id, const std::string& code);

  // ---- Name calculation and club names (basic_names.cc, club_name.cc) ----
  bool loadAbbreviations(const std::string& directory);
  const Abbreviations& abbreviations() const { return abbreviations_; }
  Abbreviations& abbreviations() { return abbreviations_; }
  bool calcNames(int type, FieldMap* fields);
  bool setCapFNameFlag(bool flag) { capFName_ = flag; return true; }
  bool setAddPfnFlag(bool flag) { addPfn_ = flag; return true; }
  bool setAddSn1Flag(bool flag) { addSn1_ = flag; return true; }
  void setClubNameConvBits(int bits) { clubConvBits_ = bits; }
  int clubNameConvBits() const { return clubConvBits_; }
  bool cleanClubName(std::string* name) const;
  bool cleanAllClubNames();
  bool initPCT(int type, FieldMap* fields);
  std::string combineNames(const FieldMap& partner1, const FieldMap& partner2, bool addClub,
                           int maxLength, bool familyOnly) const;

 private:
  friend class BasicTestAccess;
  struct Impl;

  bool requirePct();
  CDbf* pctTable();
  bool populatePct(int mask, int recNo);
  bool populatePel();
  bool populateNat();
  bool populateElm();
  bool populateWbg();
  bool enterElementDetail(int elmId, const std::string& detail, int groupField);
  void forgetPctRecord(int recNo);
  void rebuildClubPositions();
  void raiseNextPctIdOverReferences();
  bool readRecord(int recNo, std::vector<std::string>* names, std::vector<std::string>* values);
  bool writeChanged(int recNo, const std::vector<std::string>& names,
                    const std::vector<std::string>& values, std::vector<std::string>* changed);
  bool carryClubToCouples(int personId, const std::string& club);
  void calcTeamNames(FieldMap* fields) const;
  bool appendRecNo(int id, std::vector<int>* recNos);
  bool appendIdList(const IdList* ids, std::vector<int>* recNos);
  bool appendRecNos(const std::vector<int>& ids, std::vector<int>* recNos);
  const CaseFold& pctFold() const;
  bool readPctField(int id, const char* field, std::string* text, bool notFoundText);

  CDbf* pct_ = nullptr;  // not owned: the session's PCT table
  std::unique_ptr<Impl> impl_;
  NameWidths widths_;
  Abbreviations abbreviations_;
  int nextPctId_ = 1;
  bool referencesCounted_ = false;  // nextPctId_ above the tables' references
  int nextPelId_ = 1;
  int nextElmId_ = 1;
  bool capFName_ = false;
  bool addPfn_ = false;
  bool addSn1_ = false;
  int clubConvBits_ = 0;
};

// A registration number as the registration index keys it: the whole text is
// a base-10 integer (optional sign) within int range.  00123 is 123; 12A and
// an empty text are none.
bool parseRegNo(std::string_view text, int* value);

// The register of the library, emptied whenever the session discards its
// tables.
CBasic& basic();

}  // namespace tav

#endif  // TAVC_BASIC_BASIC_H_
