// The check of one line of a person import file (the line check of
// CBasic.verifyPCT without the register search).
//
// A line, once its comment (from the first "#") is cut, is cleaned: every
// run of blanks becomes one blank.  A line of nothing but blanks and tabs is
// skipped.  Clubs (kind 16) take the whole cleaned line as the club name
// (tabs read as blanks).  Every other kind splits the line at tabs into
// fields, each trimmed of blanks:
//   1. the name: teams use it whole; persons split it into words, the family
//      name being the last word, or the last two when the last is a suffix
//      (JR, SR, I, II, III, IV, with or without a point, any case), and
//      taking a "ST" or "ST." before it too; the words before are the given
//      name.  The family name never starts before the first word, so a name
//      that is only a suffix lacks its given name;
//   2. the club name (may be empty); a nation code is refused, digits stop
//      the import (the file is of another kind);
//   3. further fields, each classified: digits are the registration number
//      (at most 10), MALE or FEMALE (any case) the gender, a nation code
//      known to the register the nation.  Empty fields are passed over
//      (spreadsheets export empty cells as adjacent tabs).
// An invalid line carries its reason, " - " and the message, exactly as the
// application shows it after the line.
#ifndef TAVC_BASIC_PCT_IMPORT_LINE_H_
#define TAVC_BASIC_PCT_IMPORT_LINE_H_

#include <functional>
#include <string>
#include <string_view>

namespace tav {

// Register kinds that can be imported.
constexpr int kImportOfficials = 1;
constexpr int kImportCompetitors = 2;
constexpr int kImportCouples = 4;
constexpr int kImportTeams = 8;
constexpr int kImportClubs = 16;

// One pending entry of an import: what the line gives, completed by the
// import run (club identifier, matched or added identifier, comment).
struct PctImportEntry {
  std::string gfName;      // the name as written
  std::string gfNameC;     // teams: the name as written; persons: derived
  std::string gName;       // PCT_GNAME
  std::string fName;       // PCT_FNAME
  std::string clubName;
  std::string clubId = "0";  // PCT_CLBID
  std::string residence;     // PCT_RESCIT
  std::string regNo;         // PCT_REGNO
  std::string gender;        // PCT_GENDER
  std::string nation;        // PCT_NAT
  std::string pctId;         // PCT_PCTID: the identifier added or matched
  std::string comment;       // PCT_COMENT
  // What the line supplied (a duplicate's update writes only these).
  bool hasRegNo = false, hasGender = false, hasNation = false;
  bool duplicate = false;  // matched an existing record
};

enum class LineVerdict {
  kSkipped,  // blank or comment only
  kInvalid,  // `reason` says why
  kValid,    // `entry` is filled
  kStop,     // the file is of another kind; `reason` is the message
};

struct LineCheck {
  LineVerdict verdict = LineVerdict::kSkipped;
  std::string text;    // the line as checked: comment cut, blanks cleaned
  std::string reason;  // " - ..." for an invalid line
  PctImportEntry entry;
};

struct ImportLineRules {
  int kind = kImportCompetitors;
  std::string defGender;  // the first character is the default gender
  std::string defNation;  // default nation code
  // True when the upper-case code is a nation known to the register.
  std::function<bool(std::string_view)> isNation;
};

// The line without its comment: everything before the first "#".
std::string_view cutComment(std::string_view line);

// Checks one line (comment already cut or not: it is cut here too).
LineCheck checkImportLine(const ImportLineRules& rules, std::string_view line);

}  // namespace tav

#endif  // TAVC_BASIC_PCT_IMPORT_LINE_H_
