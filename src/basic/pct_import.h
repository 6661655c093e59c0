// The person import: officials, competitors, couples, teams and clubs from a
// text file into the register (PCT), one entry per line.
//
// `importPct` reads the whole file and checks every line (`verifyPCT`); when
// any line is invalid it stops there and writes nothing.  Couple files are
// shown to the application as pairs of consecutive lines for confirmation.
// With erase-first the existing entries of the kind are then removed;
// finally every entry is added, or matched with the record it duplicates
// (`addPCT`).  Three lists tell the application what happened: imported
// entries, duplicates and invalid lines with their reasons.  They are kept
// until the next import.
//
// The import's state is its own object beside the register, reached through
// `pctImport()`; its operations carry the register's trace names
// ("CBasic.importPct", ...), as the application knows them.
//
// Choices made here, where the file format leaves room:
//  - A club name (the second field, or a club file's line) is looked up
//    among the register's clubs as written, and when that finds none, as
//    cleaned with bits 1, 2, 4 and 8 of clbNameConvBits (the club-name
//    cleaner's conversions); ST and ST. find each other.  A club that is
//    not in the register is added once, with its cleaned name, as the first
//    line naming it, and listed as imported.  The entry's PCT_CLBID is that
//    club's identifier; of several clubs with the name, the first.
//  - Bit 16 of clbNameConvBits: the printed long name of a new couple
//    (PCT_PLNAME) carries each partner's club (the add-club flag of the
//    couple name).
//  - Duplicates: an entry is a duplicate of the register entry of its kind
//    with the same given and family name (teams: the same name; clubs: the
//    same cleaned name), upper and lower case alike; several such entries
//    are told apart by the registration number when the line has one.  With
//    no entry of that name, an entry with the line's registration number is
//    the duplicate.  With dupIncClub only register entries of the line's
//    club count.  Two lines of one file naming the same entry add it once;
//    the later ones are duplicates of the first.
//  - A duplicate is updated when updDupBits is not 0, with the registration
//    number, nation and gender that its line actually gave (never with a
//    default, never blanking a value); PCT_PLNAME and PCT_RESCIT are not
//    given by an import line and stay as they are.
//  - Couples: the application answers dispCouplePairings with a flat list
//    of entry positions (counted from 0), two per couple.  Only the entries
//    named in a confirmed pair are imported; each partner is a competitor
//    (added or matched), then the couple.  A couple record carries partner
//    1's given and family name fields, partner 2's as PCT_PGNAME and
//    PCT_PFNAMC, the couple name from both (each field fitted to its
//    width), PCT_CSNAM of both family names, the partners' identifiers,
//    clubs and partner 1's nation.  A couple of two matched partners that
//    the register already holds is a duplicate.
//  - New identifiers continue after the largest PCT_ID the database holds
//    or refers to (deleted and erased records, participants, panels,
//    planned elements), and never go back within a session: erase-first
//    must not hand out identifiers that the events still use.
//  - Each imported or duplicate item is the list of the entry's name as
//    written, club name, registration number, gender, nation, PCT_ID and
//    PCT_COMENT; an invalid item is the line (comment cut, blanks cleaned)
//    followed by its reason.
#ifndef TAVC_BASIC_PCT_IMPORT_H_
#define TAVC_BASIC_PCT_IMPORT_H_

#include <functional>
#include <string>
#include <string_view>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "basic/pct_import_file.h"
#include "basic/pct_import_line.h"

