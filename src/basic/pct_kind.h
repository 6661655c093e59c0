// PctKind holds the list and the indexes of one kind of register entry
// (officials, competitors, couples, teams or clubs).
//
// The list orders the entries by sort name (byte-wise), equal sort names in
// record order; positions in it are the "index" arguments of the register's
// list operations.  The name index maps the upper-cased composite name to
// identifiers, the given-and-family index the upper-cased given name, a
// blank and the upper-cased family name, the registration index the integer
// registration number; couples also map each partner to the couple.  Every
// record entered is remembered with its keys, so that a record can be taken
// out again exactly when it is repopulated alone.
#ifndef TAVC_BASIC_PCT_KIND_H_
#define TAVC_BASIC_PCT_KIND_H_

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace tav {

// The keys one PCT record is entered under.
struct PctKeys {
  int id = 0;
  std::string sortName;      // PCT_SNAME as stored
  std::string nameKey;       // upper-cased PCT_CNAME
  std::string givenFamily;   // upper GNAME + " " + upper FNAME (persons)
  bool hasRegNo = false;
  int regNo = 0;
  int partner1 = 0;          // PCT_PCTID of a couple
  int partner2 = 0;          // PCT_PPCTID of a couple
};

struct PctListEntry {
  std::string sortName;
  int recNo = 0;
  int id = 0;
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
  bool contains(int recNo) const { return entered_.count(recNo) != 0; }

  int bit() const { return bit_; }
  const std::vector<PctListEntry>& list() const { return list_; }
  const std::multimap<std::string, int>& names() const { return names_; }
  const std::multimap<std::string, int>& givenFamily() const { return givenFamily_; }
  const std::multimap<int, int>& regNos() const { return regNos_; }
  const std::multimap<int, int>& firstPartners() const { return firstPartners_; }
  const std::multimap<int, int>& secondPartners() const { return secondPartners_; }

  // Between these two, `add` appends and the list is sorted once at the end
  // (a whole kind is built; the kind must be empty at the start).
  void beginBulk() { bulk_ = true; }
  void endBulk();

 private:
  bool usesGivenFamily() const;
  bool usesRegNo() const;
  bool isCouple() const;

  int bit_;
  bool bulk_ = false;
  std::vector<PctListEntry> list_;
  std::multimap<std::string, int> names_;
  std::multimap<std::string, int> givenFamily_;
  std::multimap<int, int> regNos_;
  std::multimap<int, int> firstPartners_;
  std::multimap<int, int> secondPartners_;
  std::unordered_map<int, PctKeys> entered_;  // record number -> keys
};

}  // namespace tav

#endif  // TAVC_BASIC_PCT_KIND_H_
