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

#include <cstddef>
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

// The identifiers under one index key, in record order.  Most keys hold
// one identifier, kept inline; only further ones take a vector.
class IdList {
 public:
  void push_back(int id);
  bool erase(int id);  // true when the list became empty
  std::size_t size() const { return count_; }
  int first() const { return first_; }          // when size() > 0
  const std::vector<int>& more() const { return more_; }
  void appendTo(std::vector<int>* ids) const;

 private:
  std::size_t count_ = 0;
  int first_ = 0;
  std::vector<int> more_;
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
  void add(int recNo, PctKeys keys);
  // Takes record `recNo` out again, if it was entered.
  void remove(int recNo);
  bool contains(int recNo) const { return entered_.count(recNo) != 0; }

  int bit() const { return bit_; }
  const std::vector<PctListEntry>& list() const { return list_; }
  // Identifiers under a key, in record order (nullptr when none).
  const IdList* byName(const std::string& key) const { return find(names_, key); }
  const IdList* byGivenFamily(const std::string& key) const { return find(givenFamily_, key); }
  const IdList* byRegNo(int regNo) const { return find(regNos_, regNo); }
  // Upper-cased names entered more than once, ascending.
  std::vector<std::string> duplicateNames() const;
  const std::multimap<int, int>& firstPartners() const { return firstPartners_; }
  const std::multimap<int, int>& secondPartners() const { return secondPartners_; }

  // Between these two, `add` appends and the list is sorted once at the end
  // (a whole kind is built; the kind must be empty at the start).
  void beginBulk(std::size_t expected);
  void endBulk();

 private:
  template <typename Map, typename Key>
  static const IdList* find(const Map& index, const Key& key) {
    auto found = index.find(key);
    return found == index.end() ? nullptr : &found->second;
  }
  bool usesGivenFamily() const;
  bool usesRegNo() const;
  bool isCouple() const;

  int bit_;
  bool bulk_ = false;
  std::vector<PctListEntry> list_;
  // Hashed: a find costs a hash and a probe or two, not a walk down a tree.
  std::unordered_map<std::string, IdList> names_;
  std::unordered_map<std::string, IdList> givenFamily_;
  std::unordered_map<int, IdList> regNos_;
  std::multimap<int, int> firstPartners_;
  std::multimap<int, int> secondPartners_;
  // What a record was entered under; the key texts are those of the index
  // entries (their addresses do not change while the entries exist).
  struct Entered {
    int id = 0;
    const std::string* nameKey = nullptr;
    const std::string* givenFamily = nullptr;
    bool hasRegNo = false;
    int regNo = 0;
    int partner1 = 0;
    int partner2 = 0;
  };
  std::unordered_map<int, Entered> entered_;  // record number -> keys
};

}  // namespace tav

#endif  // TAVC_BASIC_PCT_KIND_H_
