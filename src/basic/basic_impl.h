// The indexes behind CBasic, shared by the files that implement it.  Not
// part of the register's interface.
#ifndef TAVC_BASIC_BASIC_IMPL_H_
#define TAVC_BASIC_BASIC_IMPL_H_

#include <array>
#include <climits>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "basic/basic.h"
#include "basic/pct_kind.h"

namespace tav {

class CDbf;

// Field indexes of PCT read by the register, looked up once per populate.
struct PctFieldIndexes {
  int id = -1, type = -1, afunct = -1, cname = -1, gname = -1, fname = -1, sname = -1;
  int regno = -1, pctid = -1, ppctid = -1;
};

constexpr int kNoPctId = INT_MIN;

struct NatEntry {
  std::string sortKey;
  int recNo = 0;
};

struct CBasic::Impl {
  // PCT
  std::unordered_map<int, int> pctIds;    // PCT_ID -> record number
  std::vector<int> idOfRecNo;             // record number -> PCT_ID, kNoPctId when none
  std::array<PctKind, 5> kinds{PctKind(1), PctKind(2), PctKind(4), PctKind(8), PctKind(16)};
  std::unordered_map<int, int> clubPositions;  // club PCT_ID -> list position
  PctFieldIndexes fields;
  // PEL
  CDbf* pel = nullptr;
  std::unordered_map<int, int> pelIds;    // PEL_ID -> record number
  std::unordered_map<int, int> pelOfPct;  // PCT_ID -> PEL_ID
  // NAT
  CDbf* nat = nullptr;
  std::vector<NatEntry> nations;          // by NAT_SORT, then record order
  std::unordered_map<std::string, int> natCodes;  // upper NAT_OMF -> record number
  // ELM, ELL, DGR
  CDbf* elm = nullptr;
  CDbf* dgr = nullptr;
  std::unordered_map<int, int> elmIds;               // ELM_ID -> record number
  std::multimap<std::string, int> elmKeys;           // G+CODE -> record number
  std::multimap<std::string, int> elmDetails;        // G+PART+PART -> record number
  std::map<std::string, int> groups;                 // upper DGR_NAME -> record number
  // WBG
  std::unordered_set<int> wbgIds;

  // The kind of a type bit 1..16, or nullptr.
  PctKind* kind(int type);
};

// The kind bit of a PCT record's type and function; 0 when it fits none.
int pctKindOf(std::string_view type, std::string_view function);

// Integer value of a field text by the shared decimal rule, clipped to int.
int intValue(std::string_view text);

// The text of field `field` of record `recNo`, or false with a message when
// the table is missing, the record is not held or the field is unknown.
bool readText(CDbf* table, int recNo, int field, std::string* text);

// The index of a named field, or -1 with the table's message.
int fieldIndexOf(CDbf* table, const std::string& name);

}  // namespace tav

#endif  // TAVC_BASIC_BASIC_IMPL_H_
