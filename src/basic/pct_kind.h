// PctKind holds the list and the indexes of one kind of register entry
// (officials, competitors, couples, teams or clubs).
//
// The list orders the entries by sort name (byte-wise), equal sort names in
// record order; positions in it are the "index" arguments of the register's
// list operations.  The name index maps the upper-cased composite name to
// identifiers, the given-and-family index the upper-cased given name, a
// blank and the upper-cased family name (upper case by the code page's
// letters, CaseFold), the registration index the integer
// registration number; couples also map each partner to the couple.  Every
// record entered is remembered with its keys, so that a record can be taken
// out again exactly when it is repopulated alone.
#ifndef TAVC_BASIC_PCT_KIND_H_
#define TAVC_BASIC_PCT_KIND_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "basic/flat_index.h"
#include "dbf/case_fold.h"

namespace tav {

// The keys one PCT record is entered under: views of the record's field
// texts as stored (trimmed); the kind keeps its own upper-cased copies.
struct PctKeys {
  int id = 0;
  const CaseFold* fold = nullptr;  // the table's letters; a to z when null
  std::string_view sortName;  // PCT_SNAME
  std::string_view name;      // PCT_CNAME
  std::string_view given;     // PCT_GNAME (persons)
  std::string_view family;    // PCT_FNAME (persons)
  bool hasRegNo = false;
  int regNo = 0;
  int partner1 = 0;           // PCT_PCTID of a couple
  int partner2 = 0;           // PCT_PPCTID of a couple
};

struct PctListEntry {
  std::string_view sortName;  // in the kind's key arena
  int recNo = 0;
  int id = 0;
  std::uint64_t prefix = 0;   // the first 8 bytes of sortName, big-endian, for sorting
};

class PctKind {
 public:
  explicit PctKind(int bit = 0) : bit_(bit) {}

  void clear();
  // Enters record `recNo` under `keys` (replacing what it held before).
  // Officials and competitors enter the given-and-family index, every kind
  // but clubs the registration index, couples the partner indexes.
  void add(int recNo, const PctKeys& keys);
  // Takes record `recNo` out again, if it was entered.
  void remove(int recNo);
  bool contains(int recNo) const {
    return recNo >= 0 && static_cast<std::size_t>(recNo) < enteredAt_.size() &&
           enteredAt_[recNo] != 0;
  }

  int bit() const { return bit_; }
  const std::vector<PctListEntry>& list() const { return list_; }
  // Identifiers under a key, in record order (nullptr when none).
  const IdList* byName(std::string_view key) const { return names_.find(key); }
  const IdList* byGivenFamily(std::string_view key) const { return givenFamily_.find(key); }
  const IdList* byRegNo(int regNo) const { return regNos_.find(regNo); }
  // Upper-cased names entered more than once, ascending.
  std::vector<std::string> duplicateNames() const;
  const std::multimap<int, int>& firstPartners() const { return firstPartners_; }
  const std::multimap<int, int>& secondPartners() const { return secondPartners_; }

  // Between these two, `add` appends and the list is sorted once at the end
  // (a whole kind is built; the kind must be empty at the start).
  void beginBulk(std::size_t expected);
  void endBulk();

 private:
  bool usesGivenFamily() const;
  bool usesRegNo() const;
  bool isCouple() const;

  int bit_;
  bool bulk_ = false;
  std::vector<PctListEntry> list_;
  // Key texts (upper-cased names, sort names) live in the arena; the
  // indexes and the list refer to them.  A record taken out leaves its
  // texts behind until the kind is cleared.
  KeyArena arena_;
  FlatIndex<std::string_view, TextKeyHash> names_;
  FlatIndex<std::string_view, TextKeyHash> givenFamily_;
  FlatIndex<int, IntKeyHash> regNos_;
  // During a bulk build the index entries wait here and go in at its end.
  std::vector<FlatIndex<std::string_view, TextKeyHash>::Pending> pendingNames_;
  std::vector<FlatIndex<std::string_view, TextKeyHash>::Pending> pendingGivenFamily_;
  std::vector<FlatIndex<int, IntKeyHash>::Pending> pendingRegNos_;
  std::multimap<int, int> firstPartners_;
  std::multimap<int, int> secondPartners_;
  // What each record was entered under: `enteredAt_` maps a record number
  // to its position in `entered_` + 1 (0: not entered); a record taken out
  // leaves its old keys behind until the kind is cleared.
  struct Entered {
    bool hasRegNo = false;
    int id = 0;
    std::string_view nameKey;
    std::string_view givenFamily;  // persons only
    int regNo = 0;
    int partner1 = 0;
    int partner2 = 0;
  };
  std::vector<std::uint32_t> enteredAt_;
  std::vector<Entered> entered_;
};

}  // namespace tav

#endif  // TAVC_BASIC_PCT_KIND_H_