namespace tav {

class CDbf;

struct PctImportOptions {
  int kind = 0;
  std::string file;
  bool capFName = false;
  std::string defGender;
  std::string defNation;
  int clbNameConvBits = 0;
  bool addPFN = false;
  bool addSN1 = false;
  int updDupBits = 0;
  bool dupIncClub = false;
  bool eraseFirst = false;
  // UTF-8 text (a UTF-8 file, the file name) to the database's code page.
  FromUtf8 fromUtf8;
};

// What the application answered to the couple pairing.
struct PairingAnswer {
  bool cancelled = false;
  bool wellFormed = true;  // the answer is a proper list
  std::string text;        // the answer as given
  std::vector<std::string> elements;
};

// The application's confirmation of how couple lines pair: shows one item
// per pair ("first / second", "last /" for an unpaired last entry) and the
// number of entries.  False (fatal, message kept) when it cannot be asked.
using CouplePairing =
    std::function<bool(const std::vector<std::string>& items, int entries, PairingAnswer*)>;

class PctImport {
 public:
  // Runs an import.  -2 fatal failure, -1 stopped on a tested condition
  // (message kept), 0 couple pairing cancelled, 1 otherwise (also after a
  // stop on invalid lines).
  int importPct(const PctImportOptions& options, const CouplePairing& pairing);

  // Checks one line (comment already cut): negative to stop, 0 skipped or
  // invalid, 1 a kept entry.
  int verifyPCT(int kind, const std::string& line);

  // The kept lists: each item is a list of texts; invalid items are texts.
  const std::vector<std::vector<std::string>>& imported() const { return imported_; }
  const std::vector<std::vector<std::string>>& duplicates() const { return duplicates_; }
  const std::vector<std::string>& invalid() const { return invalid_; }

  // Forgets the identifiers handed out (a new database).
  void forgetIdentifiers() { highestId_ = 0; }

 private:
  struct Pair {
    std::size_t first = 0, second = 0;
    std::string text;  // "first / second", for messages
    int coupleId = 0;  // the register's couple of the two, when it has one
  };

  using Fields = std::map<std::string, std::string>;

  // Reading and checking (pct_import.cc).
  bool prepareRegister();
  int checkDuplicate(PctImportEntry* e);
  std::string cleanedClub(const std::string& name) const;
  bool findClubs(const std::string& clubName, std::vector<int>* recNos);
  int clubIdOf(const std::string& clubName);
  std::string commentFor(int lineNo) const;
  int confirmPairs(const CouplePairing& pairing);
  int findCouple(Pair* pair);
  // Adding (pct_import_add.cc).
  void raiseHighestId();
  bool eraseKind();
  int addEntries();
  int addPCT(int kind, std::size_t index);
  int addCouple(const Pair& pair);
  int addClub(const std::string& name, const std::string& nation, const std::string& comment);
  bool resolveClub(PctImportEntry* e);
  bool updateDuplicate(int kind, const PctImportEntry& e);
  bool writeRecord(int kind, const Fields& fields, int* id);
  bool partnerNames(int id, Fields* names);
  int recNoOf(int id);
  std::string storedName(int id);
  void listEntry(const PctImportEntry& e, bool duplicate);
  std::string inFileKey(int kind, const PctImportEntry& e) const;

  PctImportOptions options_;
  int linesRead_ = 0;
  int lineNo_ = 0;
  std::vector<PctImportEntry> entries_;
  std::vector<std::string> entryLines_;  // each entry's checked line
  std::vector<Pair> pairs_;
  std::vector<std::vector<std::string>> imported_;
  std::vector<std::vector<std::string>> duplicates_;
  std::vector<std::string> invalid_;
  // Run state of the adding.
  CDbf* pct_ = nullptr;
  int idField_ = -1, clubField_ = -1, regNoField_ = -1;
  int commentWidth_ = 0;
  int highestId_ = 0;  // never decreases until the database is closed
  int rebuildMask_ = 0;
  std::unordered_set<std::string> nations_;          // upper NAT_OMF codes
  std::unordered_map<std::string, int> addedClubs_;  // club key -> PCT_ID
  std::unordered_map<std::string, int> addedInFile_; // entry key -> PCT_ID
  std::unordered_map<int, int> addedRecNos_;         // PCT_ID -> record number
};

// The import of the library; forgets its identifiers when the session
// closes its tables.
PctImport& pctImport();

}  // namespace tav

#endif  // TAVC_BASIC_PCT_IMPORT_H_
